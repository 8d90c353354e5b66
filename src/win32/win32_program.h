#pragma once

#include "platform/message_box.h"
#include "win32/win32_form_window.h"

#include <exception>
#include <functional>

// The program's two windows, Form1 and frmAbout, and its message loop. Form1 opens at start;
// frmAbout when it is shown; the program ends when neither is open.
class Win32Program final : public Win32FormHost
{
public:
    Win32Program(HINSTANCE instance, Win32Accessibility& accessibility);

    Win32FormWindow& window(FormId form);

    // Loads Form1 and runs the message loop until no window is open. Rethrows the first
    // exception a handler threw, once the windows are gone.
    int run();
    // Hands one message of the loop on: keys through the dialog manager of the window the user
    // is in, so that Tab, Enter, Esc and access keys work there as in any dialog.
    void route(MSG& message);

    void show(FormId form) override;
    void destroyed(FormId form) override;
    void fail(std::exception_ptr error) override;
    void endSession() override;
    bool hasFailed() const override { return static_cast<bool>(m_failure); }

private:
    Win32FormWindow m_form1;
    Win32FormWindow m_frmAbout;
    std::exception_ptr m_failure;
};

// Runs `program`; an error that no handler expected is shown to the user in one message box,
// and the result is then EXIT_FAILURE.
int runReportingFailure(MessageBox& messageBox, const std::function<int()>& program);
