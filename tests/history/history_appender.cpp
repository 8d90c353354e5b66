#include "history/file_history_store.h"
#include "history/history_lines.h"
#include "support/history_file_at.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

// Run as "history_appender FILE append TAG COUNT" by two processes at once, then as
// "history_appender FILE check TAG1 TAG2 COUNT": every line valid, each process's entries all
// there and in its order.
int main(int argc, char* argv[])
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 4)
        return 2;
    FileHistoryStore store(makeHistoryFileAt(args[0]));
    const int count = std::atoi(args.back().c_str());
    const auto formula = [](const std::string& tag, int i) {
        const std::string text = tag + "+" + std::to_string(i);
        return std::u16string(text.begin(), text.end());
    };
    if (args[1] == "append") {
        for (int i = 0; i < count; ++i)
            store.append({i, {formula(args[2], i), u"", u"", u""}, {}});
        return 0;
    }
    auto file = makeHistoryFileAt(args[0]);
    const std::string content = file->read(HistoryReadLimit);
    const HistoryLines sorted = sortHistoryLines(content);
    if (!sorted.damaged.empty()) {
        std::cerr << "damaged lines:\n" << sorted.damaged;
        return 1;
    }
    for (std::size_t t = 2; t + 1 < args.size(); ++t) {
        int next = 0;
        for (const HistoryEntry& e : sorted.entries) {
            if (e.input.main == formula(args[t], next))
                ++next;
        }
        if (next != count) {
            std::cerr << args[t] << ": " << next << " of " << count << " entries in order\n";
            return 1;
        }
    }
    return 0;
}
