#pragma once

#include "platform/history_file.h"
#include "platform/locales.h"

#include <iosfwd>
#include <string>
#include <vector>

// Exit statuses of sumwright-cli.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitNotSuccessful = 1,
    ExitUsage = 2,
    ExitInternalError = 3,
};

// Runs sumwright-cli on its arguments (program name excluded). The decimal separator is the
// user's unless --locale names a locale. Writes UTF-8 results to `out`, problems to `err`;
// reads JSON Lines from `in` only with --batch, whose default number of jobs is `usableCores`,
// and `history` (none: nothing kept) only with --history. Never shows UI, never writes the
// history.
int runCli(const std::vector<std::u16string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err, const Locales& locales, HistoryFile* history = nullptr,
           unsigned usableCores = 1);
