#include "history/history_lines.h"

#include <algorithm>
#include <optional>

std::string HistoryLines::keptText() const
{
    std::size_t size = 0;
    for (const std::string_view line : lines)
        size += line.size() + 1;
    std::string out;
    out.reserve(size);
    for (const std::string_view line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

HistoryLines sortHistoryLines(std::string_view content)
{
    HistoryLines sorted;
    for (std::size_t start = 0; start < content.size();) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        const std::string_view line = content.substr(start, end - start);
        start = end + 1;
        if (line.empty())
            continue;
        std::optional<HistoryEntry> entry = parseHistoryLine(line);
        if (!entry) {
            sorted.damaged += line;
            sorted.damaged += '\n';
        } else if (!sorted.entries.empty() && sorted.entries.back().input == entry->input) {
            sorted.entries.back() = std::move(*entry);
            sorted.lines.back() = line;
        } else {
            sorted.entries.push_back(std::move(*entry));
            sorted.lines.push_back(line);
        }
    }
    std::size_t kept = 0;
    std::size_t bytes = 0;
    while (kept < sorted.lines.size() && kept < MaxHistoryEntries) {
        const std::size_t lineBytes = sorted.lines[sorted.lines.size() - 1 - kept].size() + 1;
        if (bytes + lineBytes > MaxHistoryBytes)
            break;
        bytes += lineBytes;
        ++kept;
    }
    const std::size_t dropped = sorted.lines.size() - kept;
    sorted.lines.erase(sorted.lines.begin(), sorted.lines.begin() + dropped);
    sorted.entries.erase(sorted.entries.begin(), sorted.entries.begin() + dropped);
    sorted.isOverBounds = dropped > 0 || content.size() > MaxHistoryBytes;
    return sorted;
}
