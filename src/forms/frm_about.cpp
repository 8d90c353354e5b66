#include "forms/frm_about.h"

#include "forms/frm_about_table.h"

#include <string>
#include <utility>

namespace {

std::u16string decimal(int number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

frmAbout::frmAbout(FormView& view, AppInfo appInfo, SysInfoPlatform sysInfo)
    : m_view(view), m_appInfo(std::move(appInfo)), m_sysInfo(sysInfo)
{
}

void frmAbout::click(ControlId control)
{
    if (control == frmabout::cmdOK)
        cmdOK_Click();
    else if (control == frmabout::cmdSysInfo)
        cmdSysInfo_Click();
}

void frmAbout::Form_Load()
{
    m_view.setCaption(u"About " + m_appInfo.title);
    m_view.setText(frmabout::lblVersion, u"Version " + decimal(m_appInfo.major) + u"." +
                                             decimal(m_appInfo.minor) + u"." +
                                             decimal(m_appInfo.revision));
    m_view.setText(frmabout::lblTitle, m_appInfo.title);
}

void frmAbout::cmdOK_Click()
{
    m_view.close();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo(m_sysInfo);  // it reports its own failures
}
