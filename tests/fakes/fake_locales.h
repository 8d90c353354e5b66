#pragma once

#include "platform/locales.h"

#include <map>
#include <string>
#include <vector>

// A few locales by name, and a user's locale that a test sets.
class FakeLocales final : public Locales
{
public:
    std::map<std::u16string, char16_t, std::less<>> known = {
        {u"C", u'.'}, {u"de_DE", u','}, {u"en_US", u'.'}};
    char16_t user = u'.';
    std::vector<std::string> wishes;  // the user's languages

    std::optional<char16_t> decimalPoint(std::u16string_view name) const override
    {
        const auto found = known.find(name);
        return found == known.end() ? std::nullopt : std::optional(found->second);
    }
    char16_t userDecimalPoint() const override { return user; }
    std::vector<std::string> languageWishes() const override { return wishes; }
};
