#pragma once

#include "forms/localized_table.h"
#include "platform/message_box.h"
#include "win32/win32_form_window.h"

#include <array>
#include <exception>
#include <functional>

// The program's windows, Form1, frmAbout and frmHistory, and its message loop. Form1 opens at
// start, the others when they are shown; the program ends when none is open.
class Win32Program final : public Win32FormHost
{
public:
    // The windows speak the language of `catalog`, which must outlive the program.
    Win32Program(HINSTANCE instance, Win32Accessibility& accessibility,
                 const Catalog& catalog = englishCatalog());

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

private:
    // Every window, Form1 first.
    std::array<Win32FormWindow*, 3> windows() { return {&m_form1, &m_frmAbout, &m_frmHistory}; }
    std::array<const Win32FormWindow*, 3> windows() const
    {
        return {&m_form1, &m_frmAbout, &m_frmHistory};
    }

    bool hasFailed() const override { return static_cast<bool>(m_failure); }

    LocalizedTable m_form1Table;
    LocalizedTable m_frmAboutTable;
    LocalizedTable m_frmHistoryTable;
    Win32FormWindow m_form1;
    Win32FormWindow m_frmAbout;
    Win32FormWindow m_frmHistory;
    std::exception_ptr m_failure;
};

// Runs `program`; an error that no handler expected is shown to the user in one message box,
// and the result is then EXIT_FAILURE.
int runReportingFailure(MessageBox& messageBox, const std::function<int()>& program,
                        const Catalog& catalog = englishCatalog());
