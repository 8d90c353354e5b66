#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/save_dialog.h"

// The user's time zone as Windows keeps it.
class Win32Clock final : public Clock
{
public:
    LocalTime localTime(std::int64_t time) override;
};

// Unicode text for every program, the entry's JSON line under a format of the program's own.
class Win32Clipboard final : public Clipboard
{
public:
    void copy(const std::u16string& text, const std::string& entryLine) override;
};

// The common Save As dialog over the active window, CSV or JSON Lines by the type chosen.
class Win32SaveDialog final : public SaveDialog
{
public:
    std::optional<SaveChoice> ask(std::u16string_view suggestedName) override;
    // Through a new file beside it, so that a failed write leaves the old file whole.
    void write(const std::u16string& path, std::string_view bytes) override;
};

// The name of the clipboard format that carries an entry's JSON line (UTF-8).
inline constexpr wchar_t HistoryEntryClipboardFormat[] = L"Sumwright History Entry";
