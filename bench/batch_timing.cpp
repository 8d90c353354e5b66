// The batch beside the in-process evaluation sequence on Windows, where there is no Google
// Benchmark: a line of `sumwright-cli.exe --batch --jobs 1`, started on a file of worked-example
// requests, against the sequence of the same four formulas, timed in turns in one run. Prints
// a report, and with --json its figures as one JSON object.
//
// Usage: sumwright_batch_timing [--json] [PROGRAM]; PROGRAM is sumwright-cli.exe, by default
// the one built beside this program.

#include "cli/batch.h"
#include "eval/evaluation_sequence.h"
#include "reckoner/reckoner_evaluator.h"
#include "win32/win32_handles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t Lines = 200'000;
constexpr std::size_t Evaluations = 200'000;
constexpr int Rounds = 9;
constexpr char Request[] = R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})";

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Throws away what is written, as NUL does.
class Discard final : public std::streambuf
{
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// Seconds of one evaluation of the worked example, the evaluator reused as in the window.
double sequence(ReckonerEvaluator& evaluator, const Formulas& worked)
{
    const Clock::time_point start = Clock::now();
    bool isSuccess = true;
    for (std::size_t i = 0; i < Evaluations; ++i)
        isSuccess = runEvaluation(evaluator, worked, u'.').problem == std::nullopt && isSuccess;
    const double seconds = since(start) / Evaluations;
    return isSuccess ? seconds : -1.0;
}

// Seconds of a line of runBatch, in this process, over the requests in memory.
double inProcess(const std::string& requests)
{
    std::stringbuf in(requests);
    Discard out;
    const Clock::time_point start = Clock::now();
    const BatchResult result = runBatch(in, out, u'.', 1);
    const double seconds = since(start) / Lines;
    return result.allSucceeded ? seconds : -1.0;
}

// Wall-clock seconds of the program on `input`, its answers to NUL; negative when it failed.
double program(const std::wstring& path, const std::filesystem::path& input)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const UniqueKernelHandle in(CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                            &inherited, OPEN_EXISTING, 0, nullptr));
    const UniqueKernelHandle out(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited,
                                             OPEN_EXISTING, 0, nullptr));
    if (in.get() == INVALID_HANDLE_VALUE || out.get() == INVALID_HANDLE_VALUE)
        return -1.0;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = out.get();
    std::wstring commandLine = L"\"" + path + L"\" --batch --jobs 1";
    PROCESS_INFORMATION started{};
    const Clock::time_point start = Clock::now();
    if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &started)
        == FALSE)
        return -1.0;
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    const double seconds = since(start);
    DWORD status = 1;
    GetExitCodeProcess(process.get(), &status);
    return status == 0 ? seconds : -1.0;
}

// The program built beside this one, as Wine names a path of the build tree.
std::wstring defaultProgram()
{
    std::wstring path;
    for (const char c : std::string_view(SUMWRIGHT_CLI))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path.starts_with(L"\\") ? L"Z:" + path : path;
}

std::string micro(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f µs", seconds * 1e6);
    return text;
}

}  // namespace

int wmain(int argc, wchar_t* argv[])
{
    bool isJson = false;
    std::wstring path = defaultProgram();
    for (int i = 1; i < argc; ++i) {
        if (std::wstring_view(argv[i]) == L"--json")
            isJson = true;
        else
            path = argv[i];
    }

    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::filesystem::path requests =
        folder / ("sumwright-timing-" + std::to_string(GetCurrentProcessId()) + ".jsonl");
    const std::filesystem::path empty = requests.string() + ".empty";
    std::string lines;
    for (std::size_t i = 0; i < Lines; ++i)
        lines += std::string(Request) + '\n';
    std::ofstream(requests, std::ios::binary) << lines;
    std::ofstream(empty, std::ios::binary).flush();

    ReckonerEvaluator evaluator;
    const Formulas worked{u"x^2+y", u"z+1.5", u"3", u"1.5"};
    std::vector<double> sequences;
    std::vector<double> inProcessLines;
    std::vector<double> starts;
    std::vector<double> programLines;
    bool isFailed = false;
    // in turns, so that load on the shared machine falls on each alike
    for (int round = 0; round < Rounds && !isFailed; ++round) {
        sequences.push_back(sequence(evaluator, worked));
        inProcessLines.push_back(inProcess(lines));
        const double start = program(path, empty);
        const double whole = program(path, requests);
        starts.push_back(start);
        // the start of the program under Wine is no cost of a line
        programLines.push_back((whole - start) / Lines);
        isFailed = sequences.back() < 0 || inProcessLines.back() < 0 || start < 0 || whole < 0;
    }
    std::error_code ignored;
    std::filesystem::remove(requests, ignored);
    std::filesystem::remove(empty, ignored);
    if (isFailed) {
        std::fprintf(stderr, "sumwright_batch_timing: a run failed\n");
        return 1;
    }

    const double perSequence = median(sequences);
    const double perInProcess = median(inProcessLines);
    const double perLine = median(programLines);
    if (isJson) {
        std::printf("{\"lines\": %zu, \"rounds\": %d, \"sequence\": %.9g, \"in_process_line\": "
                    "%.9g, \"program_line\": %.9g, \"program_start\": %.9g}\n",
                    Lines, Rounds, perSequence, perInProcess, perLine, median(starts));
        return 0;
    }
    std::printf("Medians of %d rounds, wall-clock time:\n", Rounds);
    std::printf("  the worked example's sequence, in process:      %s\n",
                micro(perSequence).c_str());
    std::printf("  a line of runBatch, in process, %zu lines:  %s, %.2f times\n", Lines,
                micro(perInProcess).c_str(), perInProcess / perSequence);
    std::printf("  a line of the program, %zu lines:           %s, %.2f times "
                "(its start, %.0f ms, left out)\n",
                Lines, micro(perLine).c_str(), perLine / perSequence, median(starts) * 1e3);
    return 0;
}
