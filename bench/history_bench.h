#pragma once

#include "eval/evaluation_sequence.h"

#include <filesystem>
#include <string>

// A file and the formulas whose entry a benchmark appends to it.
struct HistoryAppendCase
{
    std::filesystem::path file;
    const Formulas* formulas;
};

// Registers what keeping the history costs: one append after an evaluation, beside that
// evaluation, and the load of a full history at start. Holds the formulas and a scratch folder
// beside the build, on the disk a user's history would be on, for as long as it lives.
class HistoryBenchmarks
{
public:
    explicit HistoryBenchmarks(std::filesystem::path scratch);
    ~HistoryBenchmarks();
    HistoryBenchmarks(const HistoryBenchmarks&) = delete;
    HistoryBenchmarks& operator=(const HistoryBenchmarks&) = delete;

private:
    std::filesystem::path m_scratch;
    Formulas m_worked;
    Formulas m_fourLong;
    HistoryAppendCase m_workedCase;
    HistoryAppendCase m_fourLongCase;
    std::filesystem::path m_full;
};
