#pragma once

#include <string>

// Both forms give at most 15 significant digits and switch to exponent form (1E+15, 1.5E-05)
// when the decimal exponent of the rounded value is below -4 or at least 15. Negative zero is
// written as zero.

// The text that stands for a value inside a later formula: a space or a minus sign, then the
// number with a period and no zero before it (" 1.5", " .5", "-2", " 1E+20").
std::u16string substitutionForm(double value);

// The text shown in a result box: "1.5", "0.5", "-2", with the caller's decimal separator.
std::u16string displayForm(double value, char16_t decimalPoint);
