#pragma once

#include "history/history_entry.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The most bytes a history file may hold and still be read. Far above MaxHistoryBytes, which
// appends may pass until the next trim; a larger file is no history this program wrote.
inline constexpr std::size_t HistoryReadLimit = 4 * MaxHistoryBytes;

// An append that leaves the file larger than this trims it at once, so that a long session
// of long formulas never reaches HistoryReadLimit.
inline constexpr std::size_t HistoryTrimSize = 2 * MaxHistoryBytes;

// A history file's content sorted out.
struct HistoryLines
{
    std::vector<std::string_view> lines;  // the kept lines, oldest first, without line ends
    std::vector<HistoryEntry> entries;    // what each of `lines` holds
    std::string damaged;                  // every line that is no entry, each with its "\n"
    bool isOverBounds = false;  // entries were dropped past a bound, or the content is too long

    std::string keptText() const;  // `lines`, each ended by "\n"
};

// Splits `content` at "\n", skips empty lines and sets damaged ones apart, merges a line into
// the next when both hold the same formulas (the later one stays), and keeps the newest
// MaxHistoryEntries lines within MaxHistoryBytes, line ends counted. The views point into
// `content`.
HistoryLines sortHistoryLines(std::string_view content);
