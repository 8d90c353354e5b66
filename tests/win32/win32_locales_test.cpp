#include "win32/win32_locales.h"

#include "support/named_locale_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

TEST(Win32Locales, KnowsLocalesByPosixAndBcp47Names)
{
    const Win32Locales locales;
    for (const NamedLocaleRow& row : NamedLocaleRows) {
        SCOPED_TRACE(std::string(row.name.begin(), row.name.end()));
        EXPECT_EQ(locales.decimalPoint(row.name), row.decimalPoint);
    }
}

// The system always has a display language; each comes as a language tag ("en-US").
TEST(Win32Locales, NamesTheUsersDisplayLanguagesAsTags)
{
    const std::vector<std::string> wishes = Win32Locales().languageWishes();
    ASSERT_FALSE(wishes.empty());
    for (const std::string& tag : wishes) {
        EXPECT_FALSE(tag.empty());
        const bool isTag = std::all_of(tag.begin(), tag.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '-';
        });
        EXPECT_TRUE(isTag) << tag;
    }
}
