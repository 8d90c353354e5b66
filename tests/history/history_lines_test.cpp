#include "history/history_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

HistoryEntry entry(std::int64_t time, std::u16string main, std::u16string x = u"")
{
    return {time, {std::move(main), std::move(x), u"", u""}, {u"1", u"", u"", u"", {}, {}}};
}

std::string line(const HistoryEntry& e) { return historyLine(e) + '\n'; }

std::u16string utf16Number(std::size_t n)
{
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::vector<std::int64_t> times(const HistoryLines& sorted)
{
    std::vector<std::int64_t> out;
    for (const HistoryEntry& e : sorted.entries)
        out.push_back(e.time);
    return out;
}

}  // namespace

TEST(HistoryLines, SkipsDamagedLinesAndMergesRepeatedFormulas)
{
    struct Row
    {
        std::string content;
        std::vector<std::int64_t> times;
        std::string damaged;
    };
    const HistoryEntry a1 = entry(1, u"a"), a2 = entry(2, u"a"), a3 = entry(3, u"a", u"1");
    const HistoryEntry b4 = entry(4, u"b");
    const Row rows[] = {
        {"", {}, ""},
        {"\n\n", {}, ""},
        {line(a1) + line(b4), {1, 4}, ""},
        {line(a1) + line(a2), {2}, ""},           // the same formulas again: only the time moves
        {line(a1) + line(a3), {1, 3}, ""},        // another X is other formulas
        {line(a1) + line(b4) + line(a2), {1, 4, 2}, ""},  // only the newest is merged into
        {line(a1) + "junk\n" + line(a2), {2}, "junk\n"},  // a damaged line in between is no entry
        {line(a1) + "{\"time\":", {1}, "{\"time\":\n"},  // cut short by a crash
        {line(a1) + historyLine(b4), {1, 4}, ""},  // a whole last line without its end
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.content);
        const HistoryLines sorted = sortHistoryLines(row.content);
        EXPECT_EQ(times(sorted), row.times);
        EXPECT_EQ(sorted.damaged, row.damaged);
        ASSERT_EQ(sorted.lines.size(), sorted.entries.size());
        for (std::size_t i = 0; i < sorted.lines.size(); ++i)
            EXPECT_EQ(parseHistoryLine(sorted.lines[i]), sorted.entries[i]);
        EXPECT_FALSE(sorted.isOverBounds);
    }
}

TEST(HistoryLines, KeepsTheNewestWithinBothBounds)
{
    // A line of about 300 kB: eighty of them pass the byte bound long before the count bound.
    const std::u16string longFormula(300000, u'1');
    struct Row
    {
        std::size_t count;
        std::u16string formula;
        std::size_t kept;
    };
    const Row rows[] = {
        {MaxHistoryEntries, u"", MaxHistoryEntries},
        {MaxHistoryEntries + 1, u"", MaxHistoryEntries},
        {80, longFormula, MaxHistoryBytes / line(entry(79, longFormula + u"79")).size()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.count);
        std::string content;
        for (std::size_t i = 0; i < row.count; ++i)
            content += line(entry(std::int64_t(i), row.formula + utf16Number(i)));
        const HistoryLines sorted = sortHistoryLines(content);
        ASSERT_EQ(sorted.entries.size(), row.kept);
        EXPECT_EQ(sorted.entries.back().time, std::int64_t(row.count - 1));
        EXPECT_LE(sorted.keptText().size(), MaxHistoryBytes);
        EXPECT_EQ(sorted.isOverBounds, row.kept < row.count);
    }
}
