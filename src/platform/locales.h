#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the system knows of locales: the decimal separator of displayed numbers, and the
// languages the user reads.
class Locales
{
public:
    virtual ~Locales() = default;
    // The decimal separator of the locale `name`, written the POSIX way (de_DE, de_DE.UTF-8) or
    // the BCP 47 way (de-DE); "C" and "POSIX" have a period. Nothing when the system has no
    // data for the name's language. Never throws.
    virtual std::optional<char16_t> decimalPoint(std::u16string_view name) const = 0;
    // The decimal separator of the user's locale; a period when that cannot be told.
    virtual char16_t userDecimalPoint() const = 0;
    // The user's languages, most wanted first, as the system names them (de_DE.UTF-8, de-DE);
    // none when the system says nothing, which means English.
    virtual std::vector<std::string> languageWishes() const { return {}; }
};
