#pragma once

#include "platform/locales.h"

#include <functional>

// Locale data from ICU, which carries its own, so any locale works whether or not the system
// has generated it. The process locale is never read or set.
class IcuLocales final : public Locales
{
public:
    // Reads a variable of the environment; null when it is unset.
    using Environment = std::function<const char*(const char* name)>;

    // The user's locale is the first of LC_ALL, LC_NUMERIC and LANG that is set and not empty.
    explicit IcuLocales(Environment environment);

    std::optional<char16_t> decimalPoint(std::u16string_view name) const override;
    char16_t userDecimalPoint() const override;
    // By gettext's rules: see posixLanguageWishes.
    std::vector<std::string> languageWishes() const override;

private:
    Environment m_environment;
};
