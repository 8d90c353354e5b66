// Reads what the setup program left on the system, as Windows itself would read it, for
// scripts/test-windows-package:
//
//   install_probe version FILE         the fixed and string version values, one "Name=value" a line
//   install_probe icons FILE           the pixel sizes of the first icon group: "16 32 48 256"
//   install_probe shortcut LNK         the shortcut's Target, Arguments, WorkingDirectory, Icon
//   install_probe close CLASS SECONDS  waits for a top-level window of CLASS, prints its title
//                                      and asks it to close
//   install_probe hold CLASS SECONDS   shows a top-level window of CLASS that stays open when
//                                      asked to close, as a program that hangs would, for
//                                      SECONDS; prints "open" once it is there
//   install_probe run COMMAND-LINE     runs the command line as Windows' shell would, without
//                                      requoting, waits, and prints its whole exit code
//   install_probe text TITLE ID SECONDS
//                                      waits for a top-level window whose title starts with
//                                      TITLE with a control of ID, and prints the texts of its
//                                      labels
//   install_probe press TITLE ID SECONDS
//                                      waits for that window and presses its button ID
//
// Prints UTF-8; exits 1 with a message on stderr when the thing is missing or unreadable.
#include "text/utf8.h"
#include "win32/win32_handles.h"

#include <fcntl.h>
#include <io.h>
#include <shlobj.h>
#include <winver.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Failure
{
    std::wstring what;
};

void print(const std::wstring& line)
{
    const std::string bytes = utf8::encode(std::u16string(line.begin(), line.end()));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fputc('\n', stdout);
}

std::wstring dotted(DWORD high, DWORD low)
{
    return std::to_wstring(HIWORD(high)) + L'.' + std::to_wstring(LOWORD(high)) + L'.'
        + std::to_wstring(HIWORD(low)) + L'.' + std::to_wstring(LOWORD(low));
}

void printVersion(const wchar_t* file)
{
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(file, 0, size, block.data()))
        throw Failure{L"no version resource"};

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)
        || fixed->dwSignature != VS_FFI_SIGNATURE)
        throw Failure{L"no fixed version values"};
    print(L"FILEVERSION=" + dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
    print(L"PRODUCTVERSION=" + dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS));

    // The strings live under the language and code page that the translation table names.
    struct Translation
    {
        WORD language;
        WORD codePage;
    }* translation = nullptr;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length)
        || length < sizeof(Translation))
        throw Failure{L"no translation table"};
    wchar_t table[9];
    swprintf(table, 9, L"%04x%04x", translation->language, translation->codePage);
    for (const wchar_t* name : {L"CompanyName", L"FileDescription", L"FileVersion",
                                L"LegalCopyright", L"OriginalFilename", L"ProductName",
                                L"ProductVersion"}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\") + table + L'\\' + name;
        wchar_t* value = nullptr;
        if (VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)
            && length > 0)
            print(std::wstring(name) + L'=' + value);
    }
}

using UniqueModule = UniqueHandle<HMODULE, FreeLibrary>;

#pragma pack(push, 2)
// An icon group resource: a header, then one entry per image.
struct GroupIconEntry
{
    BYTE width;  // 0 stands for 256
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInResource;
    WORD id;
};
struct GroupIconHeader
{
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

void printIconSizes(const wchar_t* file)
{
    const UniqueModule module(
        LoadLibraryExW(file, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module)
        throw Failure{L"cannot open the file's resources"};
    HRSRC group = nullptr;
    EnumResourceNamesW(
        module.get(), RT_GROUP_ICON,
        [](HMODULE mod, LPCWSTR type, LPWSTR name, LONG_PTR found) -> BOOL {
            *reinterpret_cast<HRSRC*>(found) = FindResourceW(mod, name, type);
            return FALSE;  // the first group is the one Explorer shows
        },
        reinterpret_cast<LONG_PTR>(&group));
    if (group == nullptr)
        throw Failure{L"no icon group"};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module.get(), group)));
    const DWORD size = SizeofResource(module.get(), group);
    if (data == nullptr || size < sizeof(GroupIconHeader))
        throw Failure{L"unreadable icon group"};
    const auto* header = reinterpret_cast<const GroupIconHeader*>(data);
    if (size < sizeof(GroupIconHeader) + header->count * sizeof(GroupIconEntry))
        throw Failure{L"truncated icon group"};
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    std::wstring sizes;
    for (WORD i = 0; i < header->count; ++i) {
        if (!sizes.empty())
            sizes += L' ';
        sizes += std::to_wstring(entries[i].width == 0 ? 256 : entries[i].width);
    }
    print(sizes);
}

void printShortcut(const wchar_t* file)
{
    const ComApartment com;
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> persisted;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.out()))
        || FAILED(link->QueryInterface(IID_IPersistFile, persisted.out()))
        || FAILED(persisted->Load(file, STGM_READ)))
        throw Failure{L"cannot read the shortcut"};
    wchar_t text[MAX_PATH * 2] = {};
    const int capacity = MAX_PATH * 2;
    int iconIndex = 0;
    if (FAILED(link->GetPath(text, capacity, nullptr, SLGP_RAWPATH)))
        throw Failure{L"the shortcut has no target"};
    print(std::wstring(L"Target=") + text);
    text[0] = L'\0';
    link->GetArguments(text, capacity);
    print(std::wstring(L"Arguments=") + text);
    text[0] = L'\0';
    link->GetWorkingDirectory(text, capacity);
    print(std::wstring(L"WorkingDirectory=") + text);
    text[0] = L'\0';
    link->GetIconLocation(text, capacity, &iconIndex);
    print(std::wstring(L"Icon=") + text + L',' + std::to_wstring(iconIndex));
}

std::optional<HWND> waitForWindow(const wchar_t* className, int seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    do {
        if (HWND window = FindWindowW(className, nullptr); window != nullptr)
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void closeWindow(const wchar_t* className, int seconds)
{
    const std::optional<HWND> window = waitForWindow(className, seconds);
    if (!window)
        throw Failure{L"no window of that class appeared"};
    wchar_t title[256] = {};
    GetWindowTextW(*window, title, 256);
    print(title);
    // As the frame's close button does: the program unloads the form and ends by itself.
    PostMessageW(*window, WM_CLOSE, 0, 0);
}

// Closing only when the time is up: WM_CLOSE is left unanswered, as a hung program leaves it.
LRESULT CALLBACK holdingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE)
        return 0;
    if (message == WM_TIMER) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void holdWindow(const wchar_t* className, int seconds)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = holdingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    if (RegisterClassW(&windowClass) == 0)
        throw Failure{L"cannot register the window class"};
    HWND window = CreateWindowExW(0, className, L"install_probe", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        throw Failure{L"cannot create the window"};
    SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
    print(L"open");
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
}

struct WindowQuery
{
    const wchar_t* title;
    int controlId;
    HWND found = nullptr;
};

// A window of a setup program: its pages and its message boxes share the start of their
// titles, and differ in their buttons.
HWND waitForDialog(const wchar_t* title, int controlId, int seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    do {
        WindowQuery query{title, controlId};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto* query = reinterpret_cast<WindowQuery*>(data);
                wchar_t text[256] = {};
                GetWindowTextW(window, text, 256);
                const HWND control = GetDlgItem(window, query->controlId);
                if (IsWindowVisible(window) && std::wstring(text).starts_with(query->title)
                    && control != nullptr && IsWindowEnabled(control)) {
                    query->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr)
            return query.found;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < deadline);
    throw Failure{L"no such window appeared"};
}

// The message of a message box, one line per label; icons have no text.
void printLabels(const wchar_t* title, int controlId, int seconds)
{
    const HWND dialog = waitForDialog(title, controlId, seconds);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        wchar_t text[1024] = {};
        GetClassNameW(child, className, 32);
        if (_wcsicmp(className, L"Static") == 0 && GetWindowTextW(child, text, 1024) > 0)
            print(text);
    }
}

// As a click does: the dialog gets the button's command.
void pressButton(const wchar_t* title, int controlId, int seconds)
{
    const HWND dialog = waitForDialog(title, controlId, seconds);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, controlId)));
}

// Exit codes of setup programs go past 255, where a Unix exit status ends.
void runCommand(const wchar_t* commandLine)
{
    std::wstring line = commandLine;  // CreateProcessW may write to it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        throw Failure{L"cannot start the command"};
    const UniqueKernelHandle thread(process.hThread);
    const UniqueKernelHandle started(process.hProcess);
    DWORD code = 0;
    if (WaitForSingleObject(started.get(), INFINITE) != WAIT_OBJECT_0
        || !GetExitCodeProcess(started.get(), &code))
        throw Failure{L"cannot wait for the command"};
    print(std::to_wstring(code));
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    try {
        if (command == L"version" && argc == 3)
            printVersion(argv[2]);
        else if (command == L"icons" && argc == 3)
            printIconSizes(argv[2]);
        else if (command == L"shortcut" && argc == 3)
            printShortcut(argv[2]);
        else if (command == L"close" && argc == 4)
            closeWindow(argv[2], _wtoi(argv[3]));
        else if (command == L"hold" && argc == 4)
            holdWindow(argv[2], _wtoi(argv[3]));
        else if (command == L"run" && argc == 3)
            runCommand(argv[2]);
        else if (command == L"text" && argc == 5)
            printLabels(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
        else if (command == L"press" && argc == 5)
            pressButton(argv[2], _wtoi(argv[3]), _wtoi(argv[4]));
        else
            throw Failure{L"usage: version|icons|shortcut FILE, close|hold CLASS SECONDS, "
                          L"run COMMAND-LINE, or text|press TITLE ID SECONDS"};
    } catch (const Failure& failure) {
        std::fflush(stdout);
        _setmode(_fileno(stderr), _O_U16TEXT);
        fwprintf(stderr, L"install_probe %ls: %ls\n", command.c_str(), failure.what.c_str());
        return 1;
    }
    return 0;
}
