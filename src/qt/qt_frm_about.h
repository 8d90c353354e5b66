#pragma once

#include "forms/frm_about.h"
#include "forms/localized_table.h"
#include "qt/qt_form_view.h"
#include "qt/qt_twips.h"

#include <QDialog>

// The About dialog in Qt: modeless and ownerless, one object for the run. Every show that
// follows a close loads it afresh (Form_Load); closing only hides it, so the object stays.
class QtFrmAbout final : public QDialog
{
    Q_OBJECT

public:
    QtFrmAbout(AppInfo appInfo, SysInfoPlatform sysInfo, QWidget* parent = nullptr);

    void setVisible(bool visible) override;
    // Esc and the close box press the cancel button.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtTwips m_twips;
    LocalizedTable m_table;
    QtFormView m_view;
    frmAbout m_form;
};
