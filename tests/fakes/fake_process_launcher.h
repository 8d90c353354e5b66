#pragma once

#include "platform/platform_error.h"
#include "platform/process_launcher.h"

#include <utility>

class FakeProcessLauncher final : public ProcessLauncher
{
public:
    struct Start
    {
        std::u16string program;
        std::vector<std::u16string> args;
    };
    std::vector<Start> started;  // in order
    bool failNext = false;       // the next start throws PlatformError
    bool failAlways = false;

    void start(const std::u16string& program, const std::vector<std::u16string>& args) override
    {
        if (std::exchange(failNext, false) || failAlways)
            throw PlatformError("cannot start");
        started.push_back({program, args});
    }
};
