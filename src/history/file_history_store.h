#pragma once

#include "history/history_store.h"
#include "platform/history_file.h"

#include <memory>

// The history kept in a HistoryFile as JSON Lines, one entry a line. Damaged lines are skipped
// when reading and moved aside whenever the file is rewritten.
class FileHistoryStore final : public HistoryStore
{
public:
    explicit FileHistoryStore(std::unique_ptr<HistoryFile> file);

    std::vector<HistoryEntry> load() override;
    void append(const HistoryEntry& entry) override;
    void remove(const HistoryEntry& entry) override;
    void clear() override;

private:
    // Rewrites the file with its sorted lines less those `drop` accepts; returns the entries kept.
    std::vector<HistoryEntry> rewrite(const std::function<bool(const HistoryEntry&)>& drop);

    std::unique_ptr<HistoryFile> m_file;
};
