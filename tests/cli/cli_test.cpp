#include "cli/cli.h"

#include "eval/json_text.h"
#include "fakes/fake_locales.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

using Arguments = std::vector<std::u16string>;

CliRun runWith(const Arguments& arguments, const std::string& input = {},
               char16_t userDecimalPoint = u'.', const std::vector<std::string>& languages = {})
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    FakeLocales locales;
    locales.user = userDecimalPoint;
    locales.wishes = languages;
    const int status = runCli(arguments, in, out, err, locales);
    return {status, out.str(), err.str()};
}

std::string joined(const Arguments& arguments)
{
    std::string out;
    for (const std::u16string& argument : arguments)
        out += std::string(argument.begin(), argument.end()) + ' ';
    return out;
}

}  // namespace

TEST(Cli, PrintsTheWorkedExampleInBothModes)
{
    Arguments formulas = {u"-x", u"z+1.5", u"-y", u"3", u"-z", u"1.5", u"x^2+y"};
    const CliRun plain = runWith(formulas);
    EXPECT_EQ(plain.status, ExitSuccess);
    EXPECT_EQ(plain.out, "Z: 1.5\nY: 3\nX: 3\nResult: 12\nStatus:  Evaluation successful.\n");
    EXPECT_EQ(plain.err, "");

    formulas.insert(formulas.begin(), u"--json");
    const CliRun json = runWith(formulas);
    EXPECT_EQ(json.status, ExitSuccess);
    EXPECT_EQ(json.out, R"({"main":"12","x":"3","y":"3","z":"1.5","status":" Evaluation successful.","problem":null})"
                        "\n");
}

TEST(Cli, ShowsUntouchedBoxesAsNothing)
{
    const CliRun plain = runWith({u"-y", u"1/0", u"-z", u"2", u"1"});
    EXPECT_EQ(plain.status, ExitNotSuccessful);
    EXPECT_EQ(plain.out, "Z: 2\nY:\nX:\nResult:  Error\nStatus: Calculation error: division by "
                         "zero, or some other impossible operation in formula Y.\n"
                         "Formula for Y: 1/0\n"
                         "                ^\n");
    const CliRun json = runWith({u"--json", u"-y", u"1/0", u"-z", u"2", u"1"});
    EXPECT_EQ(json.out, R"({"main":" Error","x":null,"y":null,"z":"2","status":"Calculation error: )"
                        R"(division by zero, or some other impossible operation in formula Y.",)"
                        R"("problem":{"formula":"y","start":1,"length":1}})"
                        "\n");
}

TEST(Cli, TakesTheDecimalSeparatorFromTheLocale)
{
    EXPECT_EQ(runWith({u"-z", u"1.5", u"z"}, {}, u',').out,
              "Z: 1,5\nY: \nX: \nResult: 1,5\nStatus:  Evaluation successful.\n");
    EXPECT_EQ(runWith({u"--locale", u"de_DE", u"--json", u"1/2"}).out,
              R"({"main":"0,5","x":"","y":"","z":"","status":" Evaluation successful.","problem":null})" "\n");
    EXPECT_EQ(runWith({u"--locale=en_US", u"--json", u"1/2"}, {}, u',').out,
              R"({"main":"0.5","x":"","y":"","z":"","status":" Evaluation successful.","problem":null})" "\n");
}

TEST(Cli, ReadsFormulasThatLookLikeOptions)
{
    struct Row { Arguments args; std::string result; };
    const Row rows[] = {
        {{u"-2^2"}, "Result: -4\n"},
        {{u"--", u"-x"}, "Result:  Error\n"},  // x has no formula
        {{u"-x", u"-3", u"--", u"-x"}, "Result: 3\n"},
        {{u"1", u"+", u"2"}, "Result: 3\n"},
        {{u"-sin(0)"}, "Result: 0\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(joined(row.args));
        const CliRun run = runWith(row.args);
        EXPECT_NE(run.out.find(row.result), std::string::npos) << run.out;
    }
}

TEST(Cli, RejectsBadUsage)
{
    const Arguments cases[] = {
        {u"-x"}, {u"--locale"}, {u"--frobnicate"}, {u"--batch", u"1+1"}, {u"--batch", u"-z", u"1"},
        {u"--locale", u"xx_nowhere", u"1"}, {u"--batch", u"--jobs"}, {u"--batch", u"--jobs", u"0"},
        {u"--batch", u"--jobs=257"}, {u"--batch", u"--jobs", u"-1"}, {u"--batch", u"--jobs=2x"},
    };
    for (const Arguments& args : cases) {
        SCOPED_TRACE(joined(args));
        const CliRun run = runWith(args);
        EXPECT_EQ(run.status, ExitUsage);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("sumwright-cli: "), std::string::npos);
    }
}

TEST(Cli, SpeaksTheUsersLanguageExceptWhereScriptsRead)
{
    const Arguments example = {u"-x", u"z+1.5", u"-y", u"3", u"-z", u"1.5", u"x^2+y"};
    const auto with = [](Arguments arguments, std::initializer_list<std::u16string> more) {
        arguments.insert(arguments.begin(), more);
        return arguments;
    };
    const std::string german =
        "Z: 1.5\nY: 3\nX: 3\nErgebnis: 12\nStatus:  Auswertung erfolgreich.\n";
    const std::string english =
        "Z: 1.5\nY: 3\nX: 3\nResult: 12\nStatus:  Evaluation successful.\n";
    const std::string json =
        R"({"main":"12","x":"3","y":"3","z":"1.5","status":" Evaluation successful.","problem":null})"
        "\n";
    const struct
    {
        std::vector<std::string> languages;
        Arguments arguments;
        int status;
        std::string out;
        std::string err;
    } rows[] = {
        {{"de_DE.UTF-8"}, example, ExitSuccess, german, ""},
        {{"sv", "de"}, example, ExitSuccess, german, ""},
        {{}, with(example, {u"--language", u"de_AT"}), ExitSuccess, german, ""},
        {{"de"}, with(example, {u"--language=en"}), ExitSuccess, english, ""},
        {{"de"}, with(example, {u"--json"}), ExitSuccess, json, ""},
        {{"de"}, {u"--batch"}, ExitSuccess, json, ""},
        {{"de"}, {u"--frobnicate"}, ExitUsage, "",
         "sumwright-cli: unbekannte Option --frobnicate\nVersuchen Sie »sumwright-cli --help«.\n"},
        {{"de"}, {u"--language", u"xx", u"1"}, ExitUsage, "",
         "sumwright-cli: unknown language xx\nTry 'sumwright-cli --help'.\n"},
    };
    const std::string request = R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})" "\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(joined(row.arguments));
        const CliRun run = runWith(row.arguments, request, u'.', row.languages);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, row.out);
        EXPECT_EQ(run.err, row.err);
    }
}

TEST(Cli, AnswersHelpAndVersion)
{
    EXPECT_EQ(runWith({u"--version"}).out, "sumwright-cli 1.0.6\n");
    const CliRun help = runWith({u"--help"});
    EXPECT_EQ(help.status, ExitSuccess);
    EXPECT_NE(help.out.find("Usage: sumwright-cli"), std::string::npos);
}

TEST(Cli, EvaluatesABatchLineByLine)
{
    const std::string input =
        R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})" "\n"
        "not json\n"
        R"({"main":"1/0"})" "\r\n"
        R"([1,2])" "\n"
        R"({"main":5})" "\n"
        "\n"
        R"({"main":"2*x","x":"\"\\\u00e9\ud83d\ude00"})" "\n"
        R"({"main":"y","y":"2","note":"a typo"})" "\n";
    const CliRun run = runWith({u"--batch"}, input);
    EXPECT_EQ(run.status, ExitNotSuccessful);
    std::istringstream lines(run.out);
    std::vector<std::string> got;
    for (std::string line; std::getline(lines, line);)
        got.push_back(line);
    ASSERT_EQ(got.size(), 8u) << run.out;
    EXPECT_EQ(got[0], R"({"main":"12","x":"3","y":"3","z":"1.5","status":" Evaluation successful.","problem":null})");
    EXPECT_EQ(got[1].rfind(R"({"error":"not JSON: )", 0), 0u) << got[1];
    EXPECT_EQ(got[2], R"({"main":" Error","x":"","y":"","z":"","status":"Calculation error: division by zero, or some other impossible operation.","problem":{"formula":"main","start":1,"length":1}})");
    EXPECT_EQ(got[3], R"({"error":"not a JSON object"})");
    EXPECT_EQ(got[4], R"({"error":"\"main\" is not a string"})");
    EXPECT_EQ(got[5].rfind(R"({"error":)", 0), 0u);
    EXPECT_EQ(got[6], R"({"main":" Error","x":null,"y":"","z":"","status":"The formula for X contains invalid symbols or functions, or no formula has been entered.","problem":{"formula":"x","start":0,"length":1}})");
    EXPECT_EQ(got[7], R"({"error":"unknown key \"note\""})");
}

TEST(JsonText, EscapesEveryUnitThatJsonCannotCarryAsIs)
{
    struct Row { std::u16string in; std::string out; };
    const Row rows[] = {
        {u"", R"("")"},
        {u" Error", R"(" Error")"},
        {u"a\"b\\c", R"("a\"b\\c")"},
        {u"\r\n\t", R"("\r\n\t")"},
        {std::u16string(1, u'\0') + u"\x1f", R"("\u0000\u001f")"},
        {u"\u00e9\u20ac", "\"\xc3\xa9\xe2\x82\xac\""},
        {u"\U0001F600", "\"\xf0\x9f\x98\x80\""},
        {std::u16string(1, char16_t(0xD800)) + u"x", R"("\ud800x")"},  // lone surrogate
        {std::u16string(1, char16_t(0xDC00)), R"("\udc00")"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.out);
        EXPECT_EQ(jsonString(row.in), row.out);
    }
}
