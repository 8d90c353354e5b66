#include "cli/batch_request.h"

#include "eval/limits.h"
#include "reckoner/reckoner_evaluator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string units(std::initializer_list<char16_t> list) { return std::u16string(list); }

}  // namespace

TEST(BatchRequest, GivesTheExactUnitsOfEveryEscape)
{
    struct Row { std::string line; Formulas expected; };
    const Row rows[] = {
        {R"({})", {u"", u"", u"", u""}},
        {R"({"main":"\ud800"})", {units({0xD800}), u"", u"", u""}},
        {R"({"main":"a\uDC00b","x":"\ud83d\ude00\ud800"})",
         {units({u'a', 0xDC00, u'b'}), units({0xD83D, 0xDE00, 0xD800}), u"", u""}},
        // a high surrogate before another high one is alone; the second one starts a pair
        {R"({"main":"\ud800\ud800\udc00"})", {units({0xD800, 0xD800, 0xDC00}), u"", u"", u""}},
        // raw two- and four-byte characters and short escapes before the lone unit
        {"{\"main\":\"\xC3\xA9\\n\xF0\x9F\x98\x80\\ud800\",\"y\":\"\\udfff\"}",
         {units({0xE9, u'\n', 0xD83D, 0xDE00, 0xD800}), u"", units({0xDFFF}), u""}},
        // a real U+FFFD stays what it is
        {R"({"main":"\ufffd\udbff","z":"\ufffd"})",
         {units({0xFFFD, 0xDBFF}), u"", u"", u"\uFFFD"}},
        // strings that are keys count too
        {R"({"y":"1","main":"\udc01"})", {units({0xDC01}), u"", u"1", u""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        Formulas formulas;
        EXPECT_EQ(readRequest(row.line, formulas), u"");
        EXPECT_EQ(formulas.main, row.expected.main);
        EXPECT_EQ(formulas.x, row.expected.x);
        EXPECT_EQ(formulas.y, row.expected.y);
        EXPECT_EQ(formulas.z, row.expected.z);
    }
}

TEST(BatchRequest, SaysWhyALineIsNoRequestAndReadsNothingFromIt)
{
    struct Row { std::string line; std::u16string problem; };
    const Row rows[] = {
        {R"({"mainx":"1"})", u"unknown key \"mainx\""},
        {R"({"main":"1","Main":"2"})", u"unknown key \"Main\""},
        {R"({"main":"1","\ud800":2})", u"unknown key \"\xD800\""},
        {R"({"note":{"main":"1"}})", u"unknown key \"note\""},
        {R"(["main"])", u"not a JSON object"},
        {R"("main")", u"not a JSON object"},
        {R"({"z":1,"x":null})", u"\"z\" is not a string"},
        {R"({"main":"1","x":["2"]})", u"\"x\" is not a string"},
        {"{\"main\":\"1\x01\"}",
         u"not JSON: column 11: syntax error while parsing value - invalid string: control "
         u"character U+0001 (SOH) must be escaped to \\u0001; last read: '\"1<U+0001>'"},
        {"{\"main\":\"1\t\"}", u""},  // only the prefix is checked below
        {R"({"mainx":"1"} {})", u""},
        {"{\"main\":" + std::string(2000, '[') + std::string(2000, ']') + "}",
         u"not JSON: nested more than 1000 levels deep"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line.substr(0, 40));
        Formulas formulas{u"kept", u"", u"", u""};  // what a failed line leaves: nothing
        const std::u16string problem = readRequest(row.line, formulas);
        if (row.problem.empty())
            EXPECT_EQ(problem.rfind(u"not JSON: ", 0), 0u);
        else
            EXPECT_EQ(problem, row.problem);
        EXPECT_EQ(formulas.main, u"");
    }
}

TEST(BatchRequest, ReadsTheCommonRequestAsTheJsonParserDoes)
{
    const std::string lines[] = {
        R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})",
        " \t{ \"main\" :\r\"1\" , \"x\":\"2\" }\t ",
        R"({"main":"1","main":"2"})",  // the last one counts
        R"({"main":"\"\\\/\b\f\n\r\t\u00e9\u00E9\ud800\udc00\udfff"})",
        "{\"main\":\"\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xed\x9f\xbf\xee\x80\x80\xf0\x90\x80\x80"
        "\xf4\x8f\xbf\xbf\"}",
        // no UTF-8: an overlong form, an encoded surrogate, past U+10FFFF, a cut-off sequence
        "{\"main\":\"\xc0\x80\"}", "{\"main\":\"\xe0\x9f\xbf\"}",
        "{\"main\":\"\xed\xa0\x80\"}", "{\"main\":\"\xf4\x90\x80\x80\"}",
        "{\"main\":\"\xf0\x8f\xbf\xbf\"}", "{\"main\":\"\xe2\x82\"}",
        "{\"main\":\"1\t\"}", "\xef\xbb\xbf{\"main\":\"1\"}",
        R"({"main":"1",})", R"({"main" "1"})", R"({"main":"1"}x)", R"({"main":"1")",
        R"({"main":"\x"})", R"({"main":"\u12"})", R"({"\u006dain":"1"})", R"({"Main":"1"})",
        R"({"main":1})", "", std::string("{\"main\":\"1\"} \0x\x01", 16),
        "\xef\xbb{\"main\":\"1\"}", " \xef\xbb\xbf{\"main\":\"1\"}", R"({"m\u0061\u0069n":"1"})",
        R"({"mai\n":"1"})",
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        Formulas shortcut;
        Formulas parsed;
        const std::u16string problem = parseRequest(line, parsed);
        EXPECT_EQ(readRequest(line, shortcut), problem);
        EXPECT_EQ(shortcut.main, parsed.main);
        EXPECT_EQ(shortcut.x, parsed.x);
        EXPECT_EQ(shortcut.y, parsed.y);
        EXPECT_EQ(shortcut.z, parsed.z);
        // every request, so that a line too long to hold is read as it comes
        RequestScanner scanner(shortcut);
        EXPECT_EQ(scanner.feed(line) && scanner.finish(), problem.empty());
    }
}

TEST(BatchRequest, AFormulaNotHeldWholeGivesTheOutcomeOfTheWholeText)
{
    constexpr std::size_t Held = 8;  // units of a formula held whole
    const std::string spaces(100, ' ');
    const std::string limit(MaxFormulaLength, '1');
    struct Row { const char* name; std::string line; };
    const Row rows[] = {
        {"a problem after many spaces", R"({"main":")" + spaces + R"(2*(3+"})"},
        {"a variable without a formula", R"({"main":")" + spaces + "1+x" + spaces + R"("})"},
        {"a blank formula that is used", R"({"main":"z*2","z":")" + spaces + R"("})"},
        {"too long, a space where the limit is passed",
         R"({"x":")" + spaces + limit + " 1" + spaces + R"(","main":"x"})"},
        {"too long in two formulas", R"({"z":")" + limit + R"(22","main":" )" + limit + R"(3"})"},
        {"at the limit, spaces after it", R"({"main":"  )" + limit + spaces + R"("})"},
        {"short formulas", R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Formulas whole;
        ASSERT_EQ(readRequest(row.line, whole), u"");
        ReckonerEvaluator evaluator;
        const Outcome expected = runEvaluation(evaluator, whole, u'.');

        Formulas held;
        RequestScanner scanner(held, Held);
        // in pieces, as a long line comes
        for (std::size_t at = 0; at < row.line.size(); at += 7)
            ASSERT_TRUE(scanner.feed(std::string_view(row.line).substr(at, 7)));
        ASSERT_TRUE(scanner.finish());
        EXPECT_LE(held.main.size(), Held + MaxFormulaLength + 1);
        Outcome got = runEvaluation(evaluator, held, u'.');
        scanner.placeProblem(got);
        EXPECT_EQ(got.main, expected.main);
        EXPECT_EQ(got.x, expected.x);
        EXPECT_EQ(got.y, expected.y);
        EXPECT_EQ(got.z, expected.z);
        EXPECT_EQ(got.status, expected.status);
        EXPECT_EQ(got.problem, expected.problem);
    }
}
