#pragma once

#include "forms/form1.h"
#include "forms/localized_table.h"
#include "platform/app_info.h"
#include "qt/qt_form_view.h"
#include "sysinfo/start_sys_info.h"

#include <QMainWindow>

#include <memory>

class QtFrmAbout;
class QtFrmHistory;

// The main window in Qt: the controls and menu of Form1's table, over Form1's handlers.
// Form_Load runs in the constructor; Form_Unload runs when the window closes.
class QtForm1 final : public QMainWindow
{
    Q_OBJECT

public:
    // `appInfo` and `sysInfo` are for the About dialog, which the window opens.
    QtForm1(Form1Platform platform, AppInfo appInfo, SysInfoPlatform sysInfo,
            QWidget* parent = nullptr);
    ~QtForm1() override;

    // Stores the input the way closing the window does; for a desktop session that ends while
    // the window is open. Storing again at a later close writes the same values.
    void saveInputForSessionEnd();

    FormView& view() { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showForm(FormId form);

    LocalizedTable m_table;
    QtFormView m_view;
    Form1 m_form;
    AppInfo m_appInfo;
    SysInfoPlatform m_sysInfo;
    std::unique_ptr<QtFrmAbout> m_about;  // ownerless, so not a Qt child; created on first use
    SessionHistory* m_history;
    std::unique_ptr<QtFrmHistory> m_historyWindow;  // as the About dialog
};
