#include "cli/cli.h"
#include "win32/win32_history_file.h"
#include "win32/win32_locales.h"
#include "win32/win32_standard_streams.h"
#include "win32/win32_windows.h"

#include <algorithm>
#include <bit>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace {

// The processors this process may run on, which a job object or start /affinity may restrict.
unsigned usableCores()
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) == FALSE)
        return 1;
    return std::max(static_cast<unsigned>(std::popcount(process)), 1u);
}

}  // namespace

// Windows hands the arguments over as UTF-16 through wmain (linked with -municode).
int wmain(int argc, wchar_t* argv[])
{
    Win32StandardStreams streams;
    try {
        std::vector<std::u16string> arguments;
        for (int i = 1; i < argc; ++i) {
            const std::wstring_view argument(argv[i]);
            arguments.emplace_back(argument.begin(), argument.end());
        }
        const Win32Locales locales;
        const std::unique_ptr<HistoryFile> history = makeUserHistoryFile();
        return runCli(arguments, streams.in(), streams.out(), streams.err(), locales,
                      history.get(), usableCores());
    } catch (const std::exception& e) {
        streams.err() << "sumwright-cli: " << e.what() << '\n';
        return ExitInternalError;
    }
}
