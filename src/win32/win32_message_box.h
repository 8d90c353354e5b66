#pragma once

#include "platform/message_box.h"

#include <string>

// MessageBoxW with OK alone and no icon, over the window the user is working in. Windows only.
class Win32MessageBox final : public MessageBox
{
public:
    explicit Win32MessageBox(std::u16string title);
    void show(const std::u16string& prompt) override;

private:
    std::u16string m_title;
};
