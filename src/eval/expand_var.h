#pragma once

#include <optional>
#include <string>
#include <string_view>

// Rewrites every x, y and z (either case) into the placeholder varx, vary or varz, except an x
// that is the middle of "exp" (any case) strictly inside a text of five or more units.
// Returns nothing for a text longer than MaxFormulaLength; never throws for any other text.
std::optional<std::u16string> ExpandVar(std::u16string_view OldString);
