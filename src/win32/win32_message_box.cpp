#include "win32/win32_message_box.h"

#include "win32/win32_text.h"
#include "win32/win32_windows.h"

#include <utility>

Win32MessageBox::Win32MessageBox(std::u16string title) : m_title(std::move(title)) {}

void Win32MessageBox::show(const std::u16string& prompt)
{
    // Owned by the active window, so the user cannot press the button that opened it again
    // while it is up; none is active when the program is ending.
    MessageBoxW(GetActiveWindow(), toWide(prompt).c_str(), toWide(m_title).c_str(), MB_OK);
}

bool Win32MessageBox::confirm(const std::u16string& prompt)
{
    // No is the default: a slip of Enter deletes nothing.
    return MessageBoxW(GetActiveWindow(), toWide(prompt).c_str(), toWide(m_title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}
