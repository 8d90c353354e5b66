#pragma once

#include "eval/evaluation_sequence.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The newest entries kept, and the most bytes the kept file may hold; past either bound the
// oldest entries go.
inline constexpr std::size_t MaxHistoryEntries = 1000;
inline constexpr std::size_t MaxHistoryBytes = 16 * 1024 * 1024;

// One evaluation as kept: when it ended, the four formulas exactly as typed, and what it
// showed.
struct HistoryEntry
{
    std::int64_t time = 0;  // whole seconds since 1970-01-01 00:00 UTC
    Formulas input;
    Outcome output;

    bool operator==(const HistoryEntry&) const = default;
};

// The entry as one line of JSON Lines, without the line end:
// {"time":"2026-12-07T23:10:04Z","input":{"main":…,"x":…,"y":…,"z":…},"output":{…}}. The input
// object is a sumwright-cli --batch request and the output object what sumwright-cli --json
// prints for it, every UTF-16 unit kept.
std::string historyLine(const HistoryEntry& entry);

// "2026-12-07T23:10:04Z": the time as an entry keeps it, in UTC whatever the process's locale or
// time zone. Times before the year 0 or after 9999 are written as the nearest of those years'
// bounds.
std::string historyTimeText(std::int64_t time);

// `formula` on one line, as the lists of entries show it: each line break (CR LF, CR or LF) and
// tab a space; past `most` units cut, with an ellipsis.
std::u16string formulaOnOneLine(std::u16string_view formula,
                                std::size_t most = std::u16string_view::npos);

// What the main result box showed, without its leading spaces; empty where the run left it.
std::u16string mainResult(const HistoryEntry& entry);

// The entry one line holds; none for a line that is no valid entry (cut short, not JSON, a
// field missing, of the wrong type or unknown). Never throws for any bytes.
std::optional<HistoryEntry> parseHistoryLine(std::string_view line);
