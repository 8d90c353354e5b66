#include "batch_program.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr std::size_t Lines = 100'000;
constexpr char Request[] = R"({"main":"x^2+y","x":"z+1.5","y":"3","z":"1.5"})";

struct Run
{
    std::string program;
    std::vector<std::string> arguments;
    const std::string* input;
    bool isWallTime;  // for several threads; otherwise the CPU time of the program
};

struct Timing
{
    double seconds;
    long peakKiB;
    bool isSuccess;
};

// The peak the program reported by /usr/bin/time, which starts it from a process of its own:
// the peak of a process started straight from this one would count this one's memory.
long reportedPeakKiB(const std::string& path)
{
    std::ifstream file(path);
    long kiB = 0;
    file >> kiB;
    return kiB;
}

Timing runProgram(const Run& run)
{
    const std::string peakFile = *run.input + ".peak";
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, run.input->c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    const std::string timeProgram = "/usr/bin/time";
    std::vector<std::string> timeArguments = {"-f", "%M", "-o", peakFile};
    std::vector<char*> argv{const_cast<char*>(timeProgram.c_str())};
    for (std::string& argument : timeArguments)
        argv.push_back(argument.data());
    argv.push_back(const_cast<char*>(run.program.c_str()));
    for (const std::string& argument : run.arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool isStarted =
        posix_spawn(&pid, timeProgram.c_str(), &files, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&files);
    int status = 0;
    rusage usage{};
    if (!isStarted || wait4(pid, &status, 0, &usage) != pid)
        return {0.0, 0, false};
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const auto time = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec * 1e-6; };
    const double cpu = time(usage.ru_utime) + time(usage.ru_stime);
    // every line succeeds, so the status is 0
    const bool isSuccess = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    // the CPU time of time's child is its own: the child was waited for
    return {run.isWallTime ? wall.count() : cpu, reportedPeakKiB(peakFile), isSuccess};
}

void batch(benchmark::State& state, const Run& run)
{
    long peakKiB = 0;
    for (auto _ : state) {
        const Timing timing = runProgram(run);
        if (!timing.isSuccess) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(timing.seconds);
        peakKiB = std::max(peakKiB, timing.peakKiB);
    }
    state.counters["lines"] = double(Lines);
    state.counters["peak_bytes"] = double(peakKiB) * 1024;
    state.SetItemsProcessed(state.iterations() * std::int64_t(Lines));
}

void registerRun(const std::string& name, Run run)
{
    benchmark::RegisterBenchmark(name.c_str(), [run](benchmark::State& state) {
        batch(state, run);
    })->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

BatchBenchmarks::BatchBenchmarks(const std::string& cli, const std::string& cliBefore)
    : m_input((std::filesystem::temp_directory_path()
               / ("sumwright-bench-" + std::to_string(getpid()) + ".jsonl")).string())
{
    {
        std::ofstream file(m_input, std::ios::binary);
        for (std::size_t i = 0; i < Lines; ++i)
            file << Request << '\n';
    }
    const std::string cores = std::to_string(std::max(std::thread::hardware_concurrency(), 1u));
    // CPU time: what one job costs, beside the in-process sequence of the same formulas
    registerRun("Batch/OneJob", {cli, {"--batch", "--jobs", "1"}, &m_input, false});
    // wall time: what several jobs gain
    registerRun("Batch/Jobs/1", {cli, {"--batch", "--jobs", "1"}, &m_input, true});
    if (cores != "1")
        registerRun("Batch/Jobs/" + cores, {cli, {"--batch", "--jobs", cores}, &m_input, true});
    if (!cliBefore.empty())
        registerRun("Batch/Before", {cliBefore, {"--batch"}, &m_input, false});
}

BatchBenchmarks::~BatchBenchmarks()
{
    std::error_code ignored;
    std::filesystem::remove(m_input, ignored);
    std::filesystem::remove(m_input + ".peak", ignored);
}
