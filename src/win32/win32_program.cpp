#include "win32/win32_program.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"

#include "text/utf8.h"

#include <cstdlib>
#include <string>

Win32Program::Win32Program(HINSTANCE instance, Win32Accessibility& accessibility)
    : m_form1(form1::Table, FormId::Form1, *this, accessibility, instance),
      m_frmAbout(frmabout::Table, FormId::frmAbout, *this, accessibility, instance)
{
}

Win32FormWindow& Win32Program::window(FormId form)
{
    return form == FormId::Form1 ? m_form1 : m_frmAbout;
}

int Win32Program::run()
{
    m_form1.load(nullptr);
    MSG message{};
    BOOL status = 0;
    while ((status = GetMessageW(&message, nullptr, 0, 0)) > 0)
        route(message);
    m_frmAbout.discard();
    m_form1.discard();
    if (m_failure)
        std::rethrow_exception(m_failure);
    return status == 0 ? static_cast<int>(message.wParam) : EXIT_FAILURE;
}

void Win32Program::route(MSG& message)
{
    const HWND active = GetActiveWindow();
    const bool isOurs = active != nullptr &&
                        (active == m_form1.window() || active == m_frmAbout.window());
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
    const Win32FormWindow& other = form == FormId::Form1 ? m_frmAbout : m_form1;
    shown.load(other.window());  // over the window the user came from, when there is one
}

void Win32Program::destroyed(FormId form)
{
    const Win32FormWindow& other = form == FormId::Form1 ? m_frmAbout : m_form1;
    if (!other.isLoaded())
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
    for (Win32FormWindow* const window : {&m_form1, &m_frmAbout}) {
        if (window->isLoaded())
            window->unload();
    }
}

int runReportingFailure(MessageBox& messageBox, const std::function<int()>& program)
{
    constexpr char16_t Prompt[] = u"Sumwright must close because of an error:\n\n";
    try {
        return program();
    } catch (const std::exception& error) {
        messageBox.show(Prompt + utf8::decode(error.what()));
    } catch (...) {
        messageBox.show(std::u16string(Prompt) + u"An unknown error occurred.");
    }
    return EXIT_FAILURE;
}
