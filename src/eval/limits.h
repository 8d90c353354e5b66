#pragma once

#include <cstddef>

// Character positions in a formula are signed 16-bit, so a formula text (after trimming) may
// hold at most this many UTF-16 units.
inline constexpr std::size_t MaxFormulaLength = 32767;
