#pragma once

#include "platform/message_box.h"

#include <vector>

class FakeMessageBox final : public MessageBox
{
public:
    std::vector<std::u16string> shown;  // prompts, in order, questions too
    bool answersYes = false;

    void show(const std::u16string& prompt) override { shown.push_back(prompt); }
    bool confirm(const std::u16string& prompt) override
    {
        shown.push_back(prompt);
        return answersYes;
    }
};
