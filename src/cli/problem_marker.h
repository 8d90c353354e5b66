#pragma once

#include "eval/evaluation_sequence.h"

#include <string>

// The line of `typed` that holds `problem`, and below it a line that marks the problem the way
// compilers do: "^" under its first character and "~" under the rest, or a lone "^" where the
// problem is a place between characters. Tabs are kept in the marker line and characters that
// take no column or two are counted so, so that the marks stand under what they mark in a
// terminal; control and invisible characters are shown as U+FFFD. A problem that runs on past
// its line is marked to the line's end. Of a line longer than 120 units only an excerpt around
// the problem is shown, with "..." where it is cut.
struct ProblemLines
{
    std::u16string text;
    std::u16string marker;
    std::size_t lineNumber;  // 1-based; formulas of the window's Formula box may have several
};

ProblemLines problemLines(std::u16string_view typed, const Problem& problem);

// The terminal columns `text` takes, counted as the marker counts them: what stands before a
// problem line is filled with as many spaces on the marker's line.
std::size_t terminalColumns(std::u16string_view text);
