#pragma once

#include "platform/file_probe.h"

// FileProbe on QFileInfo.
class QtFileProbe final : public FileProbe
{
public:
    std::u16string findFile(const std::u16string& path) override;
};
