#include "history/file_history_store.h"

#include "history/history_lines.h"

#include <utility>

FileHistoryStore::FileHistoryStore(std::unique_ptr<HistoryFile> file) : m_file(std::move(file)) {}

std::vector<HistoryEntry> FileHistoryStore::load()
{
    const std::string content = m_file->read(HistoryReadLimit);
    HistoryLines sorted = sortHistoryLines(content);
    if (!sorted.isOverBounds)
        return std::move(sorted.entries);
    // Sorted again under the lock: another process may have appended since.
    return rewrite([](const HistoryEntry&) { return false; });
}

void FileHistoryStore::append(const HistoryEntry& entry)
{
    std::string line = historyLine(entry);
    line += '\n';
    if (m_file->append(line) > HistoryTrimSize)
        rewrite([](const HistoryEntry&) { return false; });
}

void FileHistoryStore::remove(const HistoryEntry& entry)
{
    rewrite([&entry](const HistoryEntry& kept) { return kept == entry; });
}

void FileHistoryStore::clear()
{
    rewrite([](const HistoryEntry&) { return true; });
}

std::vector<HistoryEntry> FileHistoryStore::rewrite(
    const std::function<bool(const HistoryEntry&)>& drop)
{
    std::vector<HistoryEntry> entries;
    m_file->rewrite(HistoryReadLimit, [&](std::string_view content) {
        HistoryLines sorted = sortHistoryLines(content);
        HistoryLines kept;
        for (std::size_t i = 0; i < sorted.lines.size(); ++i) {
            if (!drop(sorted.entries[i])) {
                kept.lines.push_back(sorted.lines[i]);
                kept.entries.push_back(std::move(sorted.entries[i]));
            }
        }
        entries = std::move(kept.entries);
        return HistoryFile::Rewrite{kept.keptText(), std::move(sorted.damaged)};
    });
    return entries;
}
