// Restoring input from a store holding anything: any text under "SaveIndicator" and the
// formula keys, each key present or missing. The check mark follows the Boolean rule, the
// texts come back exactly as stored, only the keys the rule allows are read, nothing is written.
//
// Input: one byte whose low five bits say which keys are present (SaveIndicator, Formula, X,
// Y, Z), then their UTF-16 values separated by U+FFFF.

#include "settings/input_persistence.h"

#include "fakes/fake_settings_store.h"
#include "fuzz_support.h"

#include <array>

namespace {

const std::array<std::u16string, 5> Keys = {u"SaveIndicator", u"Formula", u"X", u"Y", u"Z"};

bool equalsFolded(std::u16string_view text, std::u16string_view lowerWord)
{
    if (text.size() != lowerWord.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if ((c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c) != lowerWord[i])
            return false;
    }
    return true;
}

// The rule, read literally: "True" or "False" in any case, or a decimal number between spaces,
// which is true unless it is zero. Out of double's range is still a number, and not zero.
bool expectedCheckMark(std::u16string_view text)
{
    if (equalsFolded(text, u"true"))
        return true;
    if (equalsFolded(text, u"false"))
        return false;
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    std::size_t i = 0;
    const auto isDigit = [&] { return i < text.size() && text[i] >= u'0' && text[i] <= u'9'; };
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    bool hasDigit = false;
    bool isNonZero = false;
    for (; isDigit(); ++i) {
        hasDigit = true;
        isNonZero = isNonZero || text[i] != u'0';
    }
    if (i < text.size() && text[i] == u'.') {
        for (++i; isDigit(); ++i) {
            hasDigit = true;
            isNonZero = isNonZero || text[i] != u'0';
        }
    }
    if (!hasDigit)
        return false;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!isDigit())
            return false;
        while (isDigit())
            ++i;
    }
    return i == text.size() && isNonZero;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const unsigned present = data[0];
    const std::vector<std::u16string> values =
        fuzz::fields(fuzz::utf16(data + 1, size - 1), Keys.size());

    FakeSettingsStore store;
    std::array<std::u16string, 5> expected;  // what reading each key gives
    for (std::size_t i = 0; i < Keys.size(); ++i) {
        if ((present >> i & 1) != 0) {
            expected[i] = i < values.size() ? values[i] : u"";
            store.put(Keys[i], expected[i]);
        } else {
            expected[i] = i == 0 ? u"False" : u"";
        }
    }

    const RestoredInput restored = restoreInput(store);

    const bool isChecked = expectedCheckMark(expected[0]);
    fuzz::check(restored.isSaveChecked == isChecked, "the check mark follows the Boolean rule");
    fuzz::check(restored.texts.has_value() == isChecked, "texts are restored only when checked");
    const std::vector<std::u16string> asked =
        isChecked ? std::vector<std::u16string>(Keys.begin(), Keys.end())
                  : std::vector<std::u16string>{Keys[0]};
    fuzz::check(store.asked == asked, "only the keys the check mark allows are read");
    fuzz::check(store.written.empty(), "restoring writes nothing");
    if (restored.texts) {
        fuzz::check(restored.texts->formula == expected[1] && restored.texts->x == expected[2] &&
                        restored.texts->y == expected[3] && restored.texts->z == expected[4],
                    "every text comes back exactly as stored");
    }
    return 0;
}
