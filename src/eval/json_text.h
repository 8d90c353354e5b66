#pragma once

#include "eval/evaluation_sequence.h"

#include <string>
#include <string_view>

// JSON string literal of UTF-16 text, as UTF-8. A lone surrogate, which UTF-8 cannot carry,
// is written as a \u escape, so every text round-trips exactly.
std::string jsonString(std::u16string_view text);
void appendJsonString(std::string& out, std::u16string_view text);
// The same without its quotes. Text given in parts is escaped as when whole if no part ends
// in a high surrogate.
void appendJsonStringContent(std::string& out, std::u16string_view text);

// {"main":…,"x":…,"y":…,"z":…,"status":…,"problem":…}, null for what the run left
// untouched. The problem is null after success, else {"formula":…,"start":…,"length":…}, with the
// formula's key as in a batch request and 0-based UTF-16 positions in its text as typed.
std::string outcomeJson(const Outcome& outcome);
void appendOutcomeJson(std::string& out, const Outcome& outcome);

// "main", "x", "y" or "z": the formula's key in batch requests and answers.
std::u16string_view formulaName(Stage formula);

// {"error":…}, the answer to a batch line that is no request.
std::string errorJson(std::u16string_view problem);
void appendErrorJson(std::string& out, std::u16string_view problem);
