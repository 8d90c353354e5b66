#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

struct Row
{
    const char* name;
    QStringList args;
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
        EXPECT_EQ(runCli(row.args, in, out, err, QLocale::c()), ExitNotSuccessful);
        EXPECT_EQ(out.str(), row.out);
        EXPECT_EQ(err.str(), "");
    }
}

QString fromUnits(std::u16string_view units)
{
    return QString::fromStdU16String(std::u16string(units));
}

const std::string InvalidMain =
    "Result:  Error\n"
    "Status: The formula contains invalid symbols or functions, or no formula has been entered.\n";
const std::string InvalidMainJson =
    R"({"main":" Error","x":"","y":"","z":"","status":"The formula contains invalid symbols or )"
    R"(functions, or no formula has been entered."})" "\n";
const std::string TooLongMain =
    "Z:\nY:\nX:\nResult:  Error\n"
    "Status: The formula is too long: a formula may have at most 32767 characters.\n";

}  // namespace

TEST(CliHostile, ReportsForeignAndHugeArguments)
{
    const std::string emptied = "Z: \nY: \nX: \n";
    expectRows({
        {"NUL", {fromUnits(std::u16string(u"1\0+2", 4))}, {}, emptied + InvalidMain},
        {"lone surrogate", {fromUnits(u"\xD800")}, {}, emptied + InvalidMain},
        {"right-to-left mark", {fromUnits(u"\u200F" u"1")}, {}, emptied + InvalidMain},
        {"escape character", {fromUnits(u"1\x1B[2J")}, {}, emptied + InvalidMain},
        {"a megabyte", {QString(1 << 20, u'1')}, {}, TooLongMain},
        {"100,000 nested parentheses",
         {QString(100000, u'(') + u'1' + QString(100000, u')')}, {}, TooLongMain},
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
        {"escaped NUL", {"--batch"}, R"({"main":"1\u0000"})" "\n", InvalidMainJson},
        {"escaped lone surrogate", {"--batch"}, R"({"main":"\udc00"})" "\n", InvalidMainJson},
        {"right-to-left mark", {"--batch"}, "{\"main\":\"\xE2\x80\x8F" "1\"}\n",
         InvalidMainJson},
        // JSON has no raw control characters in strings; taken as the formula's own
        {"raw control character", {"--batch"}, "{\"main\":\"1\x01\"}\n", InvalidMainJson},
        {"a megabyte",
         {"--batch"}, hugeLine,
         R"({"main":" Error","x":null,"y":null,"z":null,"status":"The formula is too long: )"
         R"(a formula may have at most 32767 characters."})" "\n"},
    });

    // Lines that are no JSON at all get one error line each, and the lines after them their
    // answer.
    const std::string broken[] = {
        deepJson,
        std::string("{\"main\":\"1\xFF\xFE\"}\n"),  // not UTF-8
        std::string("{\"main\":\0\"1\"}\n", 14),     // a raw NUL byte
    };
    for (const std::string& line : broken) {
        std::istringstream in(line + R"({"main":"2"})" "\n");
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runCli({"--batch"}, in, out, err, QLocale::c()), ExitNotSuccessful);
        std::istringstream lines(out.str());
        std::string first;
        std::string second;
        std::getline(lines, first);
        std::getline(lines, second);
        EXPECT_TRUE(errorLine(first)) << first;
        EXPECT_EQ(second,
                  R"({"main":"2","x":"","y":"","z":"","status":" Evaluation successful."})");
    }
}
