#include "forms/form1.h"
#include "forms/frm_about.h"
#include "platform/app_info.h"
#include "platform/registry.h"
#include "reckoner/reckoner_evaluator.h"
#include "sysinfo/start_sys_info.h"
#include "win32/win32_accessibility.h"
#include "win32/win32_file_probe.h"
#include "win32/win32_handles.h"
#include "win32/win32_help_viewer.h"
#include "win32/win32_locales.h"
#include "win32/win32_message_box.h"
#include "win32/win32_process_launcher.h"
#include "win32/win32_program.h"
#include "win32/win32_settings_store.h"
#include "win32/win32_text.h"
#include "win32/win32_windows.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

int runProgram(HINSTANCE instance, const AppInfo& appInfo, MessageBox& messageBox)
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    Win32Accessibility accessibility;

    Win32SettingsStore settings;
    Win32ProcessLauncher launcher;
    Win32HelpViewer help(launcher);
    Win32FileProbe files;
    const std::unique_ptr<Registry> registry = makeSystemRegistry();
    const SysInfoPlatform sysInfo{*registry, files, launcher, messageBox};

    Win32Program program(instance, accessibility);
    ReckonerEvaluator evaluator;
    Form1 form1(program.window(FormId::Form1),
                {settings, help, evaluator, Win32Locales().userDecimalPoint()});
    frmAbout about(program.window(FormId::frmAbout), appInfo, sysInfo);
    program.window(FormId::Form1).setEvents(form1);
    program.window(FormId::frmAbout).setEvents(about);
    return program.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const AppInfo appInfo = currentAppInfo();
    Win32MessageBox messageBox(appInfo.title);
    return runReportingFailure(messageBox,
                               [&] { return runProgram(instance, appInfo, messageBox); });
}
