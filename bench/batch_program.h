#pragma once

#include <string>

// Registers the benchmarks that time sumwright-cli --batch as a script runs it: the program
// `cli` started on a file of worked-example requests, its answers thrown away. `cliBefore`,
// when not empty, is an earlier build of the program, timed the same way without --jobs.
// The input file lives until the returned object goes.
class BatchBenchmarks
{
public:
    BatchBenchmarks(const std::string& cli, const std::string& cliBefore);
    ~BatchBenchmarks();
    BatchBenchmarks(const BatchBenchmarks&) = delete;
    BatchBenchmarks& operator=(const BatchBenchmarks&) = delete;

private:
    std::string m_input;
};
