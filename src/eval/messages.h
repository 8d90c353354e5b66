#pragma once

#include <string_view>

// The formula a message is about.
enum class Stage { Z, Y, X, Main };

// The status message for evaluator code 1 to 4 of a formula; empty for any other number.
std::u16string_view codeMessage(Stage stage, int code);

// The message for a formula text longer than MaxFormulaLength.
std::u16string_view tooLongMessage(Stage stage);

// The message for `variable`'s placeholder found in `user`, a formula computed after it, while
// the variable has no formula of its own. `user` comes after `variable` in Z, Y, X, Main.
std::u16string_view undefinedMessage(Stage variable, Stage user);
