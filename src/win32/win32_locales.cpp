#include "win32/win32_locales.h"

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <string>

namespace {

std::optional<char16_t> decimalPointOf(const wchar_t* localeName)
{
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(localeName, LOCALE_SDECIMAL, separator, 8) == 0)
        return std::nullopt;
    return separator[0] == L'\0' ? u'.' : static_cast<char16_t>(separator[0]);
}

// The BCP 47 name Windows uses for a POSIX or BCP 47 locale name, without codeset or modifier;
// LOCALE_NAME_INVARIANT for C and POSIX; nothing for a name Windows cannot have.
std::optional<std::wstring> windowsLocaleName(std::u16string_view name)
{
    const std::u16string_view base = name.substr(0, name.find_first_of(u".@"));
    if (base == u"C" || base == u"POSIX")
        return std::wstring(LOCALE_NAME_INVARIANT);
    std::wstring windowsName;
    for (const char16_t c : base) {
        const bool isNameCharacter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
            || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!isNameCharacter)
            return std::nullopt;
        windowsName.push_back(c == u'_' ? L'-' : static_cast<wchar_t>(c));
    }
    if (windowsName.empty() || IsValidLocaleName(windowsName.c_str()) == FALSE)
        return std::nullopt;
    return windowsName;
}

}  // namespace

std::optional<char16_t> Win32Locales::decimalPoint(std::u16string_view name) const
{
    const std::optional<std::wstring> windowsName = windowsLocaleName(name);
    return windowsName ? decimalPointOf(windowsName->c_str()) : std::nullopt;
}

char16_t Win32Locales::userDecimalPoint() const
{
    return decimalPointOf(LOCALE_NAME_USER_DEFAULT).value_or(u'.');
}

std::vector<std::string> Win32Locales::languageWishes() const
{
    ULONG count = 0;
    ULONG size = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0)
        return {};
    std::wstring names(size, L'\0');
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size))
        return {};
    // A list of names, each ending in a zero, the list in another; tags are ASCII.
    std::vector<std::string> wishes;
    std::string name;
    for (const wchar_t c : names) {
        if (c != L'\0') {
            name += c < 0x80 ? static_cast<char>(c) : '?';
        } else if (!name.empty()) {
            wishes.push_back(std::move(name));
            name.clear();
        }
    }
    return wishes;
}
