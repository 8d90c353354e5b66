#pragma once

#include "win32/win32_windows.h"

#include <string>
#include <string_view>

// Windows' wide characters are UTF-16 units, as the core's text is: these copy unit for unit.
inline std::wstring toWide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

inline std::u16string fromWide(std::wstring_view text)
{
    return std::u16string(text.begin(), text.end());
}

// The system's own text for an error code, in UTF-8, without the trailing line break.
std::string systemMessage(DWORD error);
