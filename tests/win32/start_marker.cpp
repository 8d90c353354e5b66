// Started by the process-launcher tests. Writes the arguments it received, one a line in
// UTF-8, to a file named after itself with ".ran" appended; the file appears whole or not at all.
#define WIN32_LEAN_AND_MEAN
#define NOUSER
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring done = std::wstring(self) + L".ran";
    const std::wstring partial = done + L".part";
    {
        std::ofstream out(std::filesystem::path(partial), std::ios::binary);
        for (int i = 1; i < argc; ++i) {
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr,
                                                  nullptr);
            std::string text(static_cast<std::size_t>(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, text.data(), bytes, nullptr, nullptr);
            text.pop_back();  // the terminating zero
            out << text << '\n';
        }
    }
    return MoveFileW(partial.c_str(), done.c_str()) ? 0 : 1;
}
