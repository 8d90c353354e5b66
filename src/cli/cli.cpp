#include "cli/cli.h"

#include "build_info.h"
#include "cli/batch.h"
#include "cli/problem_marker.h"
#include "eval/evaluation_sequence.h"
#include "eval/json_text.h"
#include "history/history_lines.h"
#include "platform/platform_error.h"
#include "reckoner/reckoner_evaluator.h"
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

constexpr char Usage[] =
    "Usage: sumwright-cli [-x FORMULA] [-y FORMULA] [-z FORMULA] [--locale NAME] [--json]\n"
    "                     [--] [MAIN]\n"
    "       sumwright-cli --batch [--jobs N] [--locale NAME]\n"
    "       sumwright-cli --history [--json]\n"
    "\n"
    "Computes Z, then Y, then X, then the main formula MAIN, as the Sumwright window does.\n"
    "MAIN may use x, y and z; the formula for X may use y and z; the one for Y may use z.\n"
    "\n"
    "  -x, -y, -z FORMULA  the formulas for the variables (absent: empty)\n"
    "  --locale NAME       take the decimal separator of NAME (de_DE, en_US, ...) instead of\n"
    "                      the user's locale\n"
    "  --json              print one JSON object with the exact texts of the result boxes and\n"
    "                      the status line, null for what the run left untouched, and where\n"
    "                      the problem lies\n"
    "  --batch             read JSON Lines {\"main\":...,\"x\":...,\"y\":...,\"z\":...} from\n"
    "                      standard input and print one --json line for each, in the\n"
    "                      order read\n"
    "  --jobs N            with --batch, evaluate on N threads (default: one for each core\n"
    "                      this process may use)\n"
    "  --history           print the kept history, oldest first, one entry a line: the UTC\n"
    "                      time, then MAIN = RESULT, or MAIN and the status after a problem;\n"
    "                      with --json, the kept JSON Lines as they are\n"
    "  -h, --help          show this help\n"
    "  --version           show the version\n"
    "\n"
    "A MAIN that starts with '-' is a formula unless it is one of the options above; after\n"
    "'--' every argument is part of MAIN. Several MAIN arguments are joined with spaces.\n"
    "\n"
    "Exit status: 0 when the evaluation succeeded (with --batch: every line did), 1 otherwise,\n"
    "2 for bad usage, 3 for an internal error.\n";

struct Options
{
    Formulas formulas;
    std::vector<std::u16string> mainParts;
    std::optional<std::u16string> localeName;
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

// Joined by appending into one reserved string: GCC 12 sees an overlap that cannot happen in
// operator+ with a literal on the left, and warns under -O2 and above.
std::string joined(std::initializer_list<std::string_view> parts)
{
    std::size_t size = 0;
    for (const std::string_view part : parts)
        size += part.size();
    std::string out;
    out.reserve(size);
    for (const std::string_view part : parts)
        out.append(part);
    return out;
}

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

// Returns the problem with the arguments, or an empty string.
std::string parse(const std::vector<std::u16string>& arguments, Options& options)
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
                return joined({"option ", utf8::encode(arg), " needs a formula"});
        } else if (arg == u"--locale") {
            if (!value(options.localeName.emplace()))
                return "option --locale needs a locale name";
        } else if (arg.starts_with(u"--locale=")) {
            options.localeName = arg.substr(9);
        } else if (arg == u"--jobs" || arg.starts_with(u"--jobs=")) {
            std::u16string count = arg.substr(std::min<std::size_t>(arg.size(), 7));
            if (arg == u"--jobs" && !value(count))
                return "option --jobs needs a number";
            options.jobs = jobCount(count);
            if (options.jobs == 0) {
                return joined({"option --jobs needs a number from 1 to ", std::to_string(MaxJobs),
                               ", not ", utf8::encode(count)});
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
            return joined({"unknown option ", utf8::encode(arg)});
        } else {
            options.mainParts.push_back(arg);
        }
    }
    if (options.batch && (!options.mainParts.empty() || !options.formulas.x.empty()
                          || !options.formulas.y.empty() || !options.formulas.z.empty())) {
        return "--batch reads its formulas from standard input and takes none as arguments";
    }
    if (options.history && (options.batch || !options.mainParts.empty()
                            || !options.formulas.x.empty() || !options.formulas.y.empty()
                            || !options.formulas.z.empty())) {
        return "--history prints what is kept and takes no formulas";
    }
    options.formulas.main = joinedWithSpaces(options.mainParts);
    return {};
}

// After the status, the line of the formula that holds the problem, and a marker under it.
void printProblem(std::ostream& out, const Formulas& typed, const Problem& problem)
{
    const auto [label, text] = [&]() -> std::pair<std::string_view, const std::u16string*> {
        switch (problem.formula) {
        case Stage::Z:
            return {"Formula for Z", &typed.z};
        case Stage::Y:
            return {"Formula for Y", &typed.y};
        case Stage::X:
            return {"Formula for X", &typed.x};
        case Stage::Main:
            break;
        }
        return {"Formula", &typed.main};
    }();
    const ProblemLines lines = problemLines(*text, problem);
    std::string prefix(label);
    if (text->find_first_of(u"\r\n") != std::u16string::npos)
        prefix += ", line " + std::to_string(lines.lineNumber);
    prefix += ": ";
    out << prefix << utf8::encode(lines.text) << '\n'
        << std::string(prefix.size(), ' ') << utf8::encode(lines.marker) << '\n';
}

void printPlain(std::ostream& out, const Outcome& outcome, const Formulas& typed)
{
    const auto line = [&out](const char* label, const std::optional<std::u16string>& text) {
        out << label << ':';
        if (text)
            out << ' ' << utf8::encode(*text);
        out << '\n';
    };
    line("Z", outcome.z);
    line("Y", outcome.y);
    line("X", outcome.x);
    line("Result", outcome.main);
    line("Status", outcome.status);
    if (outcome.problem)
        printProblem(out, typed, *outcome.problem);
}

bool isSuccess(const Outcome& outcome)
{
    return outcome.status && *outcome.status == SuccessText;
}

// "TIME  MAIN = RESULT", or "TIME  MAIN  STATUS" after a problem; the formula on one line.
std::string historyListLine(const HistoryEntry& entry)
{
    std::string line = historyTimeText(entry.time) + "  " +
                       utf8::encode(formulaOnOneLine(entry.input.main));
    if (entry.output.problem)
        return line + "  " + utf8::encode(spaces::trim(entry.output.status.value_or(u"")));
    return line + " = " + utf8::encode(mainResult(entry));
}

// Reads the kept history as a window would, without trimming it: it never writes.
int printHistory(HistoryFile* file, bool json, std::ostream& out, std::ostream& err)
{
    try {
        const std::string content = file != nullptr ? file->read(HistoryReadLimit) : "";
        const HistoryLines sorted = sortHistoryLines(content);
        for (std::size_t i = 0; i < sorted.lines.size(); ++i) {
            if (json)
                out << sorted.lines[i] << '\n';
            else
                out << historyListLine(sorted.entries[i]) << '\n';
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
    const std::string problem = parse(arguments, options);
    if (!problem.empty()) {
        err << "sumwright-cli: " << problem << "\nTry 'sumwright-cli --help'.\n";
        return ExitUsage;
    }
    if (options.help) {
        out << Usage;
        return ExitSuccess;
    }
    if (options.version) {
        out << "sumwright-cli " << buildinfo::VersionText << '\n';
        return ExitSuccess;
    }
    if (options.history)
        return printHistory(history, options.json, out, err);
    const std::optional<char16_t> decimalPoint = options.localeName
        ? locales.decimalPoint(*options.localeName)
        : locales.userDecimalPoint();
    if (!decimalPoint) {
        err << "sumwright-cli: unknown locale " << utf8::encode(*options.localeName)
            << "\nTry 'sumwright-cli --help'.\n";
        return ExitUsage;
    }

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
        printPlain(out, outcome, options.formulas);
    return isSuccess(outcome) ? ExitSuccess : ExitNotSuccessful;
}
