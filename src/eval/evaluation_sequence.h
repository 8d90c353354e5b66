#pragma once

#include "eval/messages.h"
#include "platform/evaluator.h"
#include "text/translatable.h"

#include <cstddef>
#include <optional>
#include <string>

// The four formula boxes as the user typed them.
struct Formulas
{
    std::u16string main;
    std::u16string x;
    std::u16string y;
    std::u16string z;

    bool operator==(const Formulas&) const = default;
};

// Where the problem a run reported lies, in the box of `formula` as the user typed it: before
// trimming, rewriting and substitution. `start` is a 0-based offset and `length` a count of
// UTF-16 units; a length of 0 marks a place between units. start + length never passes the end
// of the typed text.
//   - An evaluator's problem (codes 1 to 4) is mapped back from the text it evaluated. A place
//     inside a substituted value, or inside a placeholder, covers the variable's letter as typed:
//     2x with X = 3 points at the x, and an unknown name holding a letter left as a
//     placeholder covers the whole name as typed. A formula that stops too early points at the
//     end of its trimmed text; an empty formula at 0 with length 0.
//   - An undefined reference: the first letter of the variable, in either case, that the
//     formula named in the message uses (an x inside "exp" is no use of x); length 1.
//   - A formula longer than MaxFormulaLength: the units past the limit, counted in the trimmed
//     text, so start is the leading spaces plus MaxFormulaLength and the length is the trimmed
//     length minus MaxFormulaLength.
struct Problem
{
    Stage formula;
    std::size_t start;
    std::size_t length;

    bool operator==(const Problem&) const = default;
};

// What one run writes. An empty optional is a box (or the status line) the run left as it was.
struct Outcome
{
    std::optional<std::u16string> main;  // the main result box, " Error" after a problem
    std::optional<std::u16string> x;
    std::optional<std::u16string> y;
    std::optional<std::u16string> z;
    std::optional<std::u16string> status;
    std::optional<Problem> problem;  // set exactly when the run reports an error

    bool operator==(const Outcome&) const = default;
};

inline constexpr char16_t ErrorText[] = u" Error";
inline constexpr char16_t SuccessText[] = N_(u" Evaluation successful.");

// Computes Z, then Y, then X, then the main formula, each value carried into the later formulas
// in parentheses, and stops at the first problem with " Error" and one status message. Reads
// ErrorCode only right after Calculate, and Result only after "0". Never throws for any text.
Outcome runEvaluation(Evaluator& evaluator, const Formulas& formulas, char16_t decimalPoint);
