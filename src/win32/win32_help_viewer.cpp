#include "win32/win32_help_viewer.h"

Win32HelpViewer::Win32HelpViewer(ProcessLauncher& launcher) : m_launcher(launcher) {}

void Win32HelpViewer::showContents()
{
    m_launcher.start(u"hh.exe", {u"swhelp.chm"});
}
