// Looks at the running sumwright.exe from outside, as UI automation does, for
// drive_window.sh: finds its windows by class (the form's name) and its controls by design
// name, and prints what they show. Also sets up and checks the stand-in system-information
// viewer. Prints results in UTF-8 on stdout, one line each; exits 1 when what it waits for
// does not come.
#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"
#include "text/utf8.h"
#include "win32/win32_form_window.h"
#include "win32/win32_test_support.h"
#include "win32/win32_windows.h"

#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t ViewerFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t ViewerPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t SettingsKey[] = L"Software\\VB and VBA Program Settings\\Sumwright\\Settings";

const FormTable& formNamed(std::string_view name)
{
    if (name == "frmHistory")
        return frmhistory::Table;
    return name == "frmAbout" ? frmabout::Table : form1::Table;
}

std::wstring wide(std::string_view text)
{
    return std::wstring(text.begin(), text.end());
}

// Line breaks, tabs and backslashes written as \r, \n, \t and \\, so a text is one line.
std::wstring escaped(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        switch (c) {
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        case L'\t': out += L"\\t"; break;
        case L'\\': out += L"\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

void print(const std::wstring& text)
{
    const std::string bytes = utf8::encode(std::u16string(text.begin(), text.end()));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

std::vector<HWND> windowsOf(const FormTable& form)
{
    struct Search
    {
        std::wstring className;
        std::vector<HWND> found;
    } search{wide(form.name), {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (s.className == name && IsWindowVisible(window))
                s.found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND windowOf(const FormTable& form)
{
    HWND window = nullptr;
    waitUntil([&] {
        const std::vector<HWND> found = windowsOf(form);
        window = found.empty() ? nullptr : found.front();
        return window != nullptr;
    });
    if (window == nullptr) {
        std::fprintf(stderr, "no %s window\n", std::string(form.name).c_str());
        std::exit(1);
    }
    return window;
}

HWND controlOf(const FormTable& form, HWND window, std::string_view name)
{
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        if (form.controls[i].name == name)
            return GetDlgItem(window, commandId(ControlId(i)));
    }
    std::fprintf(stderr, "no control %s\n", std::string(name).c_str());
    std::exit(2);
}

std::wstring textOf(HWND control)
{
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXTLENGTH, 0, 0, SMTO_BLOCK, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_BLOCK, 5000, &copied);
    text.resize(copied);
    return text;
}

std::string focusedControl(const FormTable& form, HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    if (info.hwndFocus == nullptr || GetParent(info.hwndFocus) != window)
        return "(none)";
    const int index = GetDlgCtrlID(info.hwndFocus) - ControlIdBase;
    if (index < 0 || static_cast<std::size_t>(index) >= form.controls.size())
        return "(unknown)";
    return std::string(form.controls[static_cast<std::size_t>(index)].name);
}

std::wstring accessibleName(HWND control)
{
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&accessible))))
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring text = L"(no name)";
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr)
        text = name;
    SysFreeString(name);
    accessible->Release();
    return text;
}

// The stand-in viewer's folder: its name has characters that the system code page holds at
// other bytes than their Latin-1 codes, where Windows keeps them.
fs::path viewerFolder()
{
    return fs::temp_directory_path() / L"Sumwright viewer" / L"Pr\u00FCf\u20AC\u2122";
}

bool isViewerRunning()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &process); more && !found;
         more = Process32NextW(snapshot, &process))
        found = _wcsicmp(process.szExeFile, L"MSINFO32.EXE") == 0;
    CloseHandle(snapshot);
    return found;
}

void setViewerFolder(const fs::path& folder)
{
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ViewerPathKey, L"PATH");
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, ViewerFolderKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                    &key, nullptr);
    const std::wstring text = folder.wstring();
    RegSetValueExW(key, L"MSINFO", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

int run(const std::vector<std::string>& args)
{
    const std::string command = args.empty() ? "" : args[0];
    const auto arg = [&](std::size_t i) { return i < args.size() ? args[i] : std::string(); };
    if (command == "sysinfo-setup") {
        const fs::path folder = viewerFolder();
        fs::remove_all(folder.parent_path());
        fs::create_directories(folder);
        fs::copy_file(markerProgram(), folder / L"MSINFO32.EXE");
        setViewerFolder(folder);
        return 0;
    }
    if (command == "sysinfo-ran") {
        // Ran, and has ended: the focus goes back to the program only then.
        return waitUntil([] { return fs::exists(viewerFolder() / L"MSINFO32.EXE.ran"); }) &&
                       waitUntil([] { return !isViewerRunning(); })
                   ? 0
                   : 1;
    }
    if (command == "settings-readonly") {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        const bool isDenied = denyWriteTo(key);
        RegCloseKey(key);
        return isDenied ? 0 : 1;
    }
    if (command == "message") {
        // A message box of the program: its prompt is the static text with id 0xFFFF.
        HWND box = nullptr;
        waitUntil([&] { return (box = FindWindowW(L"#32770", L"Sumwright")) != nullptr; });
        if (box == nullptr)
            return 1;
        print(escaped(textOf(GetDlgItem(box, 0xFFFF))));
        return 0;
    }
    if (command == "sysinfo-cleanup") {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ViewerFolderKey, L"MSINFO");
        std::error_code ignored;
        fs::remove_all(viewerFolder().parent_path(), ignored);
        return 0;
    }

    const FormTable& form = formNamed(arg(1));
    if (command == "gone")
        return waitUntil([&] { return windowsOf(form).empty(); }) ? 0 : 1;
    if (command == "count") {
        print(std::to_wstring(windowsOf(form).size()));
        return 0;
    }
    const HWND window = windowOf(form);
    if (command == "wait")
        return 0;
    if (command == "caption") {
        print(escaped(textOf(window)));
        return 0;
    }
    if (command == "focus") {
        // The focus moves as the keys are handled: wait for the one expected, if given, for
        // up to the seconds given.
        std::string focused;
        waitUntil(
            [&] {
                focused = focusedControl(form, window);
                return arg(2).empty() || focused == arg(2);
            },
            arg(3).empty() ? 20 : std::stoi(arg(3)));
        print(wide(focused));
        return 0;
    }
    if (command == "checked") {
        for (std::size_t i = 0; i < form.menu.size(); ++i) {
            if (form.menu[i].name == arg(2)) {
                const UINT state = GetMenuState(GetMenu(window), commandId(MenuId(i)),
                                                MF_BYCOMMAND);
                print(state == static_cast<UINT>(-1) ? L"(no item)"
                                                     : (state & MF_CHECKED) ? L"1" : L"0");
                return 0;
            }
        }
        return 2;
    }
    const HWND control = controlOf(form, window, arg(2));
    if (command == "text") {
        print(escaped(textOf(control)));
        return 0;
    }
    if (command == "length") {
        print(std::to_wstring(textOf(control).size()));
        return 0;
    }
    if (command == "selection") {  // of an edit box: its first and last-but-one unit, 0-based
        DWORD first = 0;
        DWORD end = 0;
        SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                     reinterpret_cast<LPARAM>(&end));
        print(std::to_wstring(first) + L" " + std::to_wstring(end));
        return 0;
    }
    if (command == "name") {
        print(accessibleName(control));
        return 0;
    }
    std::fprintf(stderr, "usage: window_driver COMMAND [FORM [CONTROL|ITEM]]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);  // texts as they are, line breaks included
    return run(std::vector<std::string>(argv + 1, argv + argc));
}
