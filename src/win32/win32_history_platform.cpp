#include "win32/win32_history_platform.h"

#include "win32/win32_handles.h"
#include "win32/win32_history_file.h"
#include "win32/win32_text.h"

#include <commdlg.h>

#include <cstring>

namespace {

// Global memory that the clipboard takes over once SetClipboardData accepts it.
using UniqueGlobal = UniqueHandle<HGLOBAL, GlobalFree>;

UniqueGlobal globalCopy(const void* data, std::size_t size)
{
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory)
        return memory;
    void* const target = GlobalLock(memory.get());
    std::memcpy(target, data, size);
    GlobalUnlock(memory.get());
    return memory;
}

void put(UINT format, const void* data, std::size_t size)
{
    UniqueGlobal memory = globalCopy(data, size);
    if (memory && SetClipboardData(format, memory.get()) != nullptr)
        memory.release();
}

// The clipboard, open for this thread while it lives.
class OpenClipboardScope
{
public:
    OpenClipboardScope() : m_isOpen(OpenClipboard(GetActiveWindow()) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (m_isOpen)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool isOpen() const { return m_isOpen; }

private:
    bool m_isOpen;
};

}  // namespace

LocalTime Win32Clock::localTime(std::int64_t time)
{
    // FILETIME counts 100-nanosecond steps from 1601-01-01.
    const auto ticks = static_cast<std::uint64_t>(time + 11'644'473'600LL) * 10'000'000ULL;
    const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    if (!FileTimeToSystemTime(&utc, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        local = universal;
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
}

void Win32Clipboard::copy(const std::u16string& text, const std::string& entryLine)
{
    const OpenClipboardScope clipboard;
    if (!clipboard.isOpen() || !EmptyClipboard())
        return;  // another program holds it; the user can copy again
    const std::wstring wide = toWide(text);
    put(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    if (const UINT format = RegisterClipboardFormatW(HistoryEntryClipboardFormat))
        put(format, entryLine.data(), entryLine.size());
}

std::optional<SaveChoice> Win32SaveDialog::ask(std::u16string_view suggestedName)
{
    std::wstring file = toWide(suggestedName);
    file.resize(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = L"CSV (*.csv)\0*.csv\0JSON Lines (*.jsonl)\0*.jsonl\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return std::nullopt;
    file.resize(std::wcslen(file.c_str()));
    const bool isJson = dialog.nFilterIndex == 2;
    if (isJson && file.ends_with(L".csv"))  // the default extension of the other type
        file.replace(file.size() - 4, 4, L".jsonl");
    return SaveChoice{fromWide(file), isJson ? ExportFormat::JsonLines : ExportFormat::Csv};
}

void Win32SaveDialog::write(const std::u16string& path, std::string_view bytes)
{
    replaceFileWhole(path, bytes, "Cannot write ");
}
