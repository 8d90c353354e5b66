#pragma once

#include "platform/message_box.h"

#include <string>

// MessageBoxW over the window the user is working in: OK alone and no icon, or a question.
class Win32MessageBox final : public MessageBox
{
public:
    explicit Win32MessageBox(std::u16string title);
    void show(const std::u16string& prompt) override;
    bool confirm(const std::u16string& prompt) override;

private:
    std::u16string m_title;
};
