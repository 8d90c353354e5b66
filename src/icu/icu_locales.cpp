#include "icu/icu_locales.h"

#include "l10n/language_choice.h"

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/uloc.h>

#include <string>
#include <utility>

namespace {

// The language's own locale, not the default locale ICU falls back to for a language it has
// no data for: that fallback would make any name known.
bool hasLanguageData(const char* language)
{
    const int count = uloc_countAvailable();
    for (int i = 0; i < count; ++i) {
        char available[ULOC_LANG_CAPACITY] = {};
        UErrorCode status = U_ZERO_ERROR;
        uloc_getLanguage(uloc_getAvailable(i), available, ULOC_LANG_CAPACITY, &status);
        if (U_SUCCESS(status) && std::string_view(available) == language)
            return true;
    }
    return false;
}

// ICU's name of a POSIX or BCP 47 locale name; empty when it has none.
std::string icuLocaleId(std::u16string_view name)
{
    std::string ascii;
    for (const char16_t c : name) {
        if (c <= u' ' || c > u'~')
            return {};
        ascii.push_back(static_cast<char>(c));
    }
    const std::string base = ascii.substr(0, ascii.find_first_of(".@"));
    if (base == "C" || base == "POSIX")
        return "en_US_POSIX";
    char id[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_canonicalize(ascii.c_str(), id, ULOC_FULLNAME_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING || length <= 0)
        return {};
    return id;
}

}  // namespace

IcuLocales::IcuLocales(Environment environment) : m_environment(std::move(environment)) {}

std::optional<char16_t> IcuLocales::decimalPoint(std::u16string_view name) const
{
    const std::string id = icuLocaleId(name);
    if (id.empty())
        return std::nullopt;
    char language[ULOC_LANG_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLanguage(id.c_str(), language, ULOC_LANG_CAPACITY, &status);
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING
        || !hasLanguageData(language)) {
        return std::nullopt;
    }
    status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(icu::Locale(id.c_str()), status);
    if (U_FAILURE(status))
        return std::nullopt;
    const icu::UnicodeString& separator =
        symbols.getConstSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
    return separator.isEmpty() ? u'.' : separator.charAt(0);
}

char16_t IcuLocales::userDecimalPoint() const
{
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = m_environment(variable);
        if (value == nullptr || *value == '\0')
            continue;
        const std::string_view name(value);
        return decimalPoint(std::u16string(name.begin(), name.end())).value_or(u'.');
    }
    return u'.';
}

std::vector<std::string> IcuLocales::languageWishes() const
{
    return posixLanguageWishes(m_environment);
}
