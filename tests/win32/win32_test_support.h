#pragma once

#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

// A folder under the temporary folder that exists for one test, removed with its contents.
class ScratchDir
{
public:
    explicit ScratchDir(const std::string& name)
        : m_path(std::filesystem::temp_directory_path()
                 / ("SumwrightTest " + name + " " + std::to_string(GetCurrentProcessId())))
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The marker program built beside the test: it records that it ran and with which arguments.
inline std::filesystem::path markerProgram()
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / "start_marker.exe";
}

// Polls `done` for up to `seconds`; a started program runs on its own schedule.
inline bool waitUntil(const std::function<bool()>& done, int seconds = 20)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}
