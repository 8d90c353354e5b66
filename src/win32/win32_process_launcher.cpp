#include "win32/win32_process_launcher.h"

#include "platform/platform_error.h"
#include "win32/win32_handles.h"
#include "win32/win32_text.h"
#include "win32/win32_windows.h"

#include <string>

namespace {

// Quoted by the rules the C runtime uses to split a command line: backslashes are literal
// except before a quote, where they are doubled, and the quote is escaped.
void appendQuoted(std::u16string& line, const std::u16string& arg)
{
    line += u'"';
    std::size_t backslashes = 0;
    for (const char16_t c : arg) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"')
            backslashes = backslashes * 2 + 1;
        line.append(backslashes, u'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, u'\\');  // the closing quote must stay a quote
    line += u'"';
}

}  // namespace

std::u16string windowsCommandLine(const std::u16string& program,
                                  const std::vector<std::u16string>& args)
{
    // The program name ends at the next quote whatever precedes it, so no escaping there;
    // a quote cannot be part of a Windows file name anyway.
    std::u16string line = u"\"" + program + u"\"";
    for (const std::u16string& arg : args) {
        line += u' ';
        appendQuoted(line, arg);
    }
    return line;
}

void Win32ProcessLauncher::start(const std::u16string& program,
                                 const std::vector<std::u16string>& args)
{
    if (program.empty() || program.find(u'"') != std::u16string::npos)
        throw PlatformError("not a program name");
    const std::u16string line = windowsCommandLine(program, args);
    std::wstring mutableLine = toWide(line);  // CreateProcessW may write to it

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        throw PlatformError(systemMessage(GetLastError()));
    const UniqueKernelHandle thread(process.hThread);
    const UniqueKernelHandle started(process.hProcess);
}
