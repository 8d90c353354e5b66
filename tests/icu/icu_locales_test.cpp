#include "icu/icu_locales.h"

#include "support/named_locale_rows.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

TEST(IcuLocales, KnowsLocalesByNameWithoutTheSystemsLocales)
{
    const IcuLocales locales([](const char*) { return nullptr; });
    for (const NamedLocaleRow& row : NamedLocaleRows) {
        SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
        EXPECT_EQ(locales.decimalPoint(row.name), row.decimalPoint);
    }
}

TEST(IcuLocales, TakesTheUsersLocaleFromTheEnvironmentInPosixOrder)
{
    using Environment = std::map<std::string, std::string>;
    struct Row { Environment environment; char16_t decimalPoint; };
    const Row rows[] = {
        {{}, u'.'},
        {{{"LANG", "de_DE.UTF-8"}}, u','},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_NUMERIC", "en_US.UTF-8"}}, u'.'},
        {{{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "fr_FR"}, {"LC_ALL", "C.UTF-8"}}, u'.'},
        {{{"LC_NUMERIC", "en_US"}, {"LC_ALL", "de_DE"}}, u','},
        {{{"LANG", "de_DE"}, {"LC_NUMERIC", ""}, {"LC_ALL", ""}}, u','},  // empty is unset
        {{{"LANG", "xx_YY"}}, u'.'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.environment));
        const IcuLocales locales([&row](const char* name) {
            const auto found = row.environment.find(name);
            return found == row.environment.end() ? nullptr : found->second.c_str();
        });
        EXPECT_EQ(locales.userDecimalPoint(), row.decimalPoint);
    }
}
