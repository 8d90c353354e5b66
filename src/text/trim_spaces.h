#pragma once

#include <string_view>

namespace spaces {

// `text` without leading and trailing space characters. Only U+0020: tabs and line breaks
// belong to a formula.
constexpr std::u16string_view trim(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace spaces
