#include "eval/evaluation_sequence.h"

#include "eval/expand_var.h"
#include "eval/messages.h"
#include "eval/number_forms.h"
#include "eval/substitute.h"
#include "text/ascii_case.h"

#include <array>

namespace {

constexpr std::u16string_view PlaceholderZ = u"varz";
constexpr std::u16string_view PlaceholderY = u"vary";
constexpr std::u16string_view PlaceholderX = u"varx";

// Only the space character: tabs and line breaks belong to the formula.
std::u16string_view trimSpaces(std::u16string_view text)
{
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
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

class Run
{
public:
    // The run writes into `outcome`, which the caller returns without a copy.
    Run(Evaluator& evaluator, char16_t decimalPoint, Outcome& written)
        : outcome(written), m_evaluator(evaluator), m_decimalPoint(decimalPoint)
    {
    }

    Outcome& outcome;

    void fail(std::u16string_view message)
    {
        outcome.main = std::u16string(ErrorText);
        outcome.status = std::u16string(message);
    }

    enum class Step { Go, Stop };

    // Evaluates an auxiliary formula; on "0" stores its value and shows it in `box`.
    Step evaluateVariable(Stage stage, const std::u16string& text, double& value,
                          std::optional<std::u16string>& box)
    {
        const std::u16string code = evaluate(text);
        if (asciicase::equals(code, u"0")) {
            value = m_evaluator.Result();
            box = displayForm(value, m_decimalPoint);
            return Step::Go;
        }
        const std::u16string_view message = codeMessage(stage, code);
        if (!message.empty())
            fail(message);
        // a code outside "0" to "4" is the evaluator's fault: end the run without a word
        return Step::Stop;
    }

    void evaluateMain(const std::u16string& text)
    {
        const std::u16string code = evaluate(text);
        if (asciicase::equals(code, u"0")) {
            outcome.main = displayForm(m_evaluator.Result(), m_decimalPoint);
            outcome.status = std::u16string(SuccessText);
            return;
        }
        const std::u16string_view message = codeMessage(Stage::Main, code);
        if (!message.empty())
            fail(message);
    }

private:
    std::u16string evaluate(const std::u16string& text)
    {
        m_evaluator.setExpression(text);
        m_evaluator.Calculate();
        return m_evaluator.ErrorCode();
    }

    Evaluator& m_evaluator;
    char16_t m_decimalPoint;
};

struct Later
{
    Stage stage;
    const std::u16string* text;
};

// The first later formula that uses an undefined variable, in the order given.
template <std::size_t N>
const Later* firstUser(const std::array<Later, N>& later, std::u16string_view placeholder)
{
    for (const Later& user : later) {
        if (!user.text->empty() && containsPlaceholder(*user.text, placeholder))
            return &user;
    }
    return nullptr;
}

}  // namespace

Outcome runEvaluation(Evaluator& evaluator, const Formulas& formulas, char16_t decimalPoint)
{
    Outcome outcome;
    Run run(evaluator, decimalPoint, outcome);

    struct Source
    {
        Stage stage;
        const std::u16string* typed;
        std::u16string text;
    };
    std::array<Source, 4> sources{{
        {Stage::Main, &formulas.main, {}},
        {Stage::X, &formulas.x, {}},
        {Stage::Y, &formulas.y, {}},
        {Stage::Z, &formulas.z, {}},
    }};
    for (Source& source : sources) {
        std::optional<std::u16string> rewritten = ExpandVar(trimSpaces(*source.typed));
        if (!rewritten) {
            run.fail(tooLongMessage(source.stage));
            return outcome;
        }
        source.text = std::move(*rewritten);
    }
    std::u16string& mainText = sources[0].text;
    std::u16string& xText = sources[1].text;
    std::u16string& yText = sources[2].text;
    std::u16string& zText = sources[3].text;

    double z = 0.0;
    double y = 0.0;
    double x = 0.0;

    if (zText.empty()) {
        outcome.z = std::u16string();
        const std::array<Later, 3> later{
            {{Stage::X, &xText}, {Stage::Y, &yText}, {Stage::Main, &mainText}}};
        if (const Later* user = firstUser(later, PlaceholderZ)) {
            run.fail(undefinedMessage(Stage::Z, user->stage));
            return outcome;
        }
    } else if (run.evaluateVariable(Stage::Z, zText, z, outcome.z) == Run::Step::Stop) {
        return outcome;
    }
    const std::u16string zValue = bracketed(z);

    if (yText.empty()) {
        outcome.y = std::u16string();
        const std::array<Later, 2> later{{{Stage::X, &xText}, {Stage::Main, &mainText}}};
        if (const Later* user = firstUser(later, PlaceholderY)) {
            run.fail(undefinedMessage(Stage::Y, user->stage));
            return outcome;
        }
    } else {
        substitute(yText, {{PlaceholderZ, zValue}});
        if (run.evaluateVariable(Stage::Y, yText, y, outcome.y) == Run::Step::Stop)
            return outcome;
    }
    const std::u16string yValue = bracketed(y);

    if (xText.empty()) {
        outcome.x = std::u16string();
        if (containsPlaceholder(mainText, PlaceholderX)) {
            run.fail(undefinedMessage(Stage::X, Stage::Main));
            return outcome;
        }
    } else {
        substitute(xText, {{PlaceholderZ, zValue}, {PlaceholderY, yValue}});
        if (run.evaluateVariable(Stage::X, xText, x, outcome.x) == Run::Step::Stop)
            return outcome;
    }

    if (!mainText.empty()) {
        const std::u16string xValue = bracketed(x);
        substitute(mainText,
                   {{PlaceholderZ, zValue}, {PlaceholderY, yValue}, {PlaceholderX, xValue}});
    }
    run.evaluateMain(mainText);
    return outcome;
}
