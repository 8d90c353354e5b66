#include "eval/evaluation_sequence.h"

#include "eval/expand_var.h"
#include "eval/limits.h"
#include "eval/number_forms.h"
#include "eval/position_map.h"
#include "eval/substitute.h"
#include "text/ascii_case.h"
#include "text/trim_spaces.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <span>
#include <vector>

namespace {

// The later formulas that may use a variable, in the order they are checked when the
// variable has no formula.
constexpr Stage ZUsers[] = {Stage::X, Stage::Y, Stage::Main};
constexpr Stage YUsers[] = {Stage::X, Stage::Main};
constexpr Stage XUsers[] = {Stage::Main};

struct StageRow
{
    Stage stage;
    std::u16string Formulas::*typed;
    std::optional<std::u16string> Outcome::*box;
    std::u16string_view placeholder;  // the variable's own; empty for the main formula
    std::span<const Stage> users;
};

// In the order of computing; each formula takes the values of the variables above it.
constexpr std::array<StageRow, 4> Stages{{
    {Stage::Z, &Formulas::z, &Outcome::z, u"varz", ZUsers},
    {Stage::Y, &Formulas::y, &Outcome::y, u"vary", YUsers},
    {Stage::X, &Formulas::x, &Outcome::x, u"varx", XUsers},
    {Stage::Main, &Formulas::main, &Outcome::main, u"", {}},
}};
constexpr std::size_t VariableCount = Stages.size() - 1;

constexpr std::size_t indexOf(Stage stage) { return static_cast<std::size_t>(stage); }
static_assert(indexOf(Stage::Z) == 0 && indexOf(Stage::Main) == 3);

// The number of an evaluator code: its text is compared with "0" to "4" as text, ignoring
// case. Nothing for any other text.
std::optional<int> codeNumber(std::u16string_view code)
{
    constexpr std::u16string_view Codes[] = {u"0", u"1", u"2", u"3", u"4"};
    for (int n = 0; n < 5; ++n) {
        if (asciicase::equals(code, Codes[n]))
            return n;
    }
    return std::nullopt;
}

// A value enters a later formula in parentheses, so that x^2 with X = -2 means (-2)^2 and 2x
// stays a syntax error instead of becoming a different number.
std::u16string bracketed(double value)
{
    const std::u16string form = substitutionForm(value);
    std::u16string out(form.size() + 2, u'(');
    form.copy(out.data() + 1, form.size());
    out.back() = u')';
    return out;
}

Outcome& fail(Outcome& outcome, std::u16string_view message, const Problem& problem)
{
    outcome.main = std::u16string(ErrorText);
    outcome.status = std::u16string(message);
    outcome.problem = problem;
    return outcome;
}

}  // namespace

Outcome runEvaluation(Evaluator& evaluator, const Formulas& formulas, char16_t decimalPoint)
{
    Outcome outcome;
    std::array<std::u16string, Stages.size()> texts;
    std::array<std::u16string_view, Stages.size()> trimmed;  // views into the typed texts
    std::array<std::size_t, Stages.size()> leading{};         // spaces trimmed from the front
    for (std::size_t i = Stages.size(); i-- > 0;) {  // main first: the order of rewriting
        const std::u16string_view typed = formulas.*Stages[i].typed;
        trimmed[i] = spaces::trim(typed);
        if (!trimmed[i].empty())
            leading[i] = static_cast<std::size_t>(trimmed[i].data() - typed.data());
        std::optional<std::u16string> rewritten = ExpandVar(trimmed[i]);
        if (!rewritten) {
            return fail(outcome, tooLongMessage(Stages[i].stage),
                        {Stages[i].stage, leading[i] + MaxFormulaLength,
                         trimmed[i].size() - MaxFormulaLength});
        }
        texts[i] = std::move(*rewritten);
    }

    std::array<std::u16string, VariableCount> values;  // what the replacements point into
    std::array<Replacement, VariableCount> replacements;

    // The typed span that `span` of formula i's text came from, once the first `substituted`
    // variables' values are in it. Rewriting and substitution are done again, recording their
    // edits, only to place a problem: a run that succeeds pays nothing for them.
    const auto locate = [&](std::size_t i, std::size_t substituted, Span span) {
        std::vector<Edit> rewriting;
        std::vector<Edit> substitution;
        std::optional<std::u16string> text = ExpandVar(trimmed[i], rewriting);
        assert(text);
        substitute(*text, std::span(replacements).first(substituted), substitution);
        assert(*text == texts[i]);
        span = mapBack(rewriting, mapBack(substitution, span));
        return Problem{Stages[i].stage, leading[i] + span.start, span.length};
    };

    for (std::size_t i = 0; i < Stages.size(); ++i) {
        const StageRow& row = Stages[i];
        std::u16string& text = texts[i];
        const bool isVariable = i < VariableCount;
        double value = 0.0;  // a variable without a formula counts as 0
        if (isVariable && text.empty()) {
            outcome.*row.box = std::u16string();
            for (const Stage user : row.users) {
                const std::size_t used = indexOf(user);
                const std::size_t found = asciicase::find(texts[used], row.placeholder);
                if (found != std::u16string::npos) {
                    return fail(outcome, undefinedMessage(row.stage, user),
                                locate(used, 0, {found, row.placeholder.size()}));
                }
            }
        } else {
            substitute(text, std::span(replacements).first(i));
            evaluator.setExpression(text);
            evaluator.Calculate();
            const std::optional<int> code = codeNumber(evaluator.ErrorCode());
            if (!code)
                return outcome;  // not a code of ours: the evaluator's fault, ended without a word
            if (*code != 0) {
                const std::size_t start = std::min(evaluator.ErrorPosition(), text.size());
                const std::size_t length = std::min(evaluator.ErrorLength(), text.size() - start);
                return fail(outcome, codeMessage(row.stage, *code), locate(i, i, {start, length}));
            }
            value = evaluator.Result();
            outcome.*row.box = displayForm(value, decimalPoint);
        }
        if (!isVariable) {
            outcome.status = std::u16string(SuccessText);
            break;
        }
        values[i] = bracketed(value);
        replacements[i] = {row.placeholder, values[i]};
    }
    return outcome;
}
