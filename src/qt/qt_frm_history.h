#pragma once

#include "forms/frm_history.h"
#include "forms/localized_table.h"
#include "qt/qt_form_view.h"
#include "qt/qt_history_platform.h"
#include "qt/qt_twips.h"

#include <QDialog>

#include <functional>

// The History window in Qt: modeless and ownerless, one object for the run, like the About
// dialog. Each show that follows a close loads it afresh (Form_Load).
class QtFrmHistory final : public QDialog
{
    Q_OBJECT

public:
    // `showForm` brings the program's other windows forward; `use` fills the main window.
    QtFrmHistory(SessionHistory& history, MessageBox& messageBox, const Catalog& catalog,
                 std::function<void(FormId)> showForm, std::function<void(const Formulas&)> use,
                 QWidget* parent = nullptr);

    void setVisible(bool visible) override;
    // Esc and the close box press the cancel button.
    void reject() override;

private:
    QtTwips m_twips;
    QtClock m_clock;
    QtClipboard m_clipboard;
    QtSaveDialog m_saveDialog;
    LocalizedTable m_table;
    QtFormView m_view;
    frmHistory m_form;
};
