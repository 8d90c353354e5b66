#pragma once

#include <QLocale>
#include <QStringList>

#include <iosfwd>

// Exit statuses of sumwright-cli.
enum ExitStatus : int { ExitSuccess = 0, ExitNotSuccessful = 1, ExitUsage = 2 };

// Runs sumwright-cli on its arguments (program name excluded). `userLocale` gives the decimal
// separator unless --locale names one. Writes results to `out`, problems to `err`; reads JSON
// Lines from `in` only with --batch. Never shows UI.
int runCli(const QStringList& arguments, std::istream& in, std::ostream& out, std::ostream& err,
           const QLocale& userLocale);
