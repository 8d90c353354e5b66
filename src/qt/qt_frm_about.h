#pragma once

#include "platform/app_info.h"
#include "qt/qt_twips.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// The About dialog: modeless and ownerless, one object for the run. Every show that follows a
// close loads it afresh (Form_Load); closing only hides it, so the object stays.
class QtFrmAbout final : public QDialog
{
    Q_OBJECT

public:
    // `startSysInfo` runs for "System Info..." and reports its own failures.
    QtFrmAbout(AppInfo appInfo, std::function<void()> startSysInfo, QWidget* parent = nullptr);

    void setVisible(bool visible) override;
    // Esc and the close box press the cancel button, which is cmdOK.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    AppInfo m_appInfo;
    std::function<void()> m_startSysInfo;
    QtTwips m_twips;

    QLabel* picIcon;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;
    QLabel* Label1;
    QLabel* lblDescription;
    QLabel* lblTitle;
    QLabel* lblVersion;
};
