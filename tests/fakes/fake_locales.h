#pragma once

#include "platform/locales.h"

#include <map>
#include <string>

// A few locales by name, and a user's locale that a test sets.
class FakeLocales final : public Locales
{
public:
    std::map<std::u16string, char16_t, std::less<>> known = {
        {u"C", u'.'}, {u"de_DE", u','}, {u"en_US", u'.'}};
    char16_t user = u'.';

    std::optional<char16_t> decimalPoint(std::u16string_view name) const override
    {
        const auto found = known.find(name);
        return found == known.end() ? std::nullopt : std::optional(found->second);
    }
    char16_t userDecimalPoint() const override { return user; }
};
