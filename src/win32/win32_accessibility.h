#pragma once

#include "win32/win32_handles.h"
#include "win32/win32_windows.h"

#include <oleacc.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What screen readers learn about controls beyond what Windows tells them by itself, through
// Dynamic Annotation. Where the annotation service is missing, each call does nothing and the
// controls keep their standard names. Needs COM on the thread, as the window thread has it.
class Win32Accessibility
{
public:
    Win32Accessibility();

    void setName(HWND control, std::wstring_view name);
    void setDescription(HWND control, std::wstring_view description);
    // Names the rows of a list view, child 1 the first; the rows past them up to `before`, the
    // count named last time, lose their names.
    void setChildNames(HWND control, const std::vector<std::wstring>& names, std::size_t before);
    // Marks `control` as a polite live region: its new texts are read out when the reader is
    // idle, without moving the user's focus. Raise `announce` after each change of its text.
    void makeLiveRegion(HWND control);
    static void announce(HWND control);
    // Drops every annotation of `control`, before it is destroyed.
    void forget(HWND control);

private:
    ComPtr<IAccPropServices> m_services;
};
