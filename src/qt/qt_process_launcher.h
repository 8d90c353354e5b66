#pragma once

#include "platform/process_launcher.h"

// ProcessLauncher on QProcess::startDetached.
class QtProcessLauncher final : public ProcessLauncher
{
public:
    void start(const std::u16string& program, const std::vector<std::u16string>& args) override;
};
