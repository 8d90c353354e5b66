#pragma once

#include "platform/process_launcher.h"

// Starts programs with CreateProcessW. Windows only.
class Win32ProcessLauncher final : public ProcessLauncher
{
public:
    void start(const std::u16string& program, const std::vector<std::u16string>& args) override;
};

// The command line that hands `program` and `args` to a program's argv unchanged: each is
// quoted, so a path with spaces is never split.
std::u16string windowsCommandLine(const std::u16string& program,
                                  const std::vector<std::u16string>& args);
