#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Separates the texts of one input; a unit the program has no use for, so texts keep every
// other unit, NUL and lone surrogates included.
inline constexpr char16_t FieldSeparator = u'\uFFFF';

// The bytes as UTF-16 code units, little-endian pairs; an odd last byte is dropped.
inline std::u16string utf16(const std::uint8_t* data, std::size_t size)
{
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

// The texts between separators, at most `count` of them: the last one takes the rest.
inline std::vector<std::u16string> fields(std::u16string_view text, std::size_t count)
{
    std::vector<std::u16string> out;
    while (out.size() + 1 < count) {
        const std::size_t end = text.find(FieldSeparator);
        if (end == std::u16string_view::npos)
            break;
        out.emplace_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    out.emplace_back(text);
    return out;
}

// A broken property: report it and stop, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

inline void check(bool holds, const char* what)
{
    if (!holds)
        fail(what);
}

}  // namespace fuzz
