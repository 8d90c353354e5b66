#pragma once

#include "history/history_store.h"
#include "platform/platform_error.h"

#include <string>
#include <vector>

// Keeps what it is given in memory and records each call; can be told to refuse.
class FakeHistoryStore final : public HistoryStore
{
public:
    std::vector<HistoryEntry> kept;  // as load() gives it
    std::vector<std::string> calls;  // "load", "append MAIN", "remove MAIN", "clear"
    bool refuses = false;

    std::vector<HistoryEntry> load() override
    {
        call("load");
        return kept;
    }
    void append(const HistoryEntry& entry) override
    {
        call("append " + name(entry));
        if (!kept.empty() && kept.back().input == entry.input)
            kept.back() = entry;
        else
            kept.push_back(entry);
    }
    void remove(const HistoryEntry& entry) override
    {
        call("remove " + name(entry));
        std::erase(kept, entry);
    }
    void clear() override
    {
        call("clear");
        kept.clear();
    }

private:
    static std::string name(const HistoryEntry& entry)
    {
        return std::string(entry.input.main.begin(), entry.input.main.end());
    }
    void call(const std::string& what)
    {
        calls.push_back(what);
        if (refuses)
            throw PlatformError("The history could not be written: disk full.");
    }
};
