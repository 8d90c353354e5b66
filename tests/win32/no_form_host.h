#pragma once

#include "win32/win32_form_window.h"

// A host for a window tested alone: it shows nothing else and keeps no failures.
class NoHost final : public Win32FormHost
{
public:
    void show(FormId) override {}
    void destroyed(FormId) override {}
    void fail(std::exception_ptr) override {}
    bool hasFailed() const override { return false; }
    void endSession() override {}
};
