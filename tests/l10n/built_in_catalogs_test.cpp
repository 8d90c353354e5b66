#include "l10n/built_in_catalogs.h"

#include "forms/form1_table.h"
#include "forms/frm_about_table.h"
#include "forms/frm_history_table.h"
#include "forms/localized_table.h"
#include "text/ascii_case.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The letter after the '&' of a caption, folded; none when it has no access key.
std::optional<char16_t> accessKey(std::u16string_view caption)
{
    const std::size_t at = caption.find(u'&');
    if (at == std::u16string_view::npos || at + 1 == caption.size())
        return std::nullopt;
    return asciicase::fold(caption[at + 1]);
}

TEST(BuiltInCatalogs, EachLanguageKeepsAccessKeysUniqueInEachMenuAndWindow)
{
    const FormTable* const tables[] = {&form1::Table, &frmabout::Table, &frmhistory::Table};
    ASSERT_EQ(builtInLanguages().size(), 9u);
    for (const std::string_view language : builtInLanguages()) {
        const Catalog catalog = builtInCatalog(language);
        EXPECT_EQ(catalog.language(), language);
        for (const FormTable* const table : tables) {
            const LocalizedTable localized(*table, catalog);
            std::map<std::string_view, std::set<char16_t>> keysByMenu;  // "": the controls
            const auto take = [&](std::string_view group, std::u16string_view caption) {
                if (const auto key = accessKey(caption)) {
                    EXPECT_TRUE(keysByMenu[group].insert(*key).second)
                        << language << ": " << table->name << " " << group << " has '"
                        << static_cast<char>(*key) << "' twice";
                }
            };
            for (const ControlRow& row : localized.table().controls)
                take("", row.caption);
            for (const MenuRow& row : localized.table().menu)
                take(row.parent.empty() ? "the menu bar" : row.parent, row.caption);
        }
    }
}

TEST(BuiltInCatalogs, AnUnknownLanguageAndTheArgumentChooseAsTheUserAsked)
{
    EXPECT_TRUE(builtInCatalog("").isEnglish());
    EXPECT_TRUE(builtInCatalog("xx").isEnglish());
    const std::vector<std::string> german{"de_DE.UTF-8"};
    const struct
    {
        std::vector<std::u16string> arguments;
        std::string language;
    } rows[] = {
        {{}, "de"},
        {{u"--language", u"ja"}, "ja"},
        {{u"--language=pt"}, "pt_BR"},
        {{u"--language", u"xx"}, ""},
        {{u"--language"}, "de"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(programCatalog(row.arguments, german).language(), row.language);
}

}  // namespace
