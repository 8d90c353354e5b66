#pragma once

#include <QString>

#include <string>

// The HTML user's manual for a program in `programDir`: beside it in the build tree, or where
// it is installed. Empty when neither exists.
std::u16string findManual(const QString& programDir);
