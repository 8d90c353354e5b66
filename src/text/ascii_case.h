#pragma once

#include <cstddef>
#include <string_view>

// The one place where text is compared without regard to case. Only the ASCII letters fold:
// formulas are written in Latin letters, and other scripts' case rules must not make, say, a
// Turkish dotless i match a function name.
namespace asciicase {

constexpr char16_t fold(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c;
}

constexpr char fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// `lower` must already be in lower case.
constexpr bool equals(std::u16string_view text, std::u16string_view lower)
{
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (fold(text[i]) != lower[i])
            return false;
    }
    return true;
}

// 0-based index of the first occurrence of `lower` (lower case, non-empty) at or after `from`,
// or npos.
constexpr std::size_t find(std::u16string_view text, std::u16string_view lower,
                           std::size_t from = 0)
{
    if (lower.empty() || text.size() < lower.size())
        return std::u16string_view::npos;
    const std::size_t last = text.size() - lower.size();
    for (std::size_t i = from; i <= last; ++i) {
        if (fold(text[i]) == lower[0] && equals(text.substr(i, lower.size()), lower))
            return i;
    }
    return std::u16string_view::npos;
}

}  // namespace asciicase
