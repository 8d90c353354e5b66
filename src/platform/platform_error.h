#pragma once

#include "text/translatable.h"

#include <stdexcept>
#include <string>

// The operating system refused a call (settings store, process start). Carries the OS's text.
class PlatformError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What a program says when an error that no handler expected ends it: the prompt, with the
// error's own text for its placeholder, or the text for an error that has none.
inline constexpr char16_t FatalErrorText[] = N_(u"Sumwright must close because of an error:\n\n%s");
inline constexpr char16_t UnknownErrorText[] = N_(u"An unknown error occurred.");
