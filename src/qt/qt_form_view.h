#pragma once

#include "forms/form_events.h"
#include "forms/form_table.h"
#include "forms/form_view.h"
#include "qt/qt_twips.h"

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenuBar;
class QPainter;
class QWidget;

// A form's controls and menu as Qt widgets and actions, built from its table. It forwards their
// events to the form's handlers and gives the handlers the texts and check marks.
class QtFormView final : public FormView
{
public:
    struct Window
    {
        QWidget* widget;
        std::function<void(FormId)> show;
        std::function<void()> close;  // must run Form_Unload first
    };

    QtFormView(const FormTable& table, Window window);

    // Creates every control under `client` (a frame's controls in the frame), named, placed
    // and in the table's tab order, and the menu in `bar` when there is one.
    void build(QWidget* client, const QtTwips& twips, FormEvents& events,
               QMenuBar* bar = nullptr);
    void paintLines(QPainter& painter, const QtTwips& twips) const;
    // Puts the focus on the first control in the tab order.
    void focusFirst() const;

    QWidget* control(ControlId id) const;
    QAction* item(MenuId id) const;
    const FormTable& table() const { return m_table; }

    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    void setCaption(std::u16string_view caption) override;
    void select(ControlId control, std::size_t start, std::size_t length) override;
    void setDescription(ControlId control, std::u16string_view description) override;
    void setRows(ControlId list, const std::vector<ListRow>& rows) override;
    std::optional<std::size_t> selectedRow(ControlId list) const override;
    void selectRow(ControlId list, std::size_t row) override;
    bool isChecked(MenuId item) const override;
    void setChecked(MenuId item, bool checked) override;
    void show(FormId form) override;
    void close() override;

private:
    void buildMenu(QMenuBar* bar, FormEvents& events);

    const FormTable& m_table;
    Window m_window;
    std::vector<QWidget*> m_controls;  // by ControlId; owned by their Qt parents
    std::vector<QAction*> m_menu;      // by MenuId
    std::vector<ControlId> m_tabOrder;
};
