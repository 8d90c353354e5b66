#pragma once

#include <cstddef>
#include <string_view>

// UTF-16 code units. Formula texts may hold any units, lone surrogates included, and every
// layer must carry them through unchanged.
namespace utf16 {

constexpr bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Whether the unit at `i` starts a valid surrogate pair.
constexpr bool startsPair(std::u16string_view text, std::size_t i)
{
    return isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1]);
}

// The code point of the pair that starts at `i`; `startsPair(text, i)` must hold.
constexpr char32_t pairValue(std::u16string_view text, std::size_t i)
{
    return 0x10000 + ((char32_t(text[i]) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
}

// Whether `text` holds a surrogate that is not part of a pair, which UTF-8 cannot carry.
constexpr bool hasLoneSurrogate(std::u16string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (startsPair(text, i))
            ++i;
        else if (isSurrogate(text[i]))
            return true;
    }
    return false;
}

}  // namespace utf16
