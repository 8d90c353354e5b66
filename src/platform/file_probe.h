#pragma once

#include <string>

class FileProbe
{
public:
    virtual ~FileProbe() = default;
    // The name of the ordinary file at `path` (not hidden, not a system file, not a folder),
    // or empty text when there is none. Never throws.
    virtual std::u16string findFile(const std::u16string& path) = 0;
};
