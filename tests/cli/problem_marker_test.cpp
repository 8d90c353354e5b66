#include "cli/problem_marker.h"

#include <gtest/gtest.h>

TEST(ProblemMarker, MarksTheProblemUnderItsLineAsATerminalShowsIt)
{
    struct Row
    {
        std::u16string typed;
        std::size_t start, length;
        std::u16string text, marker;
        std::size_t line;
    };
    const Row rows[] = {
        {u"1+foo(2)", 2, 3, u"1+foo(2)", u"  ^~~", 1},
        {u"1+", 2, 0, u"1+", u"  ^", 1},                       // a place at the end
        {u"\t1/0", 2, 1, u"\t1/0", u"\t ^", 1},                 // tabs stay tabs
        {u"1+\r\nfoo", 4, 3, u"foo", u"^~~", 2},                // CR LF is one break
        {u"1\r2\n+q", 5, 1, u"+q", u" ^", 3},                   // so is a lone CR
        {u"ab\ncd", 1, 4, u"ab", u" ^", 1},                     // marked to the line's end
        {u"\u6F22+q", 2, 1, u"\u6F22+q", u"   ^", 1},           // a wide character
        {u"\U0001F600q", 2, 1, u"\U0001F600q", u"  ^", 1},      // one, as a surrogate pair
        {u"e\u0301q", 2, 1, u"e\u0301q", u" ^", 1},             // a combining accent
        {u"1\x01+\x1B", 1, 1, u"1\uFFFD+\uFFFD", u" ^", 1},     // nothing for the terminal
        {u"1\u202E2", 1, 1, u"1\uFFFD" u"2", u" ^", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.typed));
        const ProblemLines lines = problemLines(row.typed, {Stage::Main, row.start, row.length});
        EXPECT_EQ(lines.text, row.text);
        EXPECT_EQ(lines.marker, row.marker);
        EXPECT_EQ(lines.lineNumber, row.line);
    }
}

TEST(ProblemMarker, CountsALabelsColumnsAsItsMarkerDoes)
{
    const std::pair<std::u16string_view, std::size_t> rows[] = {
        {u"Formula: ", 9}, {u"\u6570\u5F0F: ", 6}, {u"\U0001F600", 2}, {u"e\u0301", 1}, {u"", 0}};
    for (const auto& [label, columns] : rows)
        EXPECT_EQ(terminalColumns(label), columns) << testing::PrintToString(label);
}
