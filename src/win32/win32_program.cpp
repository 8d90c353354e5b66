#include "win32/win32_program.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"

#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "text/utf8.h"

#include <algorithm>
#include <cstdlib>
#include <string>

Win32Program::Win32Program(HINSTANCE instance, Win32Accessibility& accessibility,
                           const Catalog& catalog)
    : m_form1Table(form1::Table, catalog),
      m_frmAboutTable(frmabout::Table, catalog),
      m_frmHistoryTable(frmhistory::Table, catalog),
      m_form1(m_form1Table.table(), FormId::Form1, *this, accessibility, instance),
      m_frmAbout(m_frmAboutTable.table(), FormId::frmAbout, *this, accessibility, instance),
      m_frmHistory(m_frmHistoryTable.table(), FormId::frmHistory, *this, accessibility,
                   instance)
{
}

Win32FormWindow& Win32Program::window(FormId form)
{
    switch (form) {
    case FormId::frmAbout:
        return m_frmAbout;
    case FormId::frmHistory:
        return m_frmHistory;
    case FormId::Form1:
        break;
    }
    return m_form1;
}

int Win32Program::run()
{
    m_form1.load(nullptr);
    MSG message{};
    BOOL status = 0;
    while ((status = GetMessageW(&message, nullptr, 0, 0)) > 0)
        route(message);
    m_frmHistory.discard();
    m_frmAbout.discard();
    m_form1.discard();
    if (m_failure)
        std::rethrow_exception(m_failure);
    return status == 0 ? static_cast<int>(message.wParam) : EXIT_FAILURE;
}

void Win32Program::route(MSG& message)
{
    const HWND active = GetActiveWindow();
    const auto all = windows();
    const bool isOurs = active != nullptr &&
                        std::any_of(all.begin(), all.end(),
                                    [active](const auto* w) { return w->window() == active; });
    if (isOurs && IsDialogMessageW(active, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Program::show(FormId form)
{
    Win32FormWindow& shown = window(form);
    if (shown.isLoaded()) {
        shown.bringToFront();
        return;
    }
    // Over the window the user came from, when there is one.
    const HWND active = GetActiveWindow();
    shown.load(active != nullptr ? active : m_form1.window());
}

void Win32Program::destroyed(FormId form)
{
    const auto all = windows();
    if (std::none_of(all.begin(), all.end(), [&](const Win32FormWindow* w) {
            return w != &window(form) && w->isLoaded();
        }))
        PostQuitMessage(EXIT_SUCCESS);
}

void Win32Program::fail(std::exception_ptr error)
{
    if (!m_failure)
        m_failure = error;
    PostQuitMessage(EXIT_FAILURE);
}

void Win32Program::endSession()
{
    // Form1 first: its Form_Unload stores the input. Each runs once, as a closed window is
    // gone.
    for (Win32FormWindow* const window : windows()) {
        if (window->isLoaded())
            window->unload();
    }
}

int runReportingFailure(MessageBox& messageBox, const std::function<int()>& program,
                        const Catalog& catalog)
{
    const std::u16string_view prompt = catalog.text(FatalErrorText);
    try {
        return program();
    } catch (const std::exception& error) {
        messageBox.show(formatMessage(prompt, {utf8::decode(error.what())}));
    } catch (...) {
        messageBox.show(formatMessage(prompt, {catalog.text(UnknownErrorText)}));
    }
    return EXIT_FAILURE;
}
