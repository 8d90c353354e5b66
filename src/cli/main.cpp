#include "cli/cli.h"
#include "icu/icu_locales.h"
#include "posix/posix_history_file.h"
#include "text/utf8.h"

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// The cores this process may run on, which a container or taskset may restrict.
unsigned usableCores()
{
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0)
        return static_cast<unsigned>(std::max(CPU_COUNT(&cores), 1));
    return std::max(std::thread::hardware_concurrency(), 1u);
}

}  // namespace

int main(int argc, char* argv[])
{
    // The batch reads and writes in blocks; unsynchronised, the streams do so with system calls
    // instead of going through C stdio one character at a time.
    std::ios::sync_with_stdio(false);
    try {
        std::vector<std::u16string> arguments;
        for (int i = 1; i < argc; ++i)
            arguments.push_back(utf8::decode(argv[i]));
        const IcuLocales locales([](const char* name) { return std::getenv(name); });
        const std::unique_ptr<HistoryFile> history = makeUserHistoryFile();
        return runCli(arguments, std::cin, std::cout, std::cerr, locales, history.get(),
                      usableCores());
    } catch (const std::exception& e) {
        std::cerr << "sumwright-cli: " << e.what() << '\n';
        return ExitInternalError;
    }
}
