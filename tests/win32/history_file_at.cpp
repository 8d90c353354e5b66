#include "support/history_file_at.h"

#include "win32/win32_history_file.h"

std::unique_ptr<HistoryFile> makeHistoryFileAt(const std::filesystem::path& path)
{
    return std::make_unique<Win32HistoryFile>(path.u16string());
}
