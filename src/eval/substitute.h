#pragma once

#include <string>
#include <string_view>

// Replaces every occurrence of `placeholder` (lower case; found in any case) by `value`, left
// to right, in one pass. `value` holds no placeholder and neither starts nor ends with a letter,
// so no new placeholder can form across its edges: one pass replaces exactly what searching
// again from the start after each replacement would.
void substitute(std::u16string& text, std::u16string_view placeholder, std::u16string_view value);

// Whether `text` contains `placeholder` (lower case) in any case.
bool containsPlaceholder(std::u16string_view text, std::u16string_view placeholder);
