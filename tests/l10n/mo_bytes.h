#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A compiled catalog as msgfmt writes one, little-endian unless asked, from (id, translation)
// pairs; the header is the pair with the empty id. Ids must be sorted for a real catalog's
// hash-free lookup, which the reader does not need.
inline std::vector<std::uint8_t> moBytes(const std::vector<std::pair<std::string, std::string>>& texts,
                                         bool isBigEndian = false)
{
    std::vector<std::uint8_t> out;
    const auto word = [&](std::uint32_t value) {
        for (int k = 0; k < 4; ++k) {
            const int shift = isBigEndian ? 24 - 8 * k : 8 * k;
            out.push_back(static_cast<std::uint8_t>(value >> shift));
        }
    };
    const auto count = static_cast<std::uint32_t>(texts.size());
    const std::uint32_t originals = 28;
    const std::uint32_t translations = originals + 8 * count;
    std::uint32_t at = translations + 8 * count;
    for (const std::uint32_t value : {0x950412deu, 0u, count, originals, translations, 0u, 0u})
        word(value);
    std::string strings;
    std::vector<std::uint32_t> table;
    for (const bool isTranslation : {false, true}) {
        for (const auto& [id, translation] : texts) {
            const std::string& text = isTranslation ? translation : id;
            word(static_cast<std::uint32_t>(text.size()));
            word(at + static_cast<std::uint32_t>(strings.size()));
            strings += text;
            strings += '\0';
        }
    }
    out.insert(out.end(), strings.begin(), strings.end());
    return out;
}
