#pragma once

#include "eval/evaluation_sequence.h"

#include <string>
#include <string_view>

// Reads one JSON Lines request {"main":…,"x":…,"y":…,"z":…} into `formulas`; an absent member
// gives an empty formula. Returns why the line is not such a request, and then every formula
// is empty, or empty text. \u escapes give the exact UTF-16 units, lone surrogates included.
// Reuses the formulas' storage, so a caller that keeps one Formulas for every line seldom
// allocates.
std::u16string readRequest(std::string_view line, Formulas& formulas);

// The same answer as readRequest, always through the general JSON parser: the reference that
// readRequest's shortcut for the common request must agree with.
std::u16string parseRequest(std::string_view line, Formulas& formulas);
