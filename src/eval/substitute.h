#pragma once

#include "eval/position_map.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct Replacement
{
    std::u16string_view placeholder;  // lower case, found in any case
    std::u16string_view value;
};

// Replaces every occurrence of each placeholder by its value, left to right, in one pass. No
// placeholder may overlap itself or another, and no value may hold a placeholder or start or
// end with a letter: then no new placeholder forms across a value's edges, and one pass
// replaces exactly what replacing placeholder after placeholder, each time searching again
// from the start after each replacement, would.
void substitute(std::u16string& text, std::span<const Replacement> replacements);

// The same, and appends to `edits` one edit per placeholder replaced, from the placeholder in
// the text before to the value in the text after.
void substitute(std::u16string& text, std::span<const Replacement> replacements,
                std::vector<Edit>& edits);

// Whether `text` contains `placeholder` (lower case) in any case.
bool containsPlaceholder(std::u16string_view text, std::u16string_view placeholder);
