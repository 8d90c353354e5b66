#pragma once

#include "platform/history_file.h"

#include <functional>
#include <memory>
#include <string>

// The history file at `path`, locked with flock on "<path>.lock" beside it: rewrites replace
// the file itself, so a lock on it would be lost with it.
class PosixHistoryFile final : public HistoryFile
{
public:
    // An empty path is a file no call can reach; each says there is no home folder.
    explicit PosixHistoryFile(std::string path);

    std::string read(std::size_t limit) override;
    std::uint64_t append(std::string_view bytes) override;
    void rewrite(std::size_t limit, const std::function<Rewrite(std::string_view)>& edit) override;

private:
    std::string m_path;
};

// "$XDG_DATA_HOME/Sumwright/history.jsonl", or under "$HOME/.local/share" when XDG_DATA_HOME
// is unset or not absolute; empty when HOME is no absolute folder either. `environment` gives
// a variable's value or null.
std::string userHistoryPath(const std::function<const char*(const char*)>& environment);

// The user's history file, at userHistoryPath of this process's environment.
std::unique_ptr<HistoryFile> makeUserHistoryFile();
