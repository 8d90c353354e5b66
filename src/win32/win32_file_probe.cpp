#include "win32/win32_file_probe.h"

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <string>

std::u16string Win32FileProbe::findFile(const std::u16string& path)
{
    const std::wstring widePath(path.begin(), path.end());
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    constexpr DWORD NotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN
        | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    if (path.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & NotOrdinary) != 0)
        return {};
    const std::size_t slash = path.find_last_of(u"\\/:");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}
