#pragma once

#include "platform/history_file.h"

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>

// This platform's HistoryFile at `path`; each back end's tests define it.
std::unique_ptr<HistoryFile> makeHistoryFileAt(const std::filesystem::path& path);

// A folder under the temporary folder for one test, removed with its contents.
class HistoryScratch
{
public:
    HistoryScratch()
        : m_path(std::filesystem::temp_directory_path()
                 / ("sumwright-history-" + std::to_string(std::random_device()())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~HistoryScratch()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    HistoryScratch(const HistoryScratch&) = delete;
    HistoryScratch& operator=(const HistoryScratch&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path file() const { return m_path / "history.jsonl"; }

private:
    std::filesystem::path m_path;
};
