#pragma once

#include "forms/form_events.h"
#include "forms/form_view.h"

#include <optional>
#include <string>
#include <vector>

// A window of texts and check marks, as the toolkits' views keep them, that raises the same
// events they do: Change when a text box's text changes, Form_Unload before it closes.
class FakeFormView final : public FormView
{
public:
    explicit FakeFormView(const FormTable& table)
        : table(table),
          texts(table.controls.size()),
          checks(table.menu.size()),
          descriptions(table.controls.size())
    {
        for (std::size_t i = 0; i < table.controls.size(); ++i)
            texts[i] = std::u16string(table.controls[i].caption);
    }

    const FormTable& table;
    FormEvents* events = nullptr;
    std::vector<std::u16string> texts;  // by control
    std::vector<bool> checks;           // by menu item
    std::u16string caption = std::u16string(table.caption);
    std::vector<std::u16string> descriptions;  // by control
    struct Selection
    {
        ControlId control;
        std::size_t start;
        std::size_t length;
        bool operator==(const Selection&) const = default;
    };
    std::optional<Selection> selection;  // with the focus
    std::vector<FormId> shown;  // in order
    int closes = 0;
    std::vector<ListRow> rows;  // of the form's one List
    std::optional<std::size_t> selectedListRow;

    // What a user's typing does.
    void type(ControlId control, std::u16string_view text) { setText(control, text); }

    std::u16string text(ControlId control) const override { return texts[index(control)]; }
    void setText(ControlId control, std::u16string_view text) override
    {
        std::u16string& slot = texts[index(control)];
        if (slot == text)
            return;
        slot = text;
        if (events != nullptr && table.control(control).kind == ControlKind::TextBox)
            events->change(control);
    }
    void setCaption(std::u16string_view text) override { caption = text; }
    void select(ControlId control, std::size_t start, std::size_t length) override
    {
        selection = Selection{control, start, length};
    }
    void setDescription(ControlId control, std::u16string_view text) override
    {
        descriptions[index(control)] = text;
    }
    void setRows(ControlId, const std::vector<ListRow>& newRows) override
    {
        rows = newRows;
        selectedListRow = rows.empty() ? std::nullopt : std::optional<std::size_t>(0);
    }
    std::optional<std::size_t> selectedRow(ControlId) const override { return selectedListRow; }
    void selectRow(ControlId, std::size_t row) override { selectedListRow = row; }
    bool isChecked(MenuId item) const override { return checks[static_cast<std::size_t>(item)]; }
    void setChecked(MenuId item, bool checked) override
    {
        checks[static_cast<std::size_t>(item)] = checked;
    }
    void show(FormId form) override { shown.push_back(form); }
    void close() override
    {
        if (events != nullptr)
            events->Form_Unload();
        ++closes;
    }

private:
    static std::size_t index(ControlId control) { return static_cast<std::size_t>(control); }
};
