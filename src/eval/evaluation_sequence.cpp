#include "eval/evaluation_sequence.h"

#include "eval/expand_var.h"
#include "eval/messages.h"
#include "eval/number_forms.h"
#include "eval/substitute.h"
#include "text/ascii_case.h"
#include "text/trim_spaces.h"

#include <array>
#include <span>

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

Outcome& fail(Outcome& outcome, std::u16string_view message)
{
    outcome.main = std::u16string(ErrorText);
    outcome.status = std::u16string(message);
    return outcome;
}

}  // namespace

Outcome runEvaluation(Evaluator& evaluator, const Formulas& formulas, char16_t decimalPoint)
{
    Outcome outcome;
    std::array<std::u16string, Stages.size()> texts;
    for (std::size_t i = Stages.size(); i-- > 0;) {  // main first: the order of rewriting
        const std::u16string_view typed = formulas.*Stages[i].typed;
        std::optional<std::u16string> rewritten = ExpandVar(spaces::trim(typed));
        if (!rewritten)
            return fail(outcome, tooLongMessage(Stages[i].stage));
        texts[i] = std::move(*rewritten);
    }

    std::array<std::u16string, VariableCount> values;  // what the replacements point into
    std::array<Replacement, VariableCount> replacements;
    for (std::size_t i = 0; i < Stages.size(); ++i) {
        const StageRow& row = Stages[i];
        std::u16string& text = texts[i];
        const bool isVariable = i < VariableCount;
        double value = 0.0;  // a variable without a formula counts as 0
        if (isVariable && text.empty()) {
            outcome.*row.box = std::u16string();
            for (const Stage user : row.users) {
                const std::u16string& used = texts[indexOf(user)];
                if (!used.empty() && containsPlaceholder(used, row.placeholder))
                    return fail(outcome, undefinedMessage(row.stage, user));
            }
        } else {
            substitute(text, std::span(replacements).first(i));
            evaluator.setExpression(text);
            evaluator.Calculate();
            const std::optional<int> code = codeNumber(evaluator.ErrorCode());
            if (!code)
                return outcome;  // not a code of ours: the evaluator's fault, ended without a word
            if (*code != 0)
                return fail(outcome, codeMessage(row.stage, *code));
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
