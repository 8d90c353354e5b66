#include "settings/input_persistence.h"

#include "fakes/fake_settings_store.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::u16string& text)
{
    return std::string(text.begin(), text.end());  // the tests' texts are ASCII
}

}  // namespace

TEST(InputPersistence, ReadsSaveIndicatorAsTrueFalseOrNumberAndAnythingElseAsFalse)
{
    struct Row { std::u16string text; bool isTrue; };
    const Row rows[] = {
        {u"True", true}, {u"TRUE", true}, {u"true", true}, {u"tRuE", true},
        {u"False", false}, {u"FALSE", false}, {u"false", false},
        {u"0", false}, {u"1", true}, {u"-1", true}, {u"+1", true}, {u"2.5", true},
        {u"0.0", false}, {u"-0", false}, {u"1e3", true}, {u".5", true}, {u" 1 ", true},
        {u"", false}, {u" ", false}, {u"yes", false}, {u"Truee", false}, {u" True", false},
        {u"inf", false}, {u"nan", false}, {u"--1", false}, {u"1,5", false}, {u".", false},
        {u"1e", false}, {u"\uFF11", false},  // a full-width digit is not a number here
        {u"+-1", false}, {u"++1", false}, {u"+", false}, {u"-", false},
        // beyond double's range is still a number other than zero
        {u"1e999", true}, {u"-1e999", true}, {u"1e-999", true}, {u"0e999", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.text));
        EXPECT_EQ(isTrueSetting(row.text), row.isTrue);
    }
}

TEST(InputPersistence, RestoresTheCheckMarkAndOnlyThenTheTexts)
{
    struct Row
    {
        const char* name;
        std::vector<std::pair<std::u16string, std::u16string>> stored;
        bool isChecked;
        std::optional<std::vector<std::u16string>> texts;  // Formula, X, Y, Z
        std::vector<std::u16string> asked;
    };
    const std::vector<std::u16string> allKeys = {u"SaveIndicator", u"Formula", u"X", u"Y", u"Z"};
    const Row rows[] = {
        {"nothing stored", {}, false, std::nullopt, {u"SaveIndicator"}},
        {"true with texts",
         {{u"SaveIndicator", u"True"}, {u"Formula", u" x^2+y "}, {u"X", u"z+1.5"}, {u"Y", u"3"},
          {u"Z", u"1.5"}},
         true, std::vector<std::u16string>{u" x^2+y ", u"z+1.5", u"3", u"1.5"}, allKeys},
        {"true with X missing",
         {{u"SaveIndicator", u"True"}, {u"Formula", u"x"}, {u"Y", u"3"}, {u"Z", u"1"}},
         true, std::vector<std::u16string>{u"x", u"", u"3", u"1"}, allKeys},
        {"false with texts of an earlier run",
         {{u"SaveIndicator", u"False"}, {u"Formula", u"x"}, {u"X", u"1"}}, false, std::nullopt,
         {u"SaveIndicator"}},
        {"upper case", {{u"SaveIndicator", u"TRUE"}}, true,
         std::vector<std::u16string>{u"", u"", u"", u""}, allKeys},
        {"minus one", {{u"SaveIndicator", u"-1"}}, true,
         std::vector<std::u16string>{u"", u"", u"", u""}, allKeys},
        {"zero", {{u"SaveIndicator", u"0"}, {u"Formula", u"x"}}, false, std::nullopt,
         {u"SaveIndicator"}},
        {"empty", {{u"SaveIndicator", u""}, {u"Formula", u"x"}}, false, std::nullopt,
         {u"SaveIndicator"}},
        {"not boolean text", {{u"SaveIndicator", u"maybe"}}, false, std::nullopt,
         {u"SaveIndicator"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSettingsStore store;
        for (const auto& [key, value] : row.stored)
            store.put(key, value);

        const RestoredInput restored = restoreInput(store);

        EXPECT_EQ(restored.isSaveChecked, row.isChecked);
        ASSERT_EQ(restored.texts.has_value(), row.texts.has_value());
        if (row.texts) {
            const std::vector<std::u16string> texts = {restored.texts->formula, restored.texts->x,
                                                       restored.texts->y, restored.texts->z};
            EXPECT_EQ(texts, *row.texts);
        }
        EXPECT_EQ(store.asked, row.asked);
        EXPECT_TRUE(store.written.empty());
    }
}

TEST(InputPersistence, StoresTheTextsAsTypedOnlyWhenChecked)
{
    using Write = FakeSettingsStore::Write;
    const InputTexts texts{u"  x^2+y ", u"", u"3\n", u" 1.5"};
    struct Row
    {
        const char* name;
        bool isChecked;
        std::vector<Write> written;
    };
    const Row rows[] = {
        {"checked", true,
         {{u"SaveIndicator", u"True"}, {u"Formula", u"  x^2+y "}, {u"X", u""}, {u"Y", u"3\n"},
          {u"Z", u" 1.5"}}},
        {"unchecked", false, {{u"SaveIndicator", u"False"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSettingsStore store;
        store.put(u"Formula", u"earlier");

        storeInput(store, row.isChecked, texts);

        EXPECT_EQ(store.written, row.written);
        EXPECT_EQ(*store.find(u"Formula"), row.isChecked ? u"  x^2+y " : u"earlier");
    }
}

TEST(InputPersistence, UsesTheApplicationsOwnSection)
{
    FakeSettingsStore store;
    storeInput(store, false, {});
    ASSERT_EQ(store.values.size(), 1u);
    const FakeSettingsStore::Key expected{u"Sumwright", u"Settings", u"SaveIndicator"};
    EXPECT_EQ(store.values.begin()->first, expected);
}

TEST(InputPersistence, SaysTheInputWasNotSavedWhenTheStoreRefuses)
{
    FakeSettingsStore store;
    store.failWrites = true;
    try {
        storeInput(store, true, {u"x", u"", u"", u""});
        FAIL() << "no exception";
    } catch (const PlatformError& error) {
        EXPECT_STREQ(error.what(),
                     "Your input could not be saved. Cannot write settings.ini (access denied).");
    }
}

TEST(InputPersistence, RoundTripsThroughTheStore)
{
    FakeSettingsStore store;
    const InputTexts texts{u"x^2+y", u"z+1.5", u" 3 ", u""};
    storeInput(store, true, texts);
    const RestoredInput restored = restoreInput(store);
    ASSERT_TRUE(restored.isSaveChecked);
    ASSERT_TRUE(restored.texts.has_value());
    EXPECT_EQ(restored.texts->formula, texts.formula);
    EXPECT_EQ(restored.texts->x, texts.x);
    EXPECT_EQ(restored.texts->y, texts.y);
    EXPECT_EQ(restored.texts->z, texts.z);
}
