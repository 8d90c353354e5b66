#include "cli/cli.h"

#include "fakes/fake_history_file.h"
#include "fakes/fake_locales.h"
#include "history/history_entry.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

TEST(CliHistory, PrintsTheKeptEntriesOldestFirstAndNeverWrites)
{
    const HistoryEntry worked{1796685004,
                              {u"x^2+y", u"z+1.5", u"3", u"1.5"},
                              {u"12", u"3", u"3", u"1.5", SuccessText, std::nullopt}};
    const HistoryEntry failed{1796685064,
                              {u"1/\r\n(1-1)\xD800", u"", u"", u""},
                              {ErrorText, std::nullopt, std::nullopt, std::nullopt,
                               u" Division by zero.", Problem{Stage::Main, 0, 7}}};
    const HistoryEntry repeated{1796685100, worked.input, worked.output};
    const std::string kept = historyLine(worked) + "\n" + "damaged\n" + historyLine(failed)
        + "\n" + historyLine(repeated) + "\n";
    struct Row
    {
        std::vector<std::u16string> arguments;
        std::string content;
        std::string failWith;
        int status;
        std::string out;
        std::string err;
    };
    const Row rows[] = {
        {{u"--history"}, "", "", ExitSuccess, "", ""},
        {{u"--history"}, kept, "", ExitSuccess,
         "2026-12-07T23:10:04Z  x^2+y = 12\n"
         "2026-12-07T23:11:04Z  1/ (1-1)\xEF\xBF\xBD  Division by zero.\n"
         "2026-12-07T23:11:40Z  x^2+y = 12\n",
         ""},
        {{u"--json", u"--history"}, kept, "", ExitSuccess,
         historyLine(worked) + "\n" + historyLine(failed) + "\n" + historyLine(repeated) + "\n",
         ""},
        {{u"--history"}, "", "The history could not be read: it is a folder.", ExitNotSuccessful,
         "", "sumwright-cli: The history could not be read: it is a folder.\n"},
        {{u"--history", u"1+1"}, kept, "", ExitUsage, "",
         "sumwright-cli: --history prints what is kept and takes no formulas\n"
         "Try 'sumwright-cli --help'.\n"},
        {{u"--history", u"--batch"}, kept, "", ExitUsage, "",
         "sumwright-cli: --history prints what is kept and takes no formulas\n"
         "Try 'sumwright-cli --help'.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.out + row.err);
        FakeHistoryFile file;
        file.content = row.content;
        file.failWith = row.failWith;
        std::istringstream in;
        std::ostringstream out;
        std::ostringstream err;
        const FakeLocales locales;
        EXPECT_EQ(runCli(row.arguments, in, out, err, locales, &file), row.status);
        EXPECT_EQ(out.str(), row.out);
        EXPECT_EQ(err.str(), row.err);
        EXPECT_EQ(file.content, row.content);
        EXPECT_EQ(file.writes, 0);
    }
}
