// The whole evaluation sequence on four fuzzed formula texts, checked against an oracle that
// follows the program's rules: which formulas reach the evaluator and in what order, which
// boxes a run writes and which it leaves alone, at most one status message, and a problem
// placed inside the text the user typed exactly when the run reports an error.
//
// Input: one byte choosing the evaluator, then UTF-16 texts separated by U+FFFF: the main
// formula, X, Y, Z and, for the scripted evaluator, one unit per code it answers.

#include "eval/evaluation_sequence.h"
#include "eval/limits.h"
#include "eval/messages.h"
#include "reckoner/reckoner.h"
#include "eval/number_forms.h"

#include "fuzz_support.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr char16_t DecimalPoint = u',';  // not the period the substituted values carry

char16_t lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool containsFolded(std::u16string_view text, std::u16string_view lowerNeedle)
{
    for (std::size_t i = 0; i + lowerNeedle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < lowerNeedle.size() && lower(text[i + k]) == lowerNeedle[k])
            ++k;
        if (k == lowerNeedle.size())
            return true;
    }
    return false;
}

// Answers from the real evaluator or from a script, and checks the calling protocol: a code
// is read only right after Calculate, a Result only after the code "0", the problem only after
// "1" to "4".
class ObservedEvaluator final : public Evaluator
{
public:
    struct Call
    {
        std::u16string expression;
        std::u16string code;
        double result = 0.0;
        std::size_t position = 0;
        std::size_t length = 0;
    };
    std::vector<Call> calls;

    explicit ObservedEvaluator(std::optional<std::u16string> script) : m_script(std::move(script))
    {
    }

    void setExpression(std::u16string_view text) override
    {
        calls.push_back({std::u16string(text), {}, 0.0});
        m_reckoner.setExpression(text);
        m_state = State::Written;
    }
    void Calculate() override
    {
        fuzz::check(m_state == State::Written, "Calculate follows Expression");
        m_reckoner.Calculate();
        m_state = State::Calculated;
    }
    std::u16string ErrorCode() override
    {
        fuzz::check(m_state == State::Calculated, "ErrorCode is read once, after Calculate");
        Call& call = calls.back();
        call.code = m_script ? scriptedCode() : m_reckoner.ErrorCode();
        // scripted places may lie anywhere, far past the text's end too
        call.position = m_script ? m_scriptPlace : m_reckoner.ErrorPosition();
        call.length = m_script ? m_scriptPlace / 3 : m_reckoner.ErrorLength();
        const bool isProblem =
            call.code.size() == 1 && call.code[0] >= u'1' && call.code[0] <= u'4';
        m_state = call.code == u"0" ? State::Succeeded : isProblem ? State::Failed : State::Idle;
        return call.code;
    }
    double Result() override
    {
        fuzz::check(m_state == State::Succeeded, "Result is read only after \"0\"");
        m_state = State::Idle;
        calls.back().result = m_script ? m_scriptValue : m_reckoner.Result();
        return calls.back().result;
    }
    std::size_t ErrorPosition() override
    {
        fuzz::check(m_state == State::Failed, "the problem is read only after \"1\" to \"4\"");
        return calls.back().position;
    }
    std::size_t ErrorLength() override
    {
        fuzz::check(m_state == State::Failed, "the problem is read only after \"1\" to \"4\"");
        return calls.back().length;
    }

private:
    enum class State { Idle, Written, Calculated, Succeeded, Failed };

    // Codes the evaluator never gives are in the script too: the sequence must survive them.
    std::u16string scriptedCode()
    {
        if (m_script->empty())
            return u"0";
        const char16_t unit = m_script->front();
        m_script->erase(0, 1);
        m_scriptValue = (static_cast<int>(unit >> 3) - 4096) / 7.0;
        m_scriptPlace = (unit & 0x8000) != 0 ? std::numeric_limits<std::size_t>::max() - unit
                                             : unit >> 3;
        constexpr std::array<std::u16string_view, 8> Codes = {u"0", u"1", u"2", u"3",
                                                              u"4", u"5", u"",  u"00"};
        return std::u16string(Codes[unit % Codes.size()]);
    }

    Reckoner m_reckoner;
    std::optional<std::u16string> m_script;
    double m_scriptValue = 1.0;
    std::size_t m_scriptPlace = 0;
    State m_state = State::Idle;
};

std::u16string_view trimSpaces(std::u16string_view text)
{
    while (!text.empty() && text.front() == u' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ')
        text.remove_suffix(1);
    return text;
}

// Where rewriting first gives `text` the placeholder of `letter`: the first such letter that
// is not the x in the middle of "exp" strictly inside a text of five or more units; npos when
// there is none.
std::size_t firstUse(std::u16string_view text, char16_t letter)
{
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (lower(text[i]) != letter)
            continue;
        const bool insideExp = letter == u'x' && n >= 5 && i > 0 && i + 1 < n &&
                               lower(text[i - 1]) == u'e' && lower(text[i + 1]) == u'p';
        if (!insideExp)
            return i;
    }
    return std::u16string_view::npos;
}

struct Formula
{
    Stage stage;
    std::u16string_view typed;
    std::u16string_view text;  // trimmed
    std::optional<std::u16string> Outcome::*box;

    std::size_t leading() const
    {
        std::size_t n = 0;
        while (n < typed.size() && typed[n] == u' ')
            ++n;
        return n < typed.size() ? n : 0;  // a blank text's problem lies at its start
    }
};

// The problem a run must report: the formula, and the place when the rules fix it alone;
// otherwise the evaluation that reported it.
struct ExpectedProblem
{
    const Formula* formula;
    std::optional<Problem> place;
    const ObservedEvaluator::Call* call = nullptr;
};

// What the run must write, given the codes and values the evaluator gave, formula by formula;
// `next` counts the evaluations the run makes.
Outcome expectedOutcome(const std::array<Formula, 4>& formulas,
                        const std::vector<ObservedEvaluator::Call>& calls, std::size_t& next,
                        std::optional<ExpectedProblem>& problem)
{
    Outcome want;
    const auto fail = [&](std::u16string_view message, const ExpectedProblem& where) {
        fuzz::check(!message.empty(), "every problem has a message");
        want.main = std::u16string(ErrorText);
        want.status = std::u16string(message);
        problem = where;
    };
    for (const Formula& f : formulas) {
        if (f.text.size() > MaxFormulaLength) {
            fail(tooLongMessage(f.stage),
                 {&f, Problem{f.stage, f.leading() + MaxFormulaLength,
                              f.text.size() - MaxFormulaLength}});
            return want;
        }
    }

    // Evaluates the next formula; false when the run ends there.
    const auto evaluate = [&](const Formula& f, std::u16string_view placeholders) {
        fuzz::check(next < calls.size(), "the formula reaches the evaluator");
        const ObservedEvaluator::Call& call = calls[next++];
        for (std::size_t i = 0; i < placeholders.size(); ++i) {
            const char16_t p[] = {u'v', u'a', u'r', placeholders[i]};
            fuzz::check(!containsFolded(call.expression, {p, 4}),
                        "values replace the placeholders of earlier variables");
        }
        if (call.code == u"0") {
            want.*f.box = displayForm(call.result, DecimalPoint);
            return true;
        }
        // "1" to "4" are the only other codes with a message; "00", "5" and "" have none
        const bool isKnown = call.code.size() == 1 && call.code[0] >= u'1' && call.code[0] <= u'4';
        const std::u16string_view message =
            isKnown ? codeMessage(f.stage, call.code[0] - u'0') : std::u16string_view();
        if (!message.empty())
            fail(message, {&f, std::nullopt, &call});
        return false;  // an unknown code ends the run without a word
    };
    const Formula& main = formulas[0];
    const Formula& x = formulas[1];
    const Formula& y = formulas[2];
    const Formula& z = formulas[3];
    // An empty formula's box is emptied, and the first later formula using it is an error.
    const auto firstUser = [&](std::initializer_list<const Formula*> later, char16_t letter,
                               const Formula& variable) {
        want.*variable.box = std::u16string();
        for (const Formula* user : later) {
            const std::size_t use = firstUse(user->text, letter);
            if (use != std::u16string_view::npos) {
                fail(undefinedMessage(variable.stage, user->stage),
                     {user, Problem{user->stage, user->leading() + use, 1}});
                return true;
            }
        }
        return false;
    };

    if (z.text.empty() ? firstUser({&x, &y, &main}, u'z', z) : !evaluate(z, u""))
        return want;
    if (y.text.empty() ? firstUser({&x, &main}, u'y', y) : !evaluate(y, u"z"))
        return want;
    if (x.text.empty() ? firstUser({&main}, u'x', x) : !evaluate(x, u"zy"))
        return want;
    if (evaluate(main, u"zyx"))
        want.status = std::u16string(SuccessText);
    return want;
}

bool holdsVariableLetter(std::u16string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char16_t c) {
        return lower(c) == u'x' || lower(c) == u'y' || lower(c) == u'z';
    });
}

void checkProblem(const std::optional<Problem>& got, const std::optional<ExpectedProblem>& want)
{
    fuzz::check(got.has_value() == want.has_value(), "a problem exactly when the run fails");
    if (!want)
        return;
    const Formula& formula = *want->formula;
    fuzz::check(got->formula == formula.stage, "the problem lies in the formula of the message");
    const std::u16string_view typed = formula.typed;
    fuzz::check(got->start <= typed.size() && got->length <= typed.size() - got->start,
                "the problem lies inside the typed text");
    if (want->place) {
        fuzz::check(got->start == want->place->start && got->length == want->place->length,
                    "an undefined reference or a formula too long is placed by the rules");
        return;
    }
    const ObservedEvaluator::Call& call = *want->call;
    const std::size_t leading = formula.leading();
    const bool isInTrimmed = formula.text.empty()
                                 ? got->start == 0 && got->length == 0
                                 : got->start >= leading
                                       && got->start + got->length <= leading + formula.text.size();
    fuzz::check(isInTrimmed, "an evaluator's problem lies in the trimmed text");
    // Where no variable letter was typed, no value or placeholder was touched: the problem
    // covers the very units the evaluator pointed at.
    const std::u16string_view span = typed.substr(got->start, got->length);
    const std::u16string_view evaluated = call.expression;
    const std::size_t start = std::min(call.position, evaluated.size());
    const std::size_t length = std::min(call.length, evaluated.size() - start);
    if (!holdsVariableLetter(span))
        fuzz::check(span == evaluated.substr(start, length),
                    "a problem among typed units points at those units");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const bool isScripted = (data[0] & 1) != 0;
    const std::vector<std::u16string> texts =
        fuzz::fields(fuzz::utf16(data + 1, size - 1), isScripted ? 5 : 4);
    const auto text = [&texts](std::size_t i) { return i < texts.size() ? texts[i] : u""; };
    const Formulas typed{text(0), text(1), text(2), text(3)};

    ObservedEvaluator evaluator(isScripted ? std::optional(std::u16string(text(4)))
                                           : std::nullopt);
    const Outcome got = runEvaluation(evaluator, typed, DecimalPoint);

    if (!isScripted) {
        for (const ObservedEvaluator::Call& call : evaluator.calls) {
            if (call.code == u"0")
                fuzz::check(std::isfinite(call.result), "values are finite");
        }
    }
    const std::array<Formula, 4> formulas{{
        {Stage::Main, typed.main, trimSpaces(typed.main), &Outcome::main},
        {Stage::X, typed.x, trimSpaces(typed.x), &Outcome::x},
        {Stage::Y, typed.y, trimSpaces(typed.y), &Outcome::y},
        {Stage::Z, typed.z, trimSpaces(typed.z), &Outcome::z},
    }};
    std::size_t evaluations = 0;
    std::optional<ExpectedProblem> problem;
    const Outcome want = expectedOutcome(formulas, evaluator.calls, evaluations, problem);
    fuzz::check(evaluations == evaluator.calls.size(), "no formula is evaluated out of turn");
    fuzz::check(got.z == want.z, "Z box");
    fuzz::check(got.y == want.y, "Y box");
    fuzz::check(got.x == want.x, "X box");
    fuzz::check(got.main == want.main, "main result box");
    fuzz::check(got.status == want.status, "status line");
    checkProblem(got.problem, problem);
    return 0;
}
