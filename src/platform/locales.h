#pragma once

#include <optional>
#include <string_view>

// What the system knows of locales: the decimal separator of displayed numbers.
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
};
