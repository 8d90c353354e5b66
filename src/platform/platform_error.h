#pragma once

#include <stdexcept>
#include <string>

// The operating system refused a call (settings store, process start). Carries the OS's text.
class PlatformError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
