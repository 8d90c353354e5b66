#include "history/history_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

HistoryEntry workedExample()
{
    return {1796685004,
            {u"x^2+y", u"z+1.5", u"3", u"1.5"},
            {u"12", u"3", u"3", u"1.5", SuccessText, std::nullopt}};
}

}  // namespace

TEST(HistoryEntry, WritesTheLineTheCliWouldPairWithItsRequest)
{
    EXPECT_EQ(historyLine(workedExample()),
              R"({"time":"2026-12-07T23:10:04Z","input":{"main":"x^2+y","x":"z+1.5","y":"3",)"
              R"("z":"1.5"},"output":{"main":"12","x":"3","y":"3","z":"1.5",)"
              R"("status":" Evaluation successful.","problem":null}})");
}

TEST(HistoryEntry, WritesAndReadsUtcTimesWithoutTheCalendarsHelp)
{
    struct Row { std::int64_t time; std::string text; };
    const Row rows[] = {
        {0, "1970-01-01T00:00:00Z"},
        {-1, "1969-12-31T23:59:59Z"},
        {951782400, "2000-02-29T00:00:00Z"},     // a leap day of a year divisible by 400
        {4107542400, "2100-03-01T00:00:00Z"},    // 2100 has no February 29th
        {1796685004, "2026-12-07T23:10:04Z"},
        {-62167219200, "0000-01-01T00:00:00Z"},  // the earliest time kept as it is
        {253402300799, "9999-12-31T23:59:59Z"},  // the latest
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(historyTimeText(row.time), row.text);
        HistoryEntry entry = workedExample();
        entry.time = row.time;
        const std::optional<HistoryEntry> read = parseHistoryLine(historyLine(entry));
        ASSERT_TRUE(read);
        EXPECT_EQ(read->time, row.time);
    }
    EXPECT_EQ(historyTimeText(253402300800), "9999-12-31T23:59:59Z");
}

TEST(HistoryEntry, KeepsEveryUtf16UnitAndEveryShapeOfOutcome)
{
    std::u16string everyUnit;
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit)
        everyUnit += static_cast<char16_t>(unit);
    const std::u16string loneFirst = {0xDC00, u'a', 0xD800};
    const std::u16string pairAfterLone = {0xD800, 0xD83D, 0xDE00, 0xDFFF};
    const HistoryEntry entries[] = {
        workedExample(),
        {0, {everyUnit, loneFirst, pairAfterLone, u"\uFFFD\"\\\n"}, {}},
        {1, {u"1/0", u"", u"", u""},
         {std::u16string(ErrorText), std::nullopt, std::nullopt, std::nullopt,
          u" Division by zero.", Problem{Stage::Main, 1, 2}}},
        {2, {u"x", u"", u"", u""},
         {ErrorText, std::nullopt, std::nullopt, std::nullopt, everyUnit,
          Problem{Stage::Z, 0, 0}}},
        {3, {u"", u"y", u"", u""}, {std::nullopt, u"", std::nullopt, u"", std::nullopt,
                                     Problem{Stage::X, 4294967296, 1}}},
    };
    for (const HistoryEntry& entry : entries) {
        const std::string line = historyLine(entry);
        SCOPED_TRACE(line.substr(0, 80));
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(parseHistoryLine(line), entry);
    }
}

TEST(HistoryEntry, RefusesEveryLineThatIsNoEntry)
{
    const std::string good = historyLine(workedExample());
    const auto with = [&good](std::string_view from, std::string_view to) {
        std::string line = good;
        line.replace(line.find(from), from.size(), to);
        return line;
    };
    const std::string rows[] = {
        "",
        "not json",
        good.substr(0, good.size() - 1),  // cut short by a crash
        good.substr(0, 40),
        good + "{}",
        "[" + good + "]",
        "{}",
        R"({"time":"2026-12-07T23:10:04Z"})",
        "{\"main\":\"x^2+y\",\"x\":\"z+1.5\",\"y\":\"3\",\"z\":\"1.5\"}",  // a bare request
        with("\"time\"", "\"when\""),
        with("{\"time\"", "{\"extra\":1,\"time\""),
        with("{\"time\"", "{\"time\":\"2026-12-07T23:10:04Z\",\"time\""),
        with("\"2026-12-07T23:10:04Z\"", "1796685004"),
        with("2026-12-07T23:10:04Z", "2026-12-07T23:10:04"),
        with("2026-12-07T23:10:04Z", "2026-12-07 23:10:04Z"),
        with("2026-12-07T23:10:04Z", "2026-12-07T23:10:04+00:00"),
        with("2026-12-07T23:10:04Z", "2026-02-29T23:10:04Z"),
        with("2026-12-07T23:10:04Z", "2026-13-07T23:10:04Z"),
        with("2026-12-07T23:10:04Z", "2026-12-07T24:00:00Z"),
        with("2026-12-07T23:10:04Z", "2026-12-07T23:10:60Z"),
        with("2026-12-07T23:10:04Z", "+026-12-07T23:10:04Z"),
        with(",\"z\":\"1.5\"}", "}"),
        with("\"y\":\"3\"", "\"y\":3"),
        with("\"y\":\"3\"", "\"y\":null"),
        with("\"input\":{", "\"input\":{\"w\":\"\","),
        with("\"input\":{\"main\":\"x^2+y\",\"x\":\"z+1.5\",\"y\":\"3\",\"z\":\"1.5\"}",
             "\"input\":[\"x^2+y\",\"z+1.5\",\"3\",\"1.5\"]"),
        with("\"status\":\" Evaluation successful.\"", "\"status\":true"),
        with("\"problem\":null", ""),
        with("\"problem\":null", "\"problem\":{\"formula\":\"w\",\"start\":0,\"length\":1}"),
        with("\"problem\":null", "\"problem\":{\"formula\":\"x\",\"start\":-1,\"length\":1}"),
        with("\"problem\":null", "\"problem\":{\"formula\":\"x\",\"start\":0.5,\"length\":1}"),
        with("\"problem\":null", "\"problem\":{\"formula\":\"x\",\"start\":0}"),
        with("\"problem\":null", "\"problem\":{\"formula\":\"x\",\"start\":0,\"length\":{}}"),
        with("\"12\"", "\"1\x80\""),  // not UTF-8
        with("\"12\"", "\"\\ud800\\u\""),
        with("\"12\"", "{\"a\":{\"b\":{\"c\":{}}}}"),
        with("\"12\"", std::string(100000, '[')),  // deep nesting stops at once
    };
    for (const std::string& row : rows) {
        SCOPED_TRACE(row.substr(0, 120));
        EXPECT_FALSE(parseHistoryLine(row));
    }
}
