#pragma once

#include "eval/evaluator.h"

#include <optional>
#include <string>

// The four formula boxes as the user typed them.
struct Formulas
{
    std::u16string main;
    std::u16string x;
    std::u16string y;
    std::u16string z;
};

// What one run writes. An empty optional is a box (or the status line) the run left as it was.
struct Outcome
{
    std::optional<std::u16string> main;  // the main result box, " Error" after a problem
    std::optional<std::u16string> x;
    std::optional<std::u16string> y;
    std::optional<std::u16string> z;
    std::optional<std::u16string> status;
};

inline constexpr char16_t ErrorText[] = u" Error";
inline constexpr char16_t SuccessText[] = u" Evaluation successful.";

// Computes Z, then Y, then X, then the main formula, each value carried into the later formulas
// in parentheses, and stops at the first problem with " Error" and one status message. Reads
// ErrorCode only right after Calculate, and Result only after "0". Never throws for any text.
Outcome runEvaluation(Evaluator& evaluator, const Formulas& formulas, char16_t decimalPoint);
