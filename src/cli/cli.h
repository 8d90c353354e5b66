#pragma once

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
// reads JSON Lines from `in` only with --batch, whose default number of jobs is `usableCores`.
// Never shows UI.
int runCli(const std::vector<std::u16string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err, const Locales& locales, unsigned usableCores = 1);
