#pragma once

#include "l10n/plural_rule.h"

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct CatalogError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// The translations of one language, looked up by their English text. A default-constructed
// catalog is English: every text comes back as it was asked for, so a program that chose no
// language shows exactly what the sources say.
class Catalog
{
public:
    Catalog() = default;

    // Reads a compiled gettext catalog (.mo, either byte order). Throws CatalogError when the
    // bytes are not one: damage is named, never read past.
    static Catalog fromMo(std::span<const std::uint8_t> bytes);

    // The translation of `english`, or `english` itself when the catalog has none.
    std::u16string_view text(std::u16string_view english) const;

    // The same, for an English text that means different things in different places.
    std::u16string_view text(std::u16string_view context, std::u16string_view english) const;

    // The form of `singular`/`plural` that goes with the number `n`, by the language's rule.
    std::u16string_view plural(std::u16string_view singular, std::u16string_view plural,
                               unsigned long n) const;

    bool isEnglish() const { return m_texts.empty(); }
    // The language its header names ("de", "pt_BR"); empty for English.
    const std::string& language() const { return m_language; }

private:
    const std::vector<std::u16string>* find(std::u16string_view key) const;

    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view text) const
        {
            return std::hash<std::u16string_view>()(text);
        }
    };
    // By message id (a context before '\x04'), every plural form of the translation.
    std::unordered_map<std::u16string, std::vector<std::u16string>, Hash, std::equal_to<>>
        m_texts;
    PluralRule m_plural;
    std::string m_language;
};

// The catalog of the untranslated program, for whoever is handed no other.
const Catalog& englishCatalog();
