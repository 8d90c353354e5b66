#pragma once

#include "forms/form_events.h"
#include "forms/form_view.h"
#include "platform/app_info.h"
#include "sysinfo/start_sys_info.h"

// The About dialog's behaviour over whatever toolkit draws it.
class frmAbout final : public FormEvents
{
public:
    frmAbout(FormView& view, AppInfo appInfo, SysInfoPlatform sysInfo);

    void click(ControlId control) override;
    void Form_Load() override;

    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    FormView& m_view;
    AppInfo m_appInfo;
    SysInfoPlatform m_sysInfo;
};
