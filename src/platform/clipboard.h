#pragma once

#include <string>

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Puts `text` on the clipboard as text, and `entryLine` (UTF-8 JSON) beside it as a format
    // of the program's own, where the clipboard takes more than one.
    virtual void copy(const std::u16string& text, const std::string& entryLine) = 0;
};
