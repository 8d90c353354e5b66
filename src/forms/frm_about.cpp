#include "forms/frm_about.h"

#include "forms/frm_about_table.h"
#include "l10n/message_format.h"
#include "text/decimal.h"

#include <string>
#include <utility>

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
    const Catalog& catalog = m_sysInfo.catalog;
    m_view.setCaption(formatMessage(catalog.text(N_(u"About %s")), {m_appInfo.title}));
    const std::u16string version = text::decimal(m_appInfo.major) + u"." +
                                   text::decimal(m_appInfo.minor) + u"." +
                                   text::decimal(m_appInfo.revision);
    m_view.setText(frmabout::lblVersion,
                   formatMessage(catalog.text(N_(u"Version %s")), {version}));
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
