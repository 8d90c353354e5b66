#include "eval/evaluation_sequence.h"

#include "eval/limits.h"
#include "eval/messages.h"
#include "reckoner/reckoner_evaluator.h"

#include "fakes/fake_evaluator.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <vector>

// Shown by the tests when a problem differs.
void PrintTo(const Problem& problem, std::ostream* out)
{
    *out << "formula " << static_cast<int>(problem.formula) << ", start " << problem.start
         << ", length " << problem.length;
}

namespace {

using Text = std::optional<std::u16string>;
const Text Untouched = std::nullopt;

struct Expected
{
    Text main, x, y, z, status;
};

void expectOutcome(const Outcome& got, const Expected& want)
{
    EXPECT_EQ(got.z, want.z) << "Z box";
    EXPECT_EQ(got.y, want.y) << "Y box";
    EXPECT_EQ(got.x, want.x) << "X box";
    EXPECT_EQ(got.main, want.main) << "main result box";
    EXPECT_EQ(got.status, want.status) << "status";
}

Outcome run(const Formulas& formulas, char16_t decimalPoint = u'.')
{
    ReckonerEvaluator evaluator;
    return runEvaluation(evaluator, formulas, decimalPoint);
}

const std::u16string Ok = SuccessText;
const std::u16string Err = ErrorText;

std::u16string message(Stage stage, int code)
{
    return std::u16string(codeMessage(stage, code));
}

}  // namespace

TEST(EvaluationSequence, ComputesZThenYThenXThenMain)
{
    struct Row
    {
        const char* name;
        Formulas in;
        Expected out;
    };
    const Row rows[] = {
        {"worked example", {u"x^2+y", u"z+1.5", u"3", u"1.5"}, {u"12", u"3", u"3", u"1.5", Ok}},
        {"spaces around formulas", {u"  x+1  ", u" 2 ", u"", u""}, {u"3", u"2", u"", u"", Ok}},
        {"main alone", {u"1+2", u"", u"", u""}, {u"3", u"", u"", u"", Ok}},
        {"a main formula over lines", {u"1+\r\n2", u"", u"", u""}, {u"3", u"", u"", u"", Ok}},
        {"every use replaced", {u"x^x+x", u"2", u"", u""}, {u"6", u"2", u"", u"", Ok}},
        {"upper-case letters", {u"X+Y+Z", u"1", u"2", u"3"}, {u"6", u"1", u"2", u"3", Ok}},
        {"exp keeps its x", {u"exp(x)", u"0", u"", u""}, {u"1", u"0", u"", u"", Ok}},
        {"negative value in later formula", {u"x", u"3-z", u"", u"-2"}, {u"5", u"5", u"", u"-2", Ok}},
        // values travel in parentheses: without them these would read -2^2, 2-3 and 35
        {"negative base", {u"x^2", u"-2", u"", u""}, {u"4", u"-2", u"", u"", Ok}},
        {"implicit product", {u"2x", u"-3", u"", u""}, {Err, u"-3", u"", u"", message(Stage::Main, 2)}},
        {"digits after a variable", {u"x5", u"3", u"", u""}, {Err, u"3", u"", u"", message(Stage::Main, 2)}},
        // values travel rounded to 15 significant digits
        {"15 digits in transit", {u"", u"", u"z+z+z", u"1/3"}, {Err, u"", u"0.999999999999999", u"0.333333333333333", message(Stage::Main, 1)}},
        {"empty Z and X, Y without z", {u"y*2", u"", u"4", u""}, {u"8", u"", u"4", u"", Ok}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectOutcome(run(row.in), row.out);
    }
}

TEST(EvaluationSequence, ReportsUndefinedReferences)
{
    struct Row
    {
        const char* name;
        Formulas in;
        Expected out;
    };
    const Row rows[] = {
        {"Z in X", {u"", u"2-z", u"", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in formula for variable X"}},
        {"Z in Y", {u"", u"", u"z+1", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in formula for variable Y"}},
        {"Z in main", {u"z+1", u"", u"", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in the main formula."}},
        // every later formula is checked, not only the first non-empty one
        {"Z in Y behind X", {u"", u"5", u"z+1", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in formula for variable Y"}},
        {"Z in main behind Y", {u"z", u"", u"4", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in the main formula."}},
        {"Z in X and main: X first", {u"z", u"z", u"", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in formula for variable X"}},
        {"Z in X and Y: X first", {u"1", u"z", u"z", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in formula for variable X"}},
        {"Z in X blank", {u"z", u"   ", u"", u""},
         {Err, Untouched, Untouched, u"", u"Undefined reference to variable Z in the main formula."}},
        {"Y in X", {u"", u"y+1", u"", u"2"},
         {Err, Untouched, u"", u"2", u"Undefined reference to variable Y in formula for variable X"}},
        {"Y in main", {u"y", u"", u"", u"2"},
         {Err, Untouched, u"", u"2", u"Undefined reference to variable Y in the main formula."}},
        {"Y in main behind X", {u"y", u"1", u"", u"2"},
         {Err, Untouched, u"", u"2", u"Undefined reference to variable Y in the main formula."}},
        {"X in main", {u"x+1", u"", u"2", u"1"},
         {Err, u"", u"2", u"1", u"Undefined reference to variable X in the main formula."}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectOutcome(run(row.in), row.out);
    }
}

TEST(EvaluationSequence, StopsAtTheFirstFormulaThatFails)
{
    struct Row
    {
        const char* name;
        Formulas in;
        Expected out;
    };
    const Row rows[] = {
        {"nothing typed", {u"", u"", u"", u""}, {Err, u"", u"", u"", message(Stage::Main, 1)}},
        {"only spaces", {u"   ", u" ", u"  ", u"    "}, {Err, u"", u"", u"", message(Stage::Main, 1)}},
        {"only a tab", {u"\t", u"", u"", u""}, {Err, u"", u"", u"", message(Stage::Main, 1)}},
        {"Z 1", {u"1", u"1", u"1", u"foo"}, {Err, Untouched, Untouched, Untouched, message(Stage::Z, 1)}},
        {"Z 2", {u"1", u"1", u"1", u"1+"}, {Err, Untouched, Untouched, Untouched, message(Stage::Z, 2)}},
        {"Z 3", {u"1", u"1", u"1", u"1/0"}, {Err, Untouched, Untouched, Untouched, message(Stage::Z, 3)}},
        {"Z 4", {u"1", u"1", u"1", u"ln(0)"}, {Err, Untouched, Untouched, Untouched, message(Stage::Z, 4)}},
        {"Z uses itself", {u"1", u"", u"", u"z"}, {Err, Untouched, Untouched, Untouched, message(Stage::Z, 1)}},
        {"Y 1", {u"1", u"1", u"@", u"2"}, {Err, Untouched, Untouched, u"2", message(Stage::Y, 1)}},
        {"Y 2", {u"1", u"1", u"(z", u"2"}, {Err, Untouched, Untouched, u"2", message(Stage::Y, 2)}},
        {"Y 3", {u"1", u"1", u"1/(z-2)", u"2"}, {Err, Untouched, Untouched, u"2", message(Stage::Y, 3)}},
        {"Y 4", {u"1", u"1", u"sqrt(-z)", u"2"}, {Err, Untouched, Untouched, u"2", message(Stage::Y, 4)}},
        {"Y uses X", {u"1", u"1", u"x", u"2"}, {Err, Untouched, Untouched, u"2", message(Stage::Y, 1)}},
        {"X 1", {u"1", u"y+zz", u"3", u"2"}, {Err, Untouched, u"3", u"2", message(Stage::X, 2)}},
        {"X 2", {u"1", u"y z", u"3", u"2"}, {Err, Untouched, u"3", u"2", message(Stage::X, 2)}},
        {"X 3", {u"1", u"y/(z-2)", u"3", u"2"}, {Err, Untouched, u"3", u"2", message(Stage::X, 3)}},
        {"X 4", {u"1", u"mod(y)", u"3", u"2"}, {Err, Untouched, u"3", u"2", message(Stage::X, 4)}},
        {"X uses itself", {u"1", u"x", u"3", u"2"}, {Err, Untouched, u"3", u"2", message(Stage::X, 1)}},
        {"main 1", {u"x+q", u"1", u"", u""}, {Err, u"1", u"", u"", message(Stage::Main, 1)}},
        {"main 2", {u"x+", u"1", u"", u""}, {Err, u"1", u"", u"", message(Stage::Main, 2)}},
        {"main 3", {u"x/0", u"1", u"", u""}, {Err, u"1", u"", u"", message(Stage::Main, 3)}},
        {"main 4", {u"asin(x)", u"2", u"", u""}, {Err, u"2", u"", u"", message(Stage::Main, 4)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectOutcome(run(row.in), row.out);
    }
}

TEST(EvaluationSequence, ShowsValuesWithTheCallersSeparator)
{
    expectOutcome(run({u"z", u"", u"", u"1.5"}, u','), {u"1,5", u"", u"", u"1,5", Ok});
    expectOutcome(run({u"z*2", u"", u"", u"1/4"}, u','), {u"0,5", u"", u"", u"0,25", Ok});
}

TEST(EvaluationSequence, RefusesOverlongFormulasInRewritingOrder)
{
    const std::u16string tooLong(MaxFormulaLength + 1, u'1');
    const std::u16string longest(MaxFormulaLength, u'1');
    struct Row
    {
        const char* name;
        Formulas in;
        std::u16string status;
    };
    const Row rows[] = {
        {"main", {tooLong, u"", u"", u""}, u"The formula is too long: a formula may have at most 32767 characters."},
        {"X", {u"1", tooLong, u"", u""}, u"The formula for X is too long: a formula may have at most 32767 characters."},
        {"Y", {u"1", u"", tooLong, u""}, u"The formula for Y is too long: a formula may have at most 32767 characters."},
        {"Z", {u"1", u"", u"", tooLong}, u"The formula for Z is too long: a formula may have at most 32767 characters."},
        {"main before Z", {tooLong, u"", u"", tooLong}, u"The formula is too long: a formula may have at most 32767 characters."},
        {"X before Y", {u"", tooLong, tooLong, u""}, u"The formula for X is too long: a formula may have at most 32767 characters."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectOutcome(run(row.in), {Err, Untouched, Untouched, Untouched, row.status});
    }
    // the limit applies to the trimmed text; 32,767 ones make a literal too large for a double
    expectOutcome(run({u"  " + longest + u"  ", u"", u"", u""}),
                  {Err, u"", u"", u"", message(Stage::Main, 3)});
}

TEST(EvaluationSequence, SubstitutesBeyondTheSixteenBitLimit)
{
    // 16,384 x's joined by + rewrite to over 65,000 units; every placeholder is replaced
    std::u16string sum = u"x";
    for (int i = 1; i < 16384; ++i)
        sum += u"+x";
    expectOutcome(run({sum, u"1", u"", u""}), {u"16384", u"1", u"", u"", Ok});
}

TEST(EvaluationSequence, DrivesTheEvaluatorInOrder)
{
    FakeEvaluator evaluator;
    evaluator.script = {{u"1.5", {u"0", 1.5}}, {u"3", {u"0", 3}}, {u"( 1.5)+1.5", {u"0", 3}},
                        {u"( 3)^2+( 3)", {u"0", 12}}};
    const Outcome outcome = runEvaluation(evaluator, {u"x^2+y", u"z+1.5", u"3", u"1.5"}, u'.');
    const std::vector<std::u16string> expected = {
        u"Expression=1.5", u"Calculate", u"ErrorCode", u"Result",
        u"Expression=3", u"Calculate", u"ErrorCode", u"Result",
        u"Expression=( 1.5)+1.5", u"Calculate", u"ErrorCode", u"Result",
        u"Expression=( 3)^2+( 3)", u"Calculate", u"ErrorCode", u"Result",
    };
    EXPECT_EQ(evaluator.calls, expected);
    EXPECT_EQ(outcome.main, u"12");
}

TEST(EvaluationSequence, ReadsResultOnlyAfterSuccess)
{
    for (const std::u16string code : {u"1", u"2", u"3", u"4", u"9"}) {
        SCOPED_TRACE(testing::PrintToString(code));
        FakeEvaluator evaluator;
        evaluator.script = {{u"7", {code, 99}}};
        runEvaluation(evaluator, {u"1", u"", u"", u"7"}, u'.');
        const std::vector<std::u16string> expected = {u"Expression=7", u"Calculate", u"ErrorCode"};
        EXPECT_EQ(evaluator.calls, expected);
    }
}

TEST(EvaluationSequence, EvaluatesAnEmptyMainFormula)
{
    FakeEvaluator evaluator;
    evaluator.script = {{u"", {u"1", 0}}};
    const Outcome outcome = runEvaluation(evaluator, {u"  ", u"", u"", u""}, u'.');
    const std::vector<std::u16string> expected = {u"Expression=", u"Calculate", u"ErrorCode"};
    EXPECT_EQ(evaluator.calls, expected);
    expectOutcome(outcome, {Err, u"", u"", u"", message(Stage::Main, 1)});
}

TEST(EvaluationSequence, EndsSilentlyOnAnUnknownCode)
{
    FakeEvaluator evaluator;
    evaluator.script = {{u"5", {u"7", 0}}, {u"6", {u"x", 0}}};
    expectOutcome(runEvaluation(evaluator, {u"1", u"", u"", u"5"}, u'.'),
                  {Untouched, Untouched, Untouched, Untouched, Untouched});
    expectOutcome(runEvaluation(evaluator, {u"6", u"", u"", u""}, u'.'),
                  {Untouched, u"", u"", u"", Untouched});
}

TEST(EvaluationSequence, WritesEveryMessageLetterForLetter)
{
    const std::u16string tooLong(MaxFormulaLength + 1, u'1');
    struct Row
    {
        Formulas in;
        std::u16string code;  // what the evaluator says of the text "7"
        std::u16string status;
    };
    const Row rows[] = {
        {{u"1", u"", u"", u"7"}, u"1", u"The formula for Z contains invalid symbols or functions, or no formula has been entered."},
        {{u"1", u"", u"", u"7"}, u"2", u"Syntax error:  a valid mathematical formula for Z has not been entered."},
        {{u"1", u"", u"", u"7"}, u"3", u"Calculation error: division by zero, or some other impossible operation in formula Z."},
        {{u"1", u"", u"", u"7"}, u"4", u"Function error:  a function in formula Z cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
        {{u"1", u"", u"7", u""}, u"1", u"The formula for Y contains invalid symbols or functions, or no formula has been entered."},
        {{u"1", u"", u"7", u""}, u"2", u"Syntax error:  a valid mathematical formula for Y has not been entered."},
        {{u"1", u"", u"7", u""}, u"3", u"Calculation error: division by zero, or some other impossible operation in formula Y."},
        {{u"1", u"", u"7", u""}, u"4", u"Function error:  a function in formula Y cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
        {{u"1", u"7", u"", u""}, u"1", u"The formula for X contains invalid symbols or functions, or no formula has been entered."},
        {{u"1", u"7", u"", u""}, u"2", u"Syntax error:  a valid mathematical formula for X has not been entered."},
        {{u"1", u"7", u"", u""}, u"3", u"Calculation error: division by zero, or some other impossible operation in formula X."},
        {{u"1", u"7", u"", u""}, u"4", u"Function error:  a function in formula X cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
        {{u"7", u"", u"", u""}, u"1", u"The formula contains invalid symbols or functions, or no formula has been entered."},
        {{u"7", u"", u"", u""}, u"2", u"Syntax error:  a valid mathematical formula has not been entered."},
        {{u"7", u"", u"", u""}, u"3", u"Calculation error: division by zero, or some other impossible operation."},
        {{u"7", u"", u"", u""}, u"4", u"Function error:  a function cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
        {{u"", u"z", u"", u""}, u"0", u"Undefined reference to variable Z in formula for variable X"},
        {{u"", u"", u"z", u""}, u"0", u"Undefined reference to variable Z in formula for variable Y"},
        {{u"z", u"", u"", u""}, u"0", u"Undefined reference to variable Z in the main formula."},
        {{u"", u"y", u"", u"1"}, u"0", u"Undefined reference to variable Y in formula for variable X"},
        {{u"y", u"", u"", u"1"}, u"0", u"Undefined reference to variable Y in the main formula."},
        {{u"x", u"", u"1", u"1"}, u"0", u"Undefined reference to variable X in the main formula."},
        {{tooLong, u"", u"", u""}, u"0", u"The formula is too long: a formula may have at most 32767 characters."},
        {{u"", tooLong, u"", u""}, u"0", u"The formula for X is too long: a formula may have at most 32767 characters."},
        {{u"", u"", tooLong, u""}, u"0", u"The formula for Y is too long: a formula may have at most 32767 characters."},
        {{u"", u"", u"", tooLong}, u"0", u"The formula for Z is too long: a formula may have at most 32767 characters."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.status));
        FakeEvaluator evaluator;
        evaluator.script = {{u"7", {row.code, 0}}};
        const Outcome outcome = runEvaluation(evaluator, row.in, u'.');
        EXPECT_EQ(outcome.main, Err);
        EXPECT_EQ(outcome.status, row.status);
    }
}

TEST(EvaluationSequence, PointsAtTheProblemInTheTypedText)
{
    const std::u16string tooLong(MaxFormulaLength + 1, u'1');
    const std::u16string largest = u"1.7976931348623157e308";  // carried as 1.79769313486232E+308
    struct Row
    {
        const char* name;
        Formulas in;
        std::optional<Problem> problem;
    };
    const Row rows[] = {
        {"success", {u"x/y", u"1", u"2", u""}, std::nullopt},
        {"unknown name", {u"1+foo(2)", u"", u"", u""}, Problem{Stage::Main, 2, 3}},
        {"after leading spaces", {u"   1+foo(2)  ", u"", u"", u""}, Problem{Stage::Main, 5, 3}},
        {"a name with a letter rewritten", {u"y", u"", u"1+max(2)", u""}, Problem{Stage::Y, 2, 3}},
        {"a name around a letter left in", {u"y", u"", u"1+xa", u""}, Problem{Stage::Y, 2, 2}},
        {"a name cut short by a value", {u"1+max(2)", u"1", u"", u""}, Problem{Stage::Main, 2, 2}},
        {"a letter left in alone", {u"1", u"3", u"x", u""}, Problem{Stage::Y, 0, 1}},
        {"unknown character in Z", {u"1", u"", u"", u" 1@"}, Problem{Stage::Z, 2, 1}},
        {"empty formula", {u"   ", u"", u"", u""}, Problem{Stage::Main, 0, 0}},
        {"ends too early", {u" 1+ ", u"", u"", u""}, Problem{Stage::Main, 3, 0}},
        {"ends too early after a value", {u"x+", u"1", u"", u""}, Problem{Stage::Main, 2, 0}},
        {"a value's parenthesis", {u"2x", u"3", u"", u""}, Problem{Stage::Main, 1, 1}},
        {"an operand after a value", {u"x5", u"3", u"", u""}, Problem{Stage::Main, 1, 1}},
        {"unclosed parenthesis", {u"1", u"", u"(z", u"2"}, Problem{Stage::Y, 0, 1}},
        {"division by a value of 0", {u"x/y", u"1", u"0", u""}, Problem{Stage::Main, 1, 1}},
        {"after exp's x", {u"EXP(x)/0", u"1", u"", u""}, Problem{Stage::Main, 6, 1}},
        {"operator in X", {u"1", u"y/(z-2)", u"3", u"2"}, Problem{Stage::X, 1, 1}},
        {"literal too large", {u"2*1e999", u"", u"", u""}, Problem{Stage::Main, 2, 5}},
        {"value too large to carry", {u"z", u"", u"", largest}, Problem{Stage::Main, 0, 1}},
        {"function", {u"2+sqrt(-1)", u"", u"", u""}, Problem{Stage::Main, 2, 4}},
        {"function of a value", {u"1", u"Mod(y)", u"3", u"2"}, Problem{Stage::X, 0, 3}},
        {"exp of a value", {u"exp(x)", u"1000", u"", u""}, Problem{Stage::Main, 0, 3}},
        {"undefined Z, either case", {u"1+Z+z", u"", u"", u""}, Problem{Stage::Main, 2, 1}},
        {"undefined Z in X", {u"", u" 2-z", u"", u""}, Problem{Stage::X, 3, 1}},
        {"undefined X behind exp", {u"exp(2)*x", u"", u"2", u"1"}, Problem{Stage::Main, 7, 1}},
        {"too long", {u"  " + tooLong + u" ", u"", u"", u""}, Problem{Stage::Main, 32769, 1}},
        {"X too long", {u"1", tooLong, u"", u""}, Problem{Stage::X, 32767, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Outcome got = run(row.in);
        EXPECT_EQ(got.main == Err, row.problem.has_value());
        EXPECT_EQ(got.problem, row.problem);
    }
}

TEST(EvaluationSequence, TakesTheEvaluatorsProblemOnlyAfterAnErrorCode)
{
    constexpr std::size_t Far = std::numeric_limits<std::size_t>::max();
    struct Row
    {
        FakeEvaluator::Answer answer;  // for the text "7", typed "  7 "
        std::optional<Problem> problem;
    };
    const Row rows[] = {
        {{u"2", 0, 0, 1}, Problem{Stage::Main, 2, 1}},
        {{u"4", 0, 1, 0}, Problem{Stage::Main, 3, 0}},
        {{u"1", 0, Far, Far}, Problem{Stage::Main, 3, 0}},  // kept inside the text
        {{u"3", 0, 0, Far}, Problem{Stage::Main, 2, 1}},
        {{u"0", 7, 0, 1}, std::nullopt},
        {{u"9", 0, 0, 1}, std::nullopt},  // ends without a word
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.answer.code));
        FakeEvaluator evaluator;
        evaluator.script = {{u"7", row.answer}};
        const Outcome got = runEvaluation(evaluator, {u"  7 ", u"", u"", u""}, u'.');
        EXPECT_EQ(evaluator.problemReads, row.problem ? 2 : 0);
        EXPECT_EQ(got.problem, row.problem);
    }
}
