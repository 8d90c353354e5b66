#pragma once

#include <string>

// Opens a document with the desktop's viewer for its kind.
class DocumentOpener
{
public:
    virtual ~DocumentOpener() = default;
    // Returns without waiting for the viewer. Throws PlatformError when no viewer takes it.
    virtual void open(const std::u16string& path) = 0;
};
