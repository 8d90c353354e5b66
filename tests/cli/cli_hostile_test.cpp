#include "cli/cli.h"

#include "fakes/fake_locales.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    const char* name;
    std::vector<std::u16string> args;
    std::string input;
    std::string out;
};

void expectRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::istringstream in(row.input);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCli(row.args, in, out, err, FakeLocales()), ExitNotSuccessful);
        EXPECT_EQ(out.str(), row.out);
        EXPECT_EQ(err.str(), "");
    }
}

const std::string InvalidMain =
    "Result:  Error\n"
    "Status: The formula contains invalid symbols or functions, or no formula has been entered.\n";
// The unit of the main formula at `start` is the problem.
std::string invalidMainJson(int start)
{
    return R"({"main":" Error","x":"","y":"","z":"","status":"The formula contains invalid )"
           R"(symbols or functions, or no formula has been entered.",)"
           R"("problem":{"formula":"main","start":)" + std::to_string(start) +
           R"(,"length":1}})" "\n";
}
const std::string TooLongMain =
    "Z:\nY:\nX:\nResult:  Error\n"
    "Status: The formula is too long: a formula may have at most 32767 characters.\n";

}  // namespace

TEST(CliHostile, ReportsForeignAndHugeArguments)
{
    const std::string emptied = "Z: \nY: \nX: \n";
    expectRows({
        // characters that would act on the terminal are told back as U+FFFD
        {"NUL", {std::u16string(u"1\0+2", 4)}, {},
         emptied + InvalidMain + "Formula: 1\uFFFD+2\n" "          ^\n"},
        {"lone surrogate", {u"\xD800"}, {}, emptied + InvalidMain + "Formula: \uFFFD\n" "         ^\n"},
        {"right-to-left mark", {u"\u200F" u"1"}, {},
         emptied + InvalidMain + "Formula: \uFFFD" "1\n" "         ^\n"},
        {"escape character", {u"1\x1B[2J"}, {},
         emptied + InvalidMain + "Formula: 1\uFFFD[2J\n" "          ^\n"},
        // an excerpt of a long line, around its problem
        {"a megabyte", {std::u16string(1 << 20, u'1')}, {},
         TooLongMain + "Formula: ..." + std::string(120, '1') + "...\n" +
             std::string(52, ' ') + '^' + std::string(79, '~') + '\n'},
        {"100,000 nested parentheses",
         {std::u16string(100000, u'(') + u'1' + std::u16string(100000, u')')}, {},
         TooLongMain + "Formula: ..." + std::string(40, '(') + std::string(80, '(') + "...\n" +
             std::string(52, ' ') + '^' + std::string(79, '~') + '\n'},
    });
}

TEST(CliHostile, AnswersEveryBatchLineWhateverItHolds)
{
    const std::string deepJson = std::string(100000, '[') + std::string(100000, ']') + "\n";
    const std::string hugeLine = R"({"main":")" + std::string(1 << 20, '1') + "\"}\n";
    const auto errorLine = [](const std::string& line) {
        return line.rfind(R"({"error":"not JSON: )", 0) == 0;
    };
    expectRows({
        {"escaped NUL", {u"--batch"}, R"({"main":"1\u0000"})" "\n", invalidMainJson(1)},
        {"escaped lone surrogate", {u"--batch"}, R"({"main":"\udc00"})" "\n", invalidMainJson(0)},
        {"right-to-left mark", {u"--batch"}, "{\"main\":\"\xE2\x80\x8F" "1\"}\n",
         invalidMainJson(0)},
        {"a megabyte",
         {u"--batch"}, hugeLine,
         R"({"main":" Error","x":null,"y":null,"z":null,"status":"The formula is too long: )"
         R"(a formula may have at most 32767 characters.",)"
         R"("problem":{"formula":"main","start":32767,"length":1015809}})" "\n"},
    });

    // Lines that are no JSON at all get one error line each, and the lines after them their
    // answer.
    const std::string broken[] = {
        deepJson,
        std::string("{\"main\":\"1\xFF\xFE\"}\n"),  // not UTF-8
        std::string("{\"main\":\0\"1\"}\n", 14),     // a raw NUL byte
        std::string("{\"main\":\"1\x01\"}\n"),     // JSON strings hold no raw control characters
    };
    for (const std::string& line : broken) {
        std::istringstream in(line + R"({"main":"2"})" "\n");
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCli({u"--batch"}, in, out, err, FakeLocales()), ExitNotSuccessful);
        std::istringstream lines(out.str());
        std::string first;
        std::string second;
        std::getline(lines, first);
        std::getline(lines, second);
        EXPECT_TRUE(errorLine(first)) << first;
        EXPECT_EQ(second,
                  R"({"main":"2","x":"","y":"","z":"","status":" Evaluation successful.",)"
                  R"("problem":null})");
    }
}
