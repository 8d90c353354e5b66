#pragma once

#include "eval/evaluation_sequence.h"

#include <string>
#include <string_view>

// JSON string literal of UTF-16 text, as UTF-8. A lone surrogate, which UTF-8 cannot carry,
// is written as a \u escape, so every text round-trips exactly.
std::string jsonString(std::u16string_view text);

// {"main":…,"x":…,"y":…,"z":…,"status":…}, null for what the run left untouched.
std::string outcomeJson(const Outcome& outcome);

// {"error":…}, the answer to a batch line that is no request.
std::string errorJson(std::u16string_view problem);
