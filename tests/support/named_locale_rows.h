#pragma once

#include <optional>
#include <string>

// Locale names and their decimal separators, which every implementation of Locales must give
// alike; nothing for a name the system has no data for.
struct NamedLocaleRow
{
    std::u16string name;
    std::optional<char16_t> decimalPoint;
};

inline const NamedLocaleRow NamedLocaleRows[] = {
    {u"de_DE", u','},
    {u"de-DE", u','},
    {u"de", u','},
    {u"de_DE.UTF-8", u','},
    {u"de_DE@euro", u','},
    {u"fr_FR", u','},
    {u"en_US", u'.'},
    {u"en_GB.UTF-8", u'.'},
    {u"C", u'.'},
    {u"POSIX", u'.'},
    {u"C.UTF-8", u'.'},
    {u"xx_nowhere", std::nullopt},
    {u"xx_YY", std::nullopt},
    {u"qq", std::nullopt},
    {u"", std::nullopt},
    {u"de DE", std::nullopt},
    {u"d\u00e9_DE", std::nullopt},
    {std::u16string(u"de\0DE", 5), std::nullopt},
};
