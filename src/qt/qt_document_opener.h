#pragma once

#include "platform/document_opener.h"

// DocumentOpener on QDesktopServices.
class QtDocumentOpener final : public DocumentOpener
{
public:
    void open(const std::u16string& path) override;
};
