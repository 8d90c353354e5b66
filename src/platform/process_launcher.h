#pragma once

#include <string>
#include <vector>

class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;
    // Starts without waiting, in a normal window that takes the focus; the program path is
    // never split at spaces. Throws PlatformError when the program cannot start.
    virtual void start(const std::u16string& program, const std::vector<std::u16string>& args) = 0;
};
