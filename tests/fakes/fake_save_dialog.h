#pragma once

#include "platform/platform_error.h"
#include "platform/save_dialog.h"

#include <map>
#include <string>

// Answers with `choice` and keeps what is written by path; can be told to refuse the write.
class FakeSaveDialog final : public SaveDialog
{
public:
    std::optional<SaveChoice> choice;  // none: the user cancels
    std::map<std::u16string, std::string> files;
    bool refuses = false;

    std::optional<SaveChoice> ask(std::u16string_view) override { return choice; }
    void write(const std::u16string& path, std::string_view bytes) override
    {
        if (refuses)
            throw PlatformError("Cannot write history.csv: access denied.");
        files[path] = bytes;
    }
};
