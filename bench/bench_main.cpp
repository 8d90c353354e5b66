#include "allocation_count.h"
#include "batch_program.h"
#include "corpus.h"
#include "history_bench.h"

#include "eval/evaluation_sequence.h"
#include "eval/expand_var.h"
#include "eval/limits.h"
#include "reckoner/reckoner.h"
#include "reckoner/reckoner_evaluator.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

// Every evaluation is one-shot, as in the program: the formula text changes from one call to the
// next, so each call reads and computes the whole text. muparser runs alongside on the same
// texts, one reused parser with SetExpr and Eval, so that the ratio comes from one run.

namespace {

constexpr std::size_t LongSumTerms[] = {4000, 16384, 100000};
constexpr char LongSumTerm[] = "1.5";

// Allocations per iteration; pass the count taken before the timed loop.
void reportAllocations(benchmark::State& state, std::uint64_t before)
{
    state.counters["allocations"] = benchmark::Counter(double(allocationCount() - before),
                                                       benchmark::Counter::kAvgIterations);
}

std::unique_ptr<mu::Parser> makeMuparser()
{
    auto parser = std::make_unique<mu::Parser>();
    parser->DefineConst("pi", std::numbers::pi);
    parser->DefineConst("e", std::numbers::e);
    return parser;
}

bool muparserAccepts(mu::Parser& parser, const std::string& text, double& value)
{
    try {
        parser.SetExpr(text);
        value = parser.Eval();
        return true;
    } catch (const mu::Parser::exception_type&) {
        return false;
    }
}

// The Reckoner call sequence of one evaluation; 0 after a code other than "0".
double evaluate(Reckoner& reckoner, const std::u16string& text)
{
    reckoner.setExpression(text);
    reckoner.Calculate();
    return reckoner.ErrorCode() == u"0" ? reckoner.Result() : 0.0;
}

void corpusReckoner(benchmark::State& state, const std::vector<Formula>* corpus)
{
    Reckoner reckoner;
    for (const Formula& formula : *corpus)
        evaluate(reckoner, formula.text);  // buffers reach their working size
    const std::uint64_t before = allocationCount();
    for (auto _ : state) {
        for (const Formula& formula : *corpus)
            benchmark::DoNotOptimize(evaluate(reckoner, formula.text));
    }
    reportAllocations(state, before);
    state.counters["formulas"] = double(corpus->size());
    state.SetItemsProcessed(state.iterations() * std::int64_t(corpus->size()));
}

void corpusMuparser(benchmark::State& state, const std::vector<Formula>* corpus)
{
    const auto parser = makeMuparser();
    for (auto _ : state) {
        for (const Formula& formula : *corpus) {
            parser->SetExpr(formula.utf8);
            benchmark::DoNotOptimize(parser->Eval());
        }
    }
    state.counters["formulas"] = double(corpus->size());
    state.SetItemsProcessed(state.iterations() * std::int64_t(corpus->size()));
}

// One byte per character for both parsers, whatever width each reads.
void reportText(benchmark::State& state, std::size_t length)
{
    state.counters["chars"] = double(length);
    state.SetBytesProcessed(state.iterations() * std::int64_t(length));
}

void textReckoner(benchmark::State& state, const std::u16string* text)
{
    // Every byte a new evaluator allocates for the text, grown buffers' old blocks included:
    // more than it holds at its peak.
    const std::uint64_t bytesBefore = allocatedBytes();
    Reckoner reckoner;
    evaluate(reckoner, *text);
    state.counters["heap_bytes"] = double(allocatedBytes() - bytesBefore);
    const std::uint64_t before = allocationCount();
    for (auto _ : state)
        benchmark::DoNotOptimize(evaluate(reckoner, *text));
    reportAllocations(state, before);
    reportText(state, text->size());
}

void textMuparser(benchmark::State& state, const std::string* text)
{
    const auto parser = makeMuparser();
    for (auto _ : state) {
        parser->SetExpr(*text);
        benchmark::DoNotOptimize(parser->Eval());
    }
    reportText(state, text->size());
}

void sequence(benchmark::State& state, const Formulas* formulas)
{
    ReckonerEvaluator evaluator;  // one evaluator for every run, as in the window
    runEvaluation(evaluator, *formulas, u'.');
    const std::uint64_t before = allocationCount();
    for (auto _ : state) {
        Outcome outcome = runEvaluation(evaluator, *formulas, u'.');
        benchmark::DoNotOptimize(outcome);
    }
    reportAllocations(state, before);
    const Outcome outcome = runEvaluation(evaluator, *formulas, u'.');
    state.SetLabel(std::string(outcome.status->begin(), outcome.status->end()));
}

void expandVar(benchmark::State& state, const std::u16string* text)
{
    for (auto _ : state) {
        auto rewritten = ExpandVar(*text);
        benchmark::DoNotOptimize(rewritten);
    }
    reportText(state, text->size());
}

// Takes "--NAME VALUE" or "--NAME=VALUE" out of the arguments; the rest go to the library.
std::string takeOption(int& argc, char** argv, const std::string& name, std::string value)
{
    const std::string option = "--" + name;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == option && i + 1 < argc) {
            value = argv[++i];
        } else if (std::strncmp(argv[i], (option + "=").c_str(), option.size() + 1) == 0) {
            value = argv[i] + option.size() + 1;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}

// The formulas muparser reads; the others are named on stderr. Where both compute a value and
// the values differ, the two read the formula differently and the comparison would be unfair.
std::vector<Formula> sharedCorpus(const std::vector<Formula>& corpus, int& disagreements)
{
    const auto parser = makeMuparser();
    Reckoner reckoner;
    std::vector<Formula> shared;
    disagreements = 0;
    for (const Formula& formula : corpus) {
        double theirs = 0.0;
        if (!muparserAccepts(*parser, formula.utf8, theirs)) {
            std::fprintf(stderr, "muparser rejects, left out: %s\n", formula.utf8.c_str());
            continue;
        }
        reckoner.setExpression(formula.text);
        reckoner.Calculate();
        if (reckoner.ErrorCode() == u"0" && std::isfinite(theirs)) {
            const double ours = reckoner.Result();
            if (std::fabs(ours - theirs) > 1e-9 * std::fmax(1.0, std::fabs(theirs))) {
                std::fprintf(stderr, "values differ (%.17g here, %.17g muparser): %s\n", ours,
                             theirs, formula.utf8.c_str());
                ++disagreements;
            }
        }
        shared.push_back(formula);
    }
    return shared;
}

}  // namespace

// The texts live in main, which outlives every benchmark run.
int main(int argc, char** argv)
{
    const std::string corpusPath = takeOption(argc, argv, "corpus", SUMWRIGHT_DEFAULT_CORPUS);
    const std::string cli = takeOption(argc, argv, "cli", SUMWRIGHT_CLI);
    const std::string cliBefore = takeOption(argc, argv, "cli-before", "");
    bool isReadable = false;
    const std::vector<Formula> corpus = readCorpus(corpusPath, isReadable);
    if (!isReadable || corpus.empty()) {
        std::fprintf(stderr, "no formulas in %s\n", corpusPath.c_str());
        return 2;
    }
    int disagreements = 0;
    const std::vector<Formula> shared = sharedCorpus(corpus, disagreements);
    if (shared.empty()) {
        std::fprintf(stderr, "muparser reads none of the formulas in %s\n", corpusPath.c_str());
        return 2;
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    benchmark::AddCustomContext("corpus", corpusPath);
    benchmark::AddCustomContext("corpus_formulas", std::to_string(corpus.size()));
    benchmark::AddCustomContext("corpus_shared", std::to_string(shared.size()));
    benchmark::AddCustomContext("corpus_disagreements", std::to_string(disagreements));

    benchmark::RegisterBenchmark("Corpus/Reckoner", corpusReckoner, &shared);
    benchmark::RegisterBenchmark("Corpus/muparser", corpusMuparser, &shared);
    if (shared.size() < corpus.size())
        benchmark::RegisterBenchmark("CorpusAll/Reckoner", corpusReckoner, &corpus);

    std::vector<std::string> sums;
    std::vector<std::u16string> wideSums;
    sums.reserve(std::size(LongSumTerms));
    wideSums.reserve(std::size(LongSumTerms));
    const auto probe = makeMuparser();
    for (const std::size_t terms : LongSumTerms) {
        const std::string& sum = sums.emplace_back(joinedSum(LongSumTerm, terms));
        const std::u16string& wide = wideSums.emplace_back(widened(sum));
        const std::string suffix = "/" + std::to_string(terms);
        benchmark::RegisterBenchmark(("LongSum/Reckoner" + suffix).c_str(), textReckoner, &wide);
        double value = 0.0;
        if (muparserAccepts(*probe, sum, value))
            benchmark::RegisterBenchmark(("LongSum/muparser" + suffix).c_str(), textMuparser, &sum);
    }

    // As deep as a formula of the longest length can nest.
    constexpr std::size_t Depth = (MaxFormulaLength - 1) / 2;
    const std::u16string nested =
        std::u16string(Depth, u'(') + u"1" + std::u16string(Depth, u')');
    benchmark::RegisterBenchmark("Nesting/Reckoner/32767", textReckoner, &nested);

    const Formulas worked{u"x^2+y", u"z+1.5", u"3", u"1.5"};
    benchmark::RegisterBenchmark("Sequence/WorkedExample", sequence, &worked);

    // x+x+...+x of the longest length, X's value in the longest substitution form there is:
    // sign, 15 digits and a three-digit exponent.
    std::u16string longest;
    longest.reserve(MaxFormulaLength);
    while (longest.size() + 2 <= MaxFormulaLength)
        longest += longest.empty() ? u"x" : u"+x";
    const Formulas worst{longest, u"y*1E-100", u"z", u"-1/3"};
    benchmark::RegisterBenchmark("Sequence/WorstCase", sequence, &worst);

    const std::u16string xs(MaxFormulaLength, u'x');
    benchmark::RegisterBenchmark("ExpandVar/32767", expandVar, &xs);

    const HistoryBenchmarks history(SUMWRIGHT_HISTORY_SCRATCH);
    const BatchBenchmarks batch(cli, cliBefore);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
