#pragma once

#include "text/utf16.h"

#include <string>
#include <string_view>

// Conversions between the core's UTF-16 and the UTF-8 bytes of files, pipes and arguments.
namespace utf8 {

constexpr char16_t ReplacementCharacter = 0xFFFD;

inline void append(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// A lone surrogate, which UTF-8 cannot carry, becomes U+FFFD.
inline std::string encode(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (utf16::startsPair(text, i)) {
            append(out, utf16::pairValue(text, i));
            ++i;
        } else {
            append(out, utf16::isSurrogate(text[i]) ? ReplacementCharacter : text[i]);
        }
    }
    return out;
}

// Every byte that does not belong to a well-formed sequence becomes one U+FFFD; overlong forms,
// encoded surrogates and values above U+10FFFF are not well-formed.
inline std::u16string decode(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        char32_t value = 0;
        char32_t lowest = 0;
        if (lead < 0x80) {
            length = 1;
            value = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1F;
            lowest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0F;
            lowest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07;
            lowest = 0x10000;
        }
        bool isWellFormed = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; isWellFormed && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            isWellFormed = (next & 0xC0) == 0x80;
            value = (value << 6) | (next & 0x3F);
        }
        isWellFormed = isWellFormed && value >= lowest && value <= 0x10FFFF
            && !(value >= 0xD800 && value <= 0xDFFF);
        if (!isWellFormed) {
            out.push_back(ReplacementCharacter);
            ++i;
            continue;
        }
        if (value >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(value));
        }
        i += length;
    }
    return out;
}

}  // namespace utf8
