#include "support/history_file_at.h"

#include "posix/posix_history_file.h"

std::unique_ptr<HistoryFile> makeHistoryFileAt(const std::filesystem::path& path)
{
    return std::make_unique<PosixHistoryFile>(path.string());
}
