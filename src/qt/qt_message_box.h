#pragma once

#include "platform/message_box.h"

#include <string>

// MessageBox on QMessageBox: no icon, no owner window.
class QtMessageBox final : public MessageBox
{
public:
    explicit QtMessageBox(std::u16string title);
    void show(const std::u16string& prompt) override;
    bool confirm(const std::u16string& prompt) override;

private:
    std::u16string m_title;
};
