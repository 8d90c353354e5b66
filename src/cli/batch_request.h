#pragma once

#include "eval/evaluation_sequence.h"

#include <string>
#include <string_view>

// Reads one JSON Lines request {"main":…,"x":…,"y":…,"z":…} into `formulas`; an absent member
// leaves its formula as it is. Returns why the line is not such a request, and then leaves
// `formulas` alone, or empty text. \u escapes give the exact UTF-16 units, lone surrogates
// included.
std::u16string readRequest(std::string_view line, Formulas& formulas);
