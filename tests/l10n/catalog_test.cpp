#include "l10n/catalog.h"

#include "l10n/mo_bytes.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const std::string PolishHeader =
    "Language: pl\nPlural-Forms: nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && "
    "(n%100<10 || n%100>=20) ? 1 : 2);\n";

const std::vector<std::pair<std::string, std::string>> Polish = {
    {"", PolishHeader},
    {"&Copy", "&Kopiuj"},
    {"Untranslated", ""},
    {"menu\x04" "Clear", "Wyczyść"},
    {"%s entry\0%s entries"s, "%s wpis\0%s wpisy\0%s wpisów"s},
};

TEST(Catalog, FindsTranslationsAndGivesBackTheEnglishOfTheRest)
{
    for (const bool isBigEndian : {false, true}) {
        const Catalog catalog = Catalog::fromMo(moBytes(Polish, isBigEndian));
        EXPECT_EQ(catalog.language(), "pl");
        EXPECT_EQ(catalog.text(u"&Copy"), u"&Kopiuj");
        EXPECT_EQ(catalog.text(u"Untranslated"), u"Untranslated");
        EXPECT_EQ(catalog.text(u"Not in the catalog"), u"Not in the catalog");
        EXPECT_EQ(catalog.text(u"Clear"), u"Clear");
        EXPECT_EQ(catalog.text(u"menu", u"Clear"), u"Wyczyść");
        EXPECT_EQ(catalog.text(u""), u"");
    }
}

TEST(Catalog, ChoosesThePluralFormByTheLanguagesRule)
{
    const Catalog polish = Catalog::fromMo(moBytes(Polish));
    const Catalog english;
    const struct
    {
        unsigned long n;
        std::u16string_view polish;
        std::u16string_view english;
    } rows[] = {
        {0, u"%s wpisów", u"%s entries"}, {1, u"%s wpis", u"%s entry"},
        {2, u"%s wpisy", u"%s entries"},  {5, u"%s wpisów", u"%s entries"},
        {22, u"%s wpisy", u"%s entries"}, {112, u"%s wpisów", u"%s entries"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(polish.plural(u"%s entry", u"%s entries", row.n), row.polish) << row.n;
        EXPECT_EQ(english.plural(u"%s entry", u"%s entries", row.n), row.english) << row.n;
    }
}

TEST(Catalog, RefusesDamagedBytesWithoutReadingPastThem)
{
    const std::vector<std::uint8_t> whole = moBytes(Polish);
    const auto patched = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = whole;
        bytes[at] = value;
        return bytes;
    };
    const std::vector<std::uint8_t> rows[] = {
        {},
        std::vector<std::uint8_t>(whole.begin(), whole.begin() + 27),  // inside the header
        patched(0, 0x00),                                          // not the magic number
        patched(6, 0x01),                                          // an unknown revision
        patched(11, 0x7F),                                         // more texts than bytes
        patched(15, 0x7F),                                         // tables outside the file
        patched(28 + 8 + 7, 0x7F),                                 // a text outside the file
        std::vector<std::uint8_t>(whole.begin(), whole.end() - 20),  // texts cut off
        moBytes({{"", "Plural-Forms: nplurals=2; plural=n >> 1;\n"}}),
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        EXPECT_THROW(Catalog::fromMo(rows[i]), CatalogError) << "row " << i;
}

}  // namespace
