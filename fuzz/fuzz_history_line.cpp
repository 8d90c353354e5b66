// Any bytes as one line of the kept history: never a crash, and an entry read from them is
// written back as a line that reads as the same entry. The shortcut for the program's own
// lines and the general reader, reached with a leading space, agree on every input.

#include "history/history_entry.h"

#include "fuzz_support.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::optional<HistoryEntry> entry = parseHistoryLine(line);
    fuzz::check(entry == parseHistoryLine(" " + std::string(line)),
                "both readers read the line alike");
    if (entry)
        fuzz::check(parseHistoryLine(historyLine(*entry)) == entry, "the entry round-trips");
    return 0;
}
