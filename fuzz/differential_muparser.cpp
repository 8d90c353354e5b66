// Differential check of the evaluator against muparser on random well-formed formulas of the
// language both share: numbers, + - * / ^, parentheses, unary minus, sin cos tan sqrt exp abs
// and pi. The values must agree to 12 significant digits, or both sides report an error.
//
// Left out of the generator, because the two languages differ there by design:
// - two signs in a row after an operator or at the start (--2, 2*-+3, 2^--2): muparser
//   refuses them, the evaluator reads them (a minus after + or - is common: 2--3);
// - literals beyond double's range and names in upper case (muparser's names are case-
//   sensitive, the evaluator's are not);
// - muparser's own names (_pi, _e, sum, min, ...), and the evaluator's e, mod, ln and others.
// Compared by a rule rather than left out: muparser has no error for a non-finite value, so
// "inf" or "nan" from it counts as its error. Once a value inside the formula is not finite,
// muparser goes its own way (1/(1/0) gives 0, and its optimiser can make 6^0^-inf finite), so
// there only the evaluator's error is checked; such formulas are counted apart.
// Measured to agree, and so generated: ^ is right-associative (2^3^2 is 512) and binds tighter
// than a leading minus on both sides (-2^2 is -4, 2^-2^2 is 1/16).
//
// Usage: differential_muparser [COUNT [SEED]]; prints its figures, exits 1 on any unexplained
// disagreement.

#include "reckoner/reckoner.h"

#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>

namespace {

// A generated formula with the value it must have, computed alongside in double precision in
// the order both evaluators compute.
struct Piece
{
    std::string text;
    double value = 0.0;
    bool isFiniteThroughout = true;  // no value inside it, itself included, is inf or nan
};

class Generator
{
public:
    explicit Generator(unsigned long long seed) : m_random(seed) {}

    Piece formula() { return sum(0); }

private:
    static constexpr int MaxDepth = 3;

    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }

    std::string space() { return pick(6) == 0 ? " " : ""; }

    static Piece combine(Piece left, const char* op, const Piece& right, double value)
    {
        left.text += op + right.text;
        left.value = value;
        left.isFiniteThroughout =
            left.isFiniteThroughout && right.isFiniteThroughout && std::isfinite(value);
        return left;
    }

    // sum := product (('+' | '-') product)*
    Piece sum(int depth)
    {
        Piece out = product(depth);
        for (int terms = pick(3); terms > 0; --terms) {
            const Piece next = product(depth);
            out = pick(2) == 0 ? combine(out, "+", next, out.value + next.value)
                               : combine(out, "-", next, out.value - next.value);
        }
        return out;
    }

    // product := factor (('*' | '/') factor)*
    Piece product(int depth)
    {
        Piece out = factor(depth);
        for (int factors = pick(2); factors > 0; --factors) {
            const Piece next = factor(depth);
            out = pick(2) == 0 ? combine(out, "*", next, out.value * next.value)
                               : combine(out, "/", next, out.value / next.value);
        }
        return out;
    }

    // factor := '-' power | power; never two signs in a row
    Piece factor(int depth)
    {
        if (pick(5) != 0)
            return power(depth);
        Piece operand = power(depth);
        operand.text = "-" + space() + operand.text;
        operand.value = -operand.value;
        return operand;
    }

    // power := atom ('^' exponent)?
    Piece power(int depth)
    {
        Piece base = atom(depth);
        if (pick(4) != 0)
            return base;
        const Piece e = exponent(depth);
        return combine(base, "^", e, std::pow(base.value, e.value));
    }

    // exponent := '-' power | power, kept small so that most powers stay finite
    Piece exponent(int depth)
    {
        Piece out;
        switch (pick(6)) {
        case 0:
            out = power(depth + 1);  // right-associative chains: 2^3^2
            break;
        case 1:
            out = atom(MaxDepth);
            break;
        case 2:
            out = sum(MaxDepth);
            out.text = "(" + out.text + ")";
            break;
        default:
            out = smallNumber();
            break;
        }
        if (pick(5) == 0) {
            out.text = "-" + out.text;
            out.value = -out.value;
        }
        return out;
    }

    // atom := number | pi | function '(' sum ')' | '(' sum ')'
    Piece atom(int depth)
    {
        const int choice = pick(depth >= MaxDepth ? 6 : 10);
        if (choice < 5)
            return number();
        if (choice == 5)
            return {space() + "pi" + space(), std::numbers::pi, true};
        Piece inner = sum(depth + 1);
        if (choice < 8) {
            inner.text = space() + "(" + inner.text + ")" + space();
            return inner;
        }
        struct Function
        {
            const char* name;
            double (*apply)(double);
        };
        static const Function Functions[] = {
            {"sin", [](double v) { return std::sin(v); }},
            {"cos", [](double v) { return std::cos(v); }},
            {"tan", [](double v) { return std::tan(v); }},
            {"sqrt", [](double v) { return std::sqrt(v); }},
            {"exp", [](double v) { return std::exp(v); }},
            {"abs", [](double v) { return std::fabs(v); }},
        };
        const Function& f = Functions[pick(std::size(Functions))];
        const double value = f.apply(inner.value);
        return {space() + f.name + "(" + inner.text + ")" + space(), value,
                inner.isFiniteThroughout && std::isfinite(value)};
    }

    // Whole numbers, decimals with and without a leading digit, and exponent forms.
    Piece number()
    {
        // zero now and then: division by it is one of the errors both sides must report
        const int whole = pick(4) == 0 ? pick(100000) : (pick(20) == 0 ? 0 : 1 + pick(9));
        std::string text = std::to_string(whole);
        switch (pick(6)) {
        case 0:
            text += "." + std::to_string(pick(1000));
            break;
        case 1:
            text = "." + std::to_string(1 + pick(999));
            break;
        case 2:
            text += (pick(2) == 0 ? "e" : "E") + std::string(pick(2) == 0 ? "-" : "") +
                    std::to_string(pick(8));
            break;
        default:
            break;
        }
        return literal(text);
    }

    Piece smallNumber()
    {
        // mostly whole: a negative base takes no fractional power
        std::string text = std::to_string(pick(5));
        if (pick(6) == 0)
            text += "." + std::to_string(pick(100));
        return literal(text);
    }

    Piece literal(const std::string& text)
    {
        return {space() + text + space(), std::strtod(text.c_str(), nullptr), true};
    }

    std::mt19937_64 m_random;
};

struct Evaluation
{
    bool isError;
    double value;
};

Evaluation byReckoner(Reckoner& reckoner, const std::string& text)
{
    reckoner.setExpression(std::u16string(text.begin(), text.end()));
    reckoner.Calculate();
    const bool isError = reckoner.ErrorCode() != u"0";
    return {isError, isError ? 0.0 : reckoner.Result()};
}

Evaluation byMuparser(mu::Parser& parser, const std::string& text)
{
    try {
        parser.SetExpr(text);
        const double value = parser.Eval();
        return {!std::isfinite(value), value};
    } catch (const mu::Parser::exception_type&) {
        return {true, 0.0};
    }
}

bool agreeTo12Digits(double a, double b)
{
    return a == b || std::fabs(a - b) <= 1e-12 * std::fmax(std::fabs(a), std::fabs(b));
}

}  // namespace

int main(int argc, char* argv[])
{
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;

    Generator generator(seed);
    Reckoner reckoner;
    mu::Parser parser;
    parser.DefineConst("pi", std::numbers::pi);

    long bothValues = 0;
    long bothErrors = 0;
    long nonFiniteInside = 0;
    long disagreements = 0;
    for (long i = 0; i < count; ++i) {
        const Piece formula = generator.formula();
        const Evaluation ours = byReckoner(reckoner, formula.text);
        const Evaluation theirs = byMuparser(parser, formula.text);
        bool agree = false;
        if (!formula.isFiniteThroughout) {
            ++nonFiniteInside;
            agree = ours.isError;
        } else if (ours.isError && theirs.isError) {
            ++bothErrors;
            agree = true;
        } else if (!ours.isError && !theirs.isError) {
            ++bothValues;
            agree = agreeTo12Digits(ours.value, theirs.value);
        }
        if (!agree) {
            ++disagreements;
            std::printf("disagree: %s\n  evaluator %s %.17g, muparser %s %.17g, generator %s "
                        "%.17g\n",
                        formula.text.c_str(), ours.isError ? "error" : "value", ours.value,
                        theirs.isError ? "error" : "value", theirs.value,
                        formula.isFiniteThroughout ? "finite" : "non-finite inside",
                        formula.value);
        }
    }
    std::printf("formulas %ld (seed %llu): values agree %ld, both errors %ld, "
                "evaluator error on a non-finite value inside %ld, disagreements %ld\n",
                count, seed, bothValues, bothErrors, nonFiniteInside, disagreements);
    return disagreements == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
