#include "history_bench.h"

#include "eval/limits.h"
#include "history/file_history_store.h"
#include "history/history_lines.h"
#include "posix/posix_history_file.h"
#include "reckoner/reckoner_evaluator.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <system_error>

namespace {

std::u16string sumOf(char16_t term, std::size_t length)
{
    std::u16string text;
    text.reserve(length);
    while (text.size() + 2 <= length)
        text += text.empty() ? std::u16string(1, term) : std::u16string{u'+', term};
    return text;
}

HistoryEntry recorded(const Formulas& formulas)
{
    ReckonerEvaluator evaluator;
    return {1796685004, formulas, runEvaluation(evaluator, formulas, u'.')};
}

// One entry appended as a window records it: its line written, the lock taken, one write. The
// file starts over, outside the timing, before it grows past the size that would trim it.
void append(benchmark::State& state, const HistoryAppendCase* run)
{
    const HistoryEntry entry = recorded(*run->formulas);
    const std::size_t lineSize = historyLine(entry).size() + 1;
    const std::size_t perFile = HistoryTrimSize / lineSize / 2;
    std::filesystem::remove(run->file);
    FileHistoryStore store(std::make_unique<PosixHistoryFile>(run->file.string()));
    std::size_t inFile = 0;
    for (auto _ : state) {
        store.append(entry);
        if (++inFile == perFile) {
            state.PauseTiming();
            std::filesystem::remove(run->file);
            inFile = 0;
            state.ResumeTiming();
        }
    }
    state.counters["line_bytes"] = double(lineSize);
}

// The start of a window with a full history: 1,000 entries just within the byte bound, read,
// checked line by line and sorted.
void loadFull(benchmark::State& state, const std::filesystem::path* file)
{
    std::string content;
    const std::size_t length = MaxHistoryBytes / MaxHistoryEntries - 300;
    for (std::size_t i = 0; i < MaxHistoryEntries; ++i) {
        const std::string number = std::to_string(i) + "+";
        std::u16string main(number.begin(), number.end());
        main += sumOf(u'1', length - main.size());
        content += historyLine({std::int64_t(i), {main, u"", u"", u""}, {}}) + '\n';
    }
    if (content.size() > MaxHistoryBytes)
        state.SkipWithError("the full history passes the byte bound");
    std::ofstream(*file, std::ios::binary | std::ios::trunc) << content;
    FileHistoryStore store(std::make_unique<PosixHistoryFile>(file->string()));
    for (auto _ : state) {
        auto entries = store.load();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["file_bytes"] = double(content.size());
    state.SetBytesProcessed(state.iterations() * std::int64_t(content.size()));
}

void evaluate(benchmark::State& state, const Formulas* formulas)
{
    ReckonerEvaluator evaluator;
    for (auto _ : state) {
        Outcome outcome = runEvaluation(evaluator, *formulas, u'.');
        benchmark::DoNotOptimize(outcome);
    }
}

}  // namespace

HistoryBenchmarks::HistoryBenchmarks(std::filesystem::path scratch)
    : m_scratch(std::move(scratch)),
      m_worked{u"x^2+y", u"z+1.5", u"3", u"1.5"},
      m_fourLong{sumOf(u'x', MaxFormulaLength), sumOf(u'y', MaxFormulaLength),
                 sumOf(u'z', MaxFormulaLength), sumOf(u'1', MaxFormulaLength)},
      m_workedCase{m_scratch / "worked.jsonl", &m_worked},
      m_fourLongCase{m_scratch / "long.jsonl", &m_fourLong},
      m_full(m_scratch / "full.jsonl")
{
    std::filesystem::create_directories(m_scratch);
    benchmark::RegisterBenchmark("History/Evaluate/FourLong", evaluate, &m_fourLong);
    benchmark::RegisterBenchmark("History/Append/WorkedExample", append, &m_workedCase);
    benchmark::RegisterBenchmark("History/Append/FourLong", append, &m_fourLongCase);
    benchmark::RegisterBenchmark("History/Load/Full", loadFull, &m_full);
}

HistoryBenchmarks::~HistoryBenchmarks()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_scratch, ignored);
}
