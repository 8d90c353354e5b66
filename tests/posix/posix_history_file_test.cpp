#include "posix/posix_history_file.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

TEST(PosixHistoryFile, KeepsTheHistoryInTheUsersDataFolder)
{
    struct Row
    {
        std::map<std::string, std::string> environment;
        std::string path;
    };
    const Row rows[] = {
        {{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/Sumwright/history.jsonl"},
        {{{"HOME", "/home/u"}}, "/home/u/.local/share/Sumwright/history.jsonl"},
        {{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}},
         "/home/u/.local/share/Sumwright/history.jsonl"},
        {{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},  // a relative folder is ignored
         "/home/u/.local/share/Sumwright/history.jsonl"},
        {{{"HOME", "home"}}, ""},
        {{}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(userHistoryPath([&row](const char* name) -> const char* {
                      const auto found = row.environment.find(name);
                      return found == row.environment.end() ? nullptr : found->second.c_str();
                  }),
                  row.path);
    }
}
