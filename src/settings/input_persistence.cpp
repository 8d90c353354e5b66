#include "settings/input_persistence.h"

#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "text/ascii_case.h"
#include "text/trim_spaces.h"
#include "text/utf8.h"

#include <charconv>
#include <string>

namespace {

constexpr std::u16string_view Application = u"Sumwright";
constexpr std::u16string_view Section = u"Settings";
constexpr std::u16string_view SaveIndicatorKey = u"SaveIndicator";
constexpr std::u16string_view FormulaKey = u"Formula";
constexpr std::u16string_view XKey = u"X";
constexpr std::u16string_view YKey = u"Y";
constexpr std::u16string_view ZKey = u"Z";

std::u16string get(SettingsStore& store, std::u16string_view key, std::u16string_view fallback)
{
    return store.GetSetting(std::u16string(Application), std::u16string(Section),
                            std::u16string(key), std::u16string(fallback));
}

void save(SettingsStore& store, std::u16string_view key, const std::u16string& value)
{
    store.SaveSetting(std::u16string(Application), std::u16string(Section), std::u16string(key),
                      value);
}

// Whether a decimal number (optional sign, fraction and exponent, between optional spaces) is
// other than zero; nothing for text that is no such number.
std::optional<bool> isNonZeroNumber(std::u16string_view text)
{
    text = spaces::trim(text);
    if (text.empty())
        return std::nullopt;
    std::string ascii;
    for (const char16_t c : text) {
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' ||
                             c == u'e' || c == u'E';
        if (!allowed)
            return std::nullopt;  // also keeps out "inf" and "nan"
        ascii.push_back(static_cast<char>(c));
    }
    // from_chars takes no plus sign; after one, it must not be handed a minus either
    const bool hasPlus = ascii.front() == '+';
    if (hasPlus && ascii.size() > 1 && ascii[1] == '-')
        return std::nullopt;
    double value = 0.0;
    const char* const last = ascii.data() + ascii.size();
    const auto [end, error] = std::from_chars(ascii.data() + (hasPlus ? 1 : 0), last, value);
    if (end != last)
        return std::nullopt;
    // Beyond double's range, above or below, is still a number and not zero.
    if (error == std::errc::result_out_of_range)
        return true;
    if (error != std::errc())
        return std::nullopt;
    return value != 0.0;
}

}  // namespace

bool isTrueSetting(std::u16string_view text)
{
    if (asciicase::equals(text, u"true"))
        return true;
    if (asciicase::equals(text, u"false"))
        return false;
    return isNonZeroNumber(text).value_or(false);
}

RestoredInput restoreInput(SettingsStore& store)
{
    RestoredInput restored;
    restored.isSaveChecked = isTrueSetting(get(store, SaveIndicatorKey, u"False"));
    if (restored.isSaveChecked) {
        restored.texts = InputTexts{get(store, FormulaKey, u""), get(store, XKey, u""),
                                    get(store, YKey, u""), get(store, ZKey, u"")};
    }
    return restored;
}

void storeInput(SettingsStore& store, bool isSaveChecked, const InputTexts& texts)
try {
    if (!isSaveChecked) {
        save(store, SaveIndicatorKey, u"False");
        return;
    }
    save(store, SaveIndicatorKey, u"True");
    save(store, FormulaKey, texts.formula);
    save(store, XKey, texts.x);
    save(store, YKey, texts.y);
    save(store, ZKey, texts.z);
} catch (const PlatformError& error) {
    // The store's own text names the file; this says what the user loses.
    throw InputNotSaved(error.what());
}

InputNotSaved::InputNotSaved(const std::string& cause)
    : PlatformError(utf8::encode(formatMessage(InputNotSavedText, {utf8::decode(cause)}))),
      m_cause(cause)
{
}
