#pragma once

#include "platform/locales.h"

// Locale data through GetLocaleInfoEx. The user's locale carries the user's own settings, as
// Control Panel shows them. Windows only.
class Win32Locales final : public Locales
{
public:
    std::optional<char16_t> decimalPoint(std::u16string_view name) const override;
    char16_t userDecimalPoint() const override;
    // The display languages of the user's settings, most wanted first.
    std::vector<std::string> languageWishes() const override;
};
