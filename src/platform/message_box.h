#pragma once

#include <string>

class MessageBox
{
public:
    virtual ~MessageBox() = default;
    // Shows `prompt` modally with the single button OK, titled with the application's title;
    // returns when it is dismissed.
    virtual void show(const std::u16string& prompt) = 0;
    // Asks `prompt` with the buttons Yes and No, No the default; true for Yes.
    virtual bool confirm(const std::u16string& prompt) = 0;
};
