#include "cli/cli.h"
#include "icu/icu_locales.h"
#include "posix/posix_history_file.h"
#include "text/utf8.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    try {
        std::vector<std::u16string> arguments;
        for (int i = 1; i < argc; ++i)
            arguments.push_back(utf8::decode(argv[i]));
        const IcuLocales locales([](const char* name) { return std::getenv(name); });
        const std::unique_ptr<HistoryFile> history = makeUserHistoryFile();
        return runCli(arguments, std::cin, std::cout, std::cerr, locales, history.get());
    } catch (const std::exception& e) {
        std::cerr << "sumwright-cli: " << e.what() << '\n';
        return ExitInternalError;
    }
}
