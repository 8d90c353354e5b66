#pragma once

#include "platform/file_probe.h"

#include <set>
#include <vector>

class FakeFileProbe final : public FileProbe
{
public:
    std::set<std::u16string> files;       // paths of ordinary files that exist
    std::vector<std::u16string> asked;    // in order

    std::u16string findFile(const std::u16string& path) override
    {
        asked.push_back(path);
        if (!files.contains(path))
            return {};
        const std::size_t slash = path.find_last_of(u"\\/");
        return slash == std::u16string::npos ? path : path.substr(slash + 1);
    }
};
