#pragma once

#include "platform/history_file.h"

#include <memory>
#include <string>
#include <string_view>

// The history file at `path`, locked with LockFileEx on "<path>.lock" beside it: rewrites
// replace the file itself, so a lock on it would be lost with it.
class Win32HistoryFile final : public HistoryFile
{
public:
    // An empty path is a file no call can reach; each says there is no folder for it.
    explicit Win32HistoryFile(std::u16string path);

    std::string read(std::size_t limit) override;
    std::uint64_t append(std::string_view bytes) override;
    void rewrite(std::size_t limit, const std::function<Rewrite(std::string_view)>& edit) override;

private:
    std::u16string m_path;
};

// Writes `bytes` to "<path>.new", on the disk, then puts that in place of `path` in one step,
// so that a failure leaves the old file whole. Throws PlatformError: `failure`, then the path
// and Windows' reason.
void replaceFileWhole(const std::u16string& path, std::string_view bytes,
                      std::string_view failure);

// The user's history file: "Sumwright\history.jsonl" in the roaming application-data folder.
std::unique_ptr<HistoryFile> makeUserHistoryFile();
