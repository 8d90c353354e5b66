#pragma once

#include "history/history_entry.h"

#include <vector>

// Where the history is kept between runs, shared by every Sumwright process of the user. Each
// call may throw PlatformError saying what failed; the caller then goes on with what it holds
// in memory.
class HistoryStore
{
public:
    virtual ~HistoryStore() = default;
    // The kept entries, oldest first: lines that are no valid entry skipped, an entry whose
    // formulas equal those of the entry before it merged into that one with the later time, and
    // only the newest MaxHistoryEntries within MaxHistoryBytes (the store is trimmed to them).
    virtual std::vector<HistoryEntry> load() = 0;
    // Adds `entry` after the kept ones with one write, so that another process appending at the
    // same time loses nothing.
    virtual void append(const HistoryEntry& entry) = 0;
    // Removes every kept entry equal to `entry`, and keeps the rest, other processes' included.
    virtual void remove(const HistoryEntry& entry) = 0;
    virtual void clear() = 0;
};
