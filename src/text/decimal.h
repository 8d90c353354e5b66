#pragma once

#include <concepts>
#include <string>

namespace text {

// `number` in decimal digits, with a minus sign when negative and no other sign or padding.
template <std::integral Integer>
std::u16string decimal(Integer number)
{
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace text
