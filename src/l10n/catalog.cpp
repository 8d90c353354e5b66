#include "l10n/catalog.h"

#include "text/utf8.h"

#include <algorithm>

namespace {

constexpr std::uint32_t Magic = 0x950412de;
constexpr char16_t ContextEnd = u'\x04';

class MoReader
{
public:
    explicit MoReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes)
    {
        if (bytes.size() < 28)
            throw CatalogError("The catalog is shorter than its header.");
        if (word(0, false) == Magic)
            m_isBigEndian = false;
        else if (word(0, true) == Magic)
            m_isBigEndian = true;
        else
            throw CatalogError("The catalog is not a compiled gettext catalog.");
        if ((word(4) >> 16) != 0)
            throw CatalogError("The catalog's format revision is not known.");
    }

    std::uint32_t count() const { return word(8); }

    std::string_view original(std::uint32_t i) const { return string(word(12), i); }
    std::string_view translation(std::uint32_t i) const { return string(word(16), i); }

private:
    std::uint32_t word(std::size_t at, bool isBigEndian) const
    {
        if (at > m_bytes.size() || m_bytes.size() - at < 4)
            throw CatalogError("The catalog ends inside its tables.");
        std::uint32_t value = 0;
        for (int k = 0; k < 4; ++k) {
            const std::size_t offset = static_cast<std::size_t>(isBigEndian ? k : 3 - k);
            value = value << 8 | std::uint32_t{m_bytes[at + offset]};
        }
        return value;
    }

    std::uint32_t word(std::size_t at) const { return word(at, m_isBigEndian); }

    // The i-th string of the table at `table`: its length, then where it starts.
    std::string_view string(std::uint32_t table, std::uint32_t i) const
    {
        const std::size_t entry = std::size_t{table} + std::size_t{i} * 8;
        const std::size_t length = word(entry);
        const std::size_t start = word(entry + 4);
        if (start > m_bytes.size() || m_bytes.size() - start < length)
            throw CatalogError("A text of the catalog lies outside it.");
        return {reinterpret_cast<const char*>(m_bytes.data() + start), length};
    }

    std::span<const std::uint8_t> m_bytes;
    bool m_isBigEndian = false;
};

std::vector<std::u16string> splitAtNul(std::string_view bytes)
{
    std::vector<std::u16string> parts;
    for (;;) {
        const std::size_t end = bytes.find('\0');
        parts.push_back(utf8::decode(bytes.substr(0, end)));
        if (end == std::string_view::npos)
            return parts;
        bytes.remove_prefix(end + 1);
    }
}

// The value of a field of the catalog's header, trimmed; empty when there is none.
std::string_view headerField(std::string_view header, std::string_view name)
{
    std::size_t line = 0;
    while (line < header.size() && header.compare(line, name.size(), name) != 0) {
        line = header.find('\n', line);
        line = line == std::string_view::npos ? header.size() : line + 1;
    }
    if (line >= header.size())
        return {};
    std::string_view value = header.substr(line + name.size());
    value = value.substr(0, value.find('\n'));
    while (!value.empty() && value.front() == ' ')
        value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ')
        value.remove_suffix(1);
    return value;
}

// The expression after "plural=" in the header's Plural-Forms line, up to its ';'.
std::string_view pluralExpression(std::string_view header)
{
    std::string_view rest = headerField(header, "Plural-Forms:");
    const std::size_t at = rest.find("plural=");
    if (at == std::string_view::npos)
        return {};
    rest.remove_prefix(at + 7);
    return rest.substr(0, rest.find(';'));
}

}  // namespace

Catalog Catalog::fromMo(std::span<const std::uint8_t> bytes)
{
    const MoReader mo(bytes);
    Catalog catalog;
    // every entry costs 16 bytes of tables, so a count the file cannot hold is damage
    if (mo.count() > bytes.size() / 16)
        throw CatalogError("The catalog counts more texts than it holds.");
    for (std::uint32_t i = 0; i < mo.count(); ++i) {
        const std::string_view original = mo.original(i);
        const std::string_view translation = mo.translation(i);
        if (original.empty()) {
            catalog.m_language = headerField(translation, "Language:");
            const std::string_view expression = pluralExpression(translation);
            if (!expression.empty()) {
                try {
                    catalog.m_plural = PluralRule(expression);
                } catch (const std::invalid_argument& e) {
                    throw CatalogError(e.what());
                }
            }
            continue;
        }
        // the singular id names a plural message; its plural id is not needed to find it
        const std::u16string id = utf8::decode(original.substr(0, original.find('\0')));
        catalog.m_texts.insert_or_assign(id, splitAtNul(translation));
    }
    return catalog;
}

const std::vector<std::u16string>* Catalog::find(std::u16string_view key) const
{
    const auto found = m_texts.find(key);
    return found == m_texts.end() || found->second.front().empty() ? nullptr : &found->second;
}

std::u16string_view Catalog::text(std::u16string_view english) const
{
    const std::vector<std::u16string>* forms = find(english);
    return forms != nullptr ? std::u16string_view(forms->front()) : english;
}

std::u16string_view Catalog::text(std::u16string_view context, std::u16string_view english) const
{
    std::u16string key(context);
    key += ContextEnd;
    key += english;
    const std::vector<std::u16string>* forms = find(key);
    return forms != nullptr ? std::u16string_view(forms->front()) : english;
}

std::u16string_view Catalog::plural(std::u16string_view singular, std::u16string_view plural,
                                    unsigned long n) const
{
    const std::vector<std::u16string>* forms = find(singular);
    if (forms == nullptr)
        return n == 1 ? singular : plural;
    const unsigned long form = m_plural(n);
    return (*forms)[std::min<std::size_t>(form, forms->size() - 1)];
}

const Catalog& englishCatalog()
{
    static const Catalog english;
    return english;
}
