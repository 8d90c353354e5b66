#include "forms/form1.h"
#include "forms/frm_about.h"
#include "forms/frm_history.h"
#include "history/file_history_store.h"
#include "l10n/built_in_catalogs.h"
#include "platform/app_info.h"
#include "platform/registry.h"
#include "reckoner/reckoner_evaluator.h"
#include "sysinfo/start_sys_info.h"
#include "win32/win32_accessibility.h"
#include "win32/win32_file_probe.h"
#include "win32/win32_handles.h"
#include "win32/win32_help_viewer.h"
#include "win32/win32_history_file.h"
#include "win32/win32_history_platform.h"
#include "win32/win32_locales.h"
#include "win32/win32_message_box.h"
#include "win32/win32_process_launcher.h"
#include "win32/win32_program.h"
#include "win32/win32_settings_store.h"
#include "win32/win32_text.h"
#include "win32/win32_windows.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// The program's arguments, without its own name.
std::vector<std::u16string> programArguments()
{
    int count = 0;
    wchar_t** const words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::u16string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        const std::wstring_view word(words[i]);
        arguments.emplace_back(word.begin(), word.end());
    }
    LocalFree(words);
    return arguments;
}

int runProgram(HINSTANCE instance, const AppInfo& appInfo, MessageBox& messageBox,
               const Win32Locales& locales, const Catalog& catalog)
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
    const SysInfoPlatform sysInfo{*registry, files, launcher, messageBox, catalog};

    FileHistoryStore historyStore(makeUserHistoryFile());
    Win32Clock clock;
    SessionHistory history(historyStore, clock, messageBox, catalog);
    Win32Clipboard clipboard;
    Win32SaveDialog saveDialog;

    Win32Program program(instance, accessibility, catalog);
    ReckonerEvaluator evaluator;
    Form1 form1(program.window(FormId::Form1),
                {settings, help, evaluator, locales.userDecimalPoint(), &history, catalog});
    frmAbout about(program.window(FormId::frmAbout), appInfo, sysInfo);
    frmHistory historyWindow(
        program.window(FormId::frmHistory),
        {history, clock, clipboard, saveDialog, messageBox,
         [&form1](const Formulas& formulas) { form1.useFormulas(formulas); }, catalog});
    program.window(FormId::Form1).setEvents(form1);
    program.window(FormId::frmAbout).setEvents(about);
    program.window(FormId::frmHistory).setEvents(historyWindow);
    return program.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    const AppInfo appInfo = currentAppInfo();
    Win32MessageBox messageBox(appInfo.title);
    const Win32Locales locales;
    // A damaged catalog cannot happen in a built program: it is checked at build time.
    const Catalog catalog = programCatalog(programArguments(), locales.languageWishes());
    return runReportingFailure(
        messageBox, [&] { return runProgram(instance, appInfo, messageBox, locales, catalog); },
        catalog);
}
