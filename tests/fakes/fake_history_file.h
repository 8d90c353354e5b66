#pragma once

#include "platform/history_file.h"
#include "platform/platform_error.h"

#include <string>
#include <utility>

// A history file in memory; `failWith` makes every call throw it.
class FakeHistoryFile final : public HistoryFile
{
public:
    std::string content;
    std::string failWith;
    int writes = 0;  // appends and rewrites

    std::string read(std::size_t) override
    {
        check();
        return content;
    }
    std::uint64_t append(std::string_view bytes) override
    {
        check();
        ++writes;
        content += bytes;
        return content.size();
    }
    void rewrite(std::size_t, const std::function<Rewrite(std::string_view)>& edit) override
    {
        check();
        ++writes;
        content = edit(content).kept;
    }

private:
    void check() const
    {
        if (!failWith.empty())
            throw PlatformError(failWith);
    }
};
