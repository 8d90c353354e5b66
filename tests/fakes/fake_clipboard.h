#pragma once

#include "platform/clipboard.h"

#include <string>

class FakeClipboard final : public Clipboard
{
public:
    std::u16string text;
    std::string entryLine;

    void copy(const std::u16string& newText, const std::string& newEntryLine) override
    {
        text = newText;
        entryLine = newEntryLine;
    }
};
