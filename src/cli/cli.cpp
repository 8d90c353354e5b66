#include "cli/cli.h"

#include "build_info.h"
#include "cli/batch.h"
#include "cli/problem_marker.h"
#include "eval/evaluation_sequence.h"
#include "eval/json_text.h"
#include "history/history_lines.h"
#include "l10n/built_in_catalogs.h"
#include "l10n/language_choice.h"
#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "reckoner/reckoner_evaluator.h"
#include "text/decimal.h"
#include "text/translatable.h"
#include "text/trim_spaces.h"
#include "text/utf8.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The help, a block of lines to each text, so that a translation keeps the layout block by
// block: options in the first 22 columns. A block's later pieces have no u prefix, which the
// compiler does not need and xgettext would take as the start of another text.
constexpr std::u16string_view Usage[] = {
    N_(u"Usage: sumwright-cli [-x FORMULA] [-y FORMULA] [-z FORMULA] [--locale NAME] [--json]\n"
       "                     [--] [MAIN]\n"
       "       sumwright-cli --batch [--jobs N] [--locale NAME]\n"
       "       sumwright-cli --history [--json]\n"),
    u"\n",
    N_(u"Computes Z, then Y, then X, then the main formula MAIN, as the Sumwright window does.\n"
       "MAIN may use x, y and z; the formula for X may use y and z; the one for Y may use z.\n"),
    u"\n",
    N_(u"  -x, -y, -z FORMULA  the formulas for the variables (absent: empty)\n"),
    N_(u"  --locale NAME       take the decimal separator of NAME (de_DE, en_US, ...) instead of\n"
       "                      the user's locale\n"),
    N_(u"  --json              print one JSON object with the exact texts of the result boxes and\n"
       "                      the status line, null for what the run left untouched, and where\n"
       "                      the problem lies\n"),
    N_(u"  --batch             read JSON Lines {\"main\":...,\"x\":...,\"y\":...,\"z\":...} from\n"
       "                      standard input and print one --json line for each, in the\n"
       "                      order read\n"),
    N_(u"  --jobs N            with --batch, evaluate on N threads (default: one for each core\n"
       "                      this process may use)\n"),
    N_(u"  --history           print the kept history, oldest first, one entry a line: the UTC\n"
       "                      time, then MAIN = RESULT, or MAIN and the status after a problem;\n"
       "                      with --json, the kept JSON Lines as they are\n"),
    N_(u"  --language LL       speak the language LL (de, fr, pt_BR, ...; en for English)\n"
       "                      instead of the user's; --json and --batch always speak English\n"),
    N_(u"  -h, --help          show this help\n"),
    N_(u"  --version           show the version\n"),
    u"\n",
    N_(u"A MAIN that starts with '-' is a formula unless it is one of the options above; after\n"
       "'--' every argument is part of MAIN. Several MAIN arguments are joined with spaces.\n"),
    u"\n",
    N_(u"Exit status: 0 when the evaluation succeeded (with --batch: every line did), "
       "1 otherwise,\n"
       "2 for bad usage, 3 for an internal error.\n"),
};

struct Options
{
    Formulas formulas;
    std::vector<std::u16string> mainParts;
    std::optional<std::u16string> localeName;
    std::optional<std::u16string> language;
    unsigned jobs = 0;  // 0: one for each usable core
    bool json = false;
    bool batch = false;
    bool history = false;
    bool help = false;
    bool version = false;
};

constexpr unsigned MaxJobs = 256;

// 0 unless `text` is a decimal number from 1 to MaxJobs.
unsigned jobCount(std::u16string_view text)
{
    std::string digits;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        digits += static_cast<char>(c);
    }
    unsigned count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    const bool isWhole = error == std::errc() && end == digits.data() + digits.size();
    return isWhole && count <= MaxJobs ? count : 0;
}

// A problem with the arguments, told once the language is known.
struct UsageProblem
{
    std::u16string_view pattern;  // English, with placeholders for the two texts
    std::u16string first = {};
    std::u16string second = {};

    std::u16string told(const Catalog& catalog) const
    {
        return formatMessage(catalog.text(pattern), {first, second});
    }
};

std::u16string joinedWithSpaces(const std::vector<std::u16string>& parts)
{
    std::u16string out;
    for (const std::u16string& part : parts) {
        if (&part != &parts.front())
            out += u' ';
        out += part;
    }
    return out;
}

std::optional<UsageProblem> parse(const std::vector<std::u16string>& arguments, Options& options)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& arg = arguments[i];
        const auto value = [&](std::u16string& target) -> bool {
            if (i + 1 >= arguments.size())
                return false;
            target = arguments[++i];
            return true;
        };
        if (optionsEnded) {
            options.mainParts.push_back(arg);
        } else if (arg == u"--") {
            optionsEnded = true;
        } else if (arg == u"-x" || arg == u"-y" || arg == u"-z") {
            std::u16string& target = arg == u"-x"   ? options.formulas.x
                                     : arg == u"-y" ? options.formulas.y
                                                    : options.formulas.z;
            if (!value(target))
                return UsageProblem{N_(u"option %s needs a formula"), {arg}};
        } else if (arg == u"--locale") {
            if (!value(options.localeName.emplace()))
                return UsageProblem{N_(u"option --locale needs a locale name")};
        } else if (arg.starts_with(u"--locale=")) {
            options.localeName = arg.substr(9);
        } else if (arg == u"--language") {
            if (!value(options.language.emplace()))
                return UsageProblem{N_(u"option --language needs a language")};
        } else if (arg.starts_with(u"--language=")) {
            options.language = arg.substr(11);
        } else if (arg == u"--jobs" || arg.starts_with(u"--jobs=")) {
            std::u16string count = arg.substr(std::min<std::size_t>(arg.size(), 7));
            if (arg == u"--jobs" && !value(count))
                return UsageProblem{N_(u"option --jobs needs a number")};
            options.jobs = jobCount(count);
            if (options.jobs == 0) {
                return UsageProblem{N_(u"option --jobs needs a number from 1 to %s, not %s"),
                                    text::decimal(MaxJobs), count};
            }
        } else if (arg == u"--json") {
            options.json = true;
        } else if (arg == u"--batch") {
            options.batch = true;
        } else if (arg == u"--history") {
            options.history = true;
        } else if (arg == u"--help" || arg == u"-h") {
            options.help = true;
        } else if (arg == u"--version") {
            options.version = true;
        } else if (arg.starts_with(u"--")) {
            return UsageProblem{N_(u"unknown option %s"), {arg}};
        } else {
            options.mainParts.push_back(arg);
        }
    }
    if (options.batch && (!options.mainParts.empty() || !options.formulas.x.empty()
                          || !options.formulas.y.empty() || !options.formulas.z.empty())) {
        return UsageProblem{
            N_(u"--batch reads its formulas from standard input and takes none as arguments")};
    }
    if (options.history && (options.batch || !options.mainParts.empty()
                            || !options.formulas.x.empty() || !options.formulas.y.empty()
                            || !options.formulas.z.empty())) {
        return UsageProblem{N_(u"--history prints what is kept and takes no formulas")};
    }
    options.formulas.main = joinedWithSpaces(options.mainParts);
    return std::nullopt;
}

// After the status, the line of the formula that holds the problem, and a marker under it.
void printProblem(std::ostream& out, const Formulas& typed, const Problem& problem,
                  const Catalog& catalog)
{
    const auto [label, text] = [&]() -> std::pair<std::u16string_view, const std::u16string*> {
        switch (problem.formula) {
        case Stage::Z:
            return {N_(u"Formula for Z"), &typed.z};
        case Stage::Y:
            return {N_(u"Formula for Y"), &typed.y};
        case Stage::X:
            return {N_(u"Formula for X"), &typed.x};
        case Stage::Main:
            break;
        }
        return {N_(u"Formula"), &typed.main};
    }();
    const ProblemLines lines = problemLines(*text, problem);
    std::u16string prefix(catalog.text(label));
    if (text->find_first_of(u"\r\n") != std::u16string::npos) {
        prefix = formatMessage(catalog.text(N_(u"%s, line %s")),
                               {prefix, text::decimal(lines.lineNumber)});
    }
    prefix += u": ";
    out << utf8::encode(prefix) << utf8::encode(lines.text) << '\n'
        << std::string(terminalColumns(prefix), ' ') << utf8::encode(lines.marker) << '\n';
}

void printPlain(std::ostream& out, const Outcome& outcome, const Formulas& typed,
                const Catalog& catalog)
{
    const auto line = [&](std::u16string_view label, const std::optional<std::u16string>& text,
                          bool isMessage = false) {
        out << utf8::encode(catalog.text(label)) << ':';
        if (text)
            out << ' ' << utf8::encode(isMessage ? catalog.text(*text) : *text);
        out << '\n';
    };
    line(u"Z", outcome.z);
    line(u"Y", outcome.y);
    line(u"X", outcome.x);
    line(N_(u"Result"), outcome.main);
    line(N_(u"Status"), outcome.status, true);
    if (outcome.problem)
        printProblem(out, typed, *outcome.problem, catalog);
}

bool isSuccess(const Outcome& outcome)
{
    return outcome.status && *outcome.status == SuccessText;
}

// "TIME  MAIN = RESULT", or "TIME  MAIN  STATUS" after a problem; the formula on one line.
std::string historyListLine(const HistoryEntry& entry, const Catalog& catalog)
{
    std::string line = historyTimeText(entry.time) + "  " +
                       utf8::encode(formulaOnOneLine(entry.input.main));
    if (entry.output.problem) {
        const std::u16string status = entry.output.status.value_or(u"");
        return line + "  " + utf8::encode(spaces::trim(catalog.text(status)));
    }
    return line + " = " + utf8::encode(mainResult(entry));
}

// Reads the kept history as a window would, without trimming it: it never writes.
int printHistory(HistoryFile* file, bool json, std::ostream& out, std::ostream& err,
                 const Catalog& catalog)
{
    try {
        const std::string content = file != nullptr ? file->read(HistoryReadLimit) : "";
        const HistoryLines sorted = sortHistoryLines(content);
        for (std::size_t i = 0; i < sorted.lines.size(); ++i) {
            if (json)
                out << sorted.lines[i] << '\n';
            else
                out << historyListLine(sorted.entries[i], catalog) << '\n';
        }
    } catch (const PlatformError& e) {
        err << "sumwright-cli: " << e.what() << '\n';
        return ExitNotSuccessful;
    }
    out.flush();
    return ExitSuccess;
}

}  // namespace

int runCli(const std::vector<std::u16string>& arguments, std::istream& in, std::ostream& out,
           std::ostream& err, const Locales& locales, HistoryFile* history, unsigned usableCores)
{
    Options options;
    std::optional<UsageProblem> problem = parse(arguments, options);
    std::string language;
    if (options.language) {
        const std::vector<std::string> wishes{utf8::encode(*options.language)};
        language = chooseLanguage(wishes, builtInLanguages());
        if (language.empty() && !meansEnglish(wishes.front()) && !problem)
            problem = UsageProblem{N_(u"unknown language %s"), {*options.language}};
    } else {
        language = chooseLanguage(locales.languageWishes(), builtInLanguages());
    }
    const Catalog catalog = builtInCatalog(language);
    const auto usageError = [&](const UsageProblem& told) {
        err << "sumwright-cli: " << utf8::encode(told.told(catalog)) << '\n'
            << utf8::encode(catalog.text(N_(u"Try 'sumwright-cli --help'."))) << '\n';
        return ExitUsage;
    };
    if (problem)
        return usageError(*problem);
    if (options.help) {
        for (const std::u16string_view block : Usage)
            out << utf8::encode(catalog.text(block));
        return ExitSuccess;
    }
    if (options.version) {
        out << "sumwright-cli " << buildinfo::VersionText << '\n';
        return ExitSuccess;
    }
    if (options.history)
        return printHistory(history, options.json, out, err, catalog);
    const std::optional<char16_t> decimalPoint = options.localeName
        ? locales.decimalPoint(*options.localeName)
        : locales.userDecimalPoint();
    if (!decimalPoint)
        return usageError({N_(u"unknown locale %s"), {*options.localeName}});

    if (options.batch) {
        const unsigned jobs = options.jobs != 0 ? options.jobs : std::max(usableCores, 1u);
        const BatchResult result = runBatch(*in.rdbuf(), *out.rdbuf(), *decimalPoint, jobs);
        // a reader that went away has its answer already; nothing is said on stderr
        return result.allSucceeded && !result.isOutputBroken ? ExitSuccess : ExitNotSuccessful;
    }

    ReckonerEvaluator evaluator;
    const Outcome outcome = runEvaluation(evaluator, options.formulas, *decimalPoint);
    if (options.json)
        out << outcomeJson(outcome) << '\n';
    else
        printPlain(out, outcome, options.formulas, catalog);
    return isSuccess(outcome) ? ExitSuccess : ExitNotSuccessful;
}
