#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/save_dialog.h"

class QWidget;

// The user's time zone as Qt knows it.
class QtClock final : public Clock
{
public:
    LocalTime localTime(std::int64_t time) override;
};

// Text for every program, the entry's JSON line for those that ask for the program's own type.
class QtClipboard final : public Clipboard
{
public:
    void copy(const std::u16string& text, const std::string& entryLine) override;
};

// QFileDialog over `parent`'s window; the file is written whole or not at all.
class QtSaveDialog final : public SaveDialog
{
public:
    explicit QtSaveDialog(QWidget* parent) : m_parent(parent) {}
    std::optional<SaveChoice> ask(std::u16string_view suggestedName) override;
    void write(const std::u16string& path, std::string_view bytes) override;

private:
    QWidget* m_parent;
};

// The type under which the History window puts an entry's JSON line on the clipboard.
inline constexpr char HistoryEntryMimeType[] = "application/x-sumwright-history-entry+json";
