#pragma once

#include "platform/file_probe.h"

// Asks the file system through GetFileAttributesW. Windows only.
class Win32FileProbe final : public FileProbe
{
public:
    std::u16string findFile(const std::u16string& path) override;
};
