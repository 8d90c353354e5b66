#include "l10n/language_choice.h"

#include <gtest/gtest.h>

#include <map>

namespace {

constexpr std::string_view Available[] = {"de", "es", "fr", "it", "ja", "pl", "pt_BR", "ru",
                                          "zh_CN"};

TEST(LanguageChoice, TakesTheFirstWishACatalogServes)
{
    const struct
    {
        std::vector<std::string> wishes;
        std::string expected;
    } rows[] = {
        {{}, ""},
        {{"de_DE.UTF-8"}, "de"},
        {{"de-CH@euro"}, "de"},
        {{"pt"}, "pt_BR"},
        {{"pt_PT.UTF-8"}, "pt_BR"},
        {{"zh_SG.UTF-8"}, "zh_CN"},
        {{"zh-Hans-HK"}, "zh_CN"},
        {{"zh_TW.UTF-8", "ja_JP"}, "ja"},  // traditional script: not served by zh_CN
        {{"zh-Hant"}, ""},
        {{"sv_SE", "nb", "ru_RU.KOI8-R"}, "ru"},
        {{"en_GB", "de"}, ""},  // English wanted first
        {{"C"}, ""},
        {{"POSIX", "de"}, ""},
        {{"", "DE"}, "de"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(chooseLanguage(row.wishes, Available), row.expected) << ::testing::PrintToString(row.wishes);
}

TEST(LanguageChoice, ReadsTheEnvironmentInGettextsOrder)
{
    using Environment = std::map<std::string, std::string>;
    const struct
    {
        Environment environment;
        std::vector<std::string> expected;
    } rows[] = {
        {{}, {}},
        {{{"LANG", "de_DE.UTF-8"}}, {"de_DE.UTF-8"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}}, {"fr_FR"}},
        {{{"LC_ALL", "it_IT"}, {"LC_MESSAGES", "fr_FR"}}, {"it_IT"}},
        {{{"LANGUAGE", "ja:pt_BR"}, {"LANG", "de_DE"}}, {"ja", "pt_BR", "de_DE"}},
        {{{"LANGUAGE", "de"}}, {"de"}},
        {{{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}, {"de", "C.UTF-8"}},
        {{{"LANGUAGE", "de"}, {"LC_ALL", "C"}}, {"C"}},  // LC_ALL=C asks for the untranslated
        {{{"LANGUAGE", "::fr:"}, {"LC_ALL", ""}, {"LANG", "es_ES"}}, {"", "", "fr", "es_ES"}},
    };
    for (const auto& row : rows) {
        const auto wishes = posixLanguageWishes([&](const char* name) -> const char* {
            const auto found = row.environment.find(name);
            return found != row.environment.end() ? found->second.c_str() : nullptr;
        });
        EXPECT_EQ(wishes, row.expected) << ::testing::PrintToString(row.environment);
    }
}

}  // namespace
