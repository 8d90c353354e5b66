#pragma once

#include "platform/document_opener.h"
#include "platform/platform_error.h"

#include <string>
#include <utility>
#include <vector>

class FakeDocumentOpener final : public DocumentOpener
{
public:
    std::vector<std::u16string> opened;  // paths, in order
    bool failNext = false;               // the next open throws PlatformError

    void open(const std::u16string& path) override
    {
        if (std::exchange(failNext, false))
            throw PlatformError("no viewer");
        opened.push_back(path);
    }
};
