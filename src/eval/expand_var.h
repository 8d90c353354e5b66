#pragma once

#include "eval/position_map.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Rewrites every x, y and z (either case) into the placeholder varx, vary or varz, except an x
// that is the middle of "exp" (any case) strictly inside a text of five or more units.
// Returns nothing for a text longer than MaxFormulaLength; never throws for any other text.
std::optional<std::u16string> ExpandVar(std::u16string_view OldString);

// The same, and appends to `edits` one edit per placeholder written, from its letter in
// OldString to the placeholder in the result. Appends nothing when it returns nothing.
std::optional<std::u16string> ExpandVar(std::u16string_view OldString, std::vector<Edit>& edits);
