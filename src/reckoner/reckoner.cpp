#include "reckoner/reckoner.h"

#include "text/ascii_case.h"
#include "text/utf16.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

// The formula is read in one pass with an operator stack (shunting-yard) and computed as it is
// read: each operator is applied when it leaves the stack, which is the order a tree walk would
// apply it in. Reading stops at its first problem; a computing problem is only noted, so a
// formula that does not read cleanly reports its reading problem whatever it would compute.
//
// Grammar, lowest precedence first:
//   sum     := product (('+' | '-') product)*
//   product := signed (('*' | '/') signed)*
//   signed  := ('+' | '-') signed | power
//   power   := primary ('^' signed)?
//   primary := number | constant | function '(' sum (',' sum)* ')' | '(' sum ')'

namespace {

enum Code : int { Success = 0, Unknown = 1, Syntax = 2, Calculation = 3, FunctionError = 4 };

enum Kind : std::uint8_t { Add, Subtract, Multiply, Divide, Power, Negate, Open, OpenCall };

constexpr int precedence(std::uint8_t kind)
{
    switch (kind) {
    case Add:
    case Subtract:
        return 1;
    case Multiply:
    case Divide:
        return 2;
    case Negate:
        return 3;
    case Power:
        return 4;
    default:
        return 0;  // parentheses stop every reduction
    }
}

enum Function : std::uint8_t {
    Abs, Sqrt, Cbrt, Exp, Ln, Log, Log2, Sin, Cos, Tan, Asin, Acos, Atan, Atan2,
    Sinh, Cosh, Tanh, Asinh, Acosh, Atanh, Int, Ceil, Floor, Trunc, Round, Sgn, Mod, Pow
};

struct Name
{
    std::u16string_view text;  // lower case
    bool isFunction;
    std::uint8_t function;
    std::uint8_t arity;
    double constant;
};

// Function names hold no x, y or z: those letters are rewritten before a formula gets here.
constexpr std::array<Name, 33> Names{{
    {u"pi", false, 0, 0, std::numbers::pi},
    {u"e", false, 0, 0, std::numbers::e},
    {u"abs", true, Abs, 1, 0},
    {u"sqrt", true, Sqrt, 1, 0},
    {u"cbrt", true, Cbrt, 1, 0},
    {u"exp", true, Exp, 1, 0},
    {u"ln", true, Ln, 1, 0},
    {u"log", true, Log, 1, 0},
    {u"log10", true, Log, 1, 0},
    {u"log2", true, Log2, 1, 0},
    {u"sin", true, Sin, 1, 0},
    {u"cos", true, Cos, 1, 0},
    {u"tan", true, Tan, 1, 0},
    {u"asin", true, Asin, 1, 0},
    {u"acos", true, Acos, 1, 0},
    {u"atan", true, Atan, 1, 0},
    {u"atan2", true, Atan2, 2, 0},
    {u"sinh", true, Sinh, 1, 0},
    {u"cosh", true, Cosh, 1, 0},
    {u"tanh", true, Tanh, 1, 0},
    {u"asinh", true, Asinh, 1, 0},
    {u"acosh", true, Acosh, 1, 0},
    {u"atanh", true, Atanh, 1, 0},
    {u"int", true, Int, 1, 0},
    {u"ceil", true, Ceil, 1, 0},
    {u"floor", true, Floor, 1, 0},
    {u"trunc", true, Trunc, 1, 0},
    {u"round", true, Round, 1, 0},
    {u"sgn", true, Sgn, 1, 0},
    {u"sign", true, Sgn, 1, 0},
    {u"mod", true, Mod, 2, 0},
    {u"pow", true, Pow, 2, 0},
}};

constexpr std::size_t FunctionCount = Pow + 1;

constexpr std::array<std::uint8_t, FunctionCount> Arity = [] {
    std::array<std::uint8_t, FunctionCount> arity{};
    for (const Name& name : Names) {
        if (name.isFunction)
            arity[name.function] = name.arity;
    }
    return arity;
}();

constexpr std::uint8_t arityOf(std::uint8_t function) { return Arity[function]; }

// A name of up to eight characters, folded to lower case, one per byte: names are compared as
// single integers. Name characters are ASCII letters, digits and '_', so a byte holds each.
constexpr std::size_t MaxKeyLength = 8;

constexpr std::uint64_t nameKey(const char16_t* text, std::size_t length)
{
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < length; ++i)
        key = (key << 8) | asciicase::fold(text[i]);
    return key;
}

constexpr std::array<std::uint64_t, Names.size()> NameKeys = [] {
    std::array<std::uint64_t, Names.size()> keys{};
    for (std::size_t i = 0; i < Names.size(); ++i)
        keys[i] = nameKey(Names[i].text.data(), Names[i].text.size());
    return keys;
}();

static_assert(std::all_of(Names.begin(), Names.end(),
                          [](const Name& name) { return name.text.size() <= MaxKeyLength; }));

const Name* lookUp(const char16_t* text, std::size_t length)
{
    if (length > MaxKeyLength)
        return nullptr;
    const std::uint64_t key = nameKey(text, length);
    for (std::size_t i = 0; i < NameKeys.size(); ++i) {
        if (NameKeys[i] == key)
            return &Names[i];
    }
    return nullptr;
}

constexpr bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
constexpr bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
constexpr bool isNameStart(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}
constexpr bool isNamePart(char16_t c) { return isNameStart(c) || isDigit(c); }

// The end of the number that starts at `p`, read by the rule of Reckoner::readNumber; one unit
// on for a period without digits.
const char16_t* numberEnd(const char16_t* p, const char16_t* end)
{
    const char16_t* q = p;
    while (q != end && isDigit(*q))
        ++q;
    bool anyDigit = q != p;
    if (q != end && *q == u'.') {
        const char16_t* const fraction = ++q;
        while (q != end && isDigit(*q))
            ++q;
        anyDigit = anyDigit || q != fraction;
    }
    if (!anyDigit)
        return p + 1;
    if (q != end && (*q == u'e' || *q == u'E')) {
        const char16_t* r = q + 1;
        if (r != end && (*r == u'+' || *r == u'-'))
            ++r;
        if (r != end && isDigit(*r)) {
            while (r != end && isDigit(*r))
                ++r;
            q = r;
        }
    }
    return q;
}

// The units of the token that starts at `p`: a number, a name, a surrogate pair or one unit;
// 0 at the end of the text.
std::size_t tokenLength(const char16_t* p, const char16_t* end)
{
    if (p == end)
        return 0;
    if (isDigit(*p) || *p == u'.')
        return static_cast<std::size_t>(numberEnd(p, end) - p);
    if (isNameStart(*p)) {
        const char16_t* q = p;
        while (q != end && isNamePart(*q))
            ++q;
        return static_cast<std::size_t>(q - p);
    }
    const bool isPair = end - p >= 2 && utf16::isHighSurrogate(p[0]) && utf16::isLowSurrogate(p[1]);
    return isPair ? 2 : 1;
}

// Decimal exponent of the leading significant digit of a number the parser has accepted,
// saturated; decides whether a literal out of double's range overflowed or underflowed.
long long magnitudeOf(std::string_view digits)
{
    long long lead = 0;
    bool seenPoint = false;
    bool found = false;
    std::size_t i = 0;
    for (; i < digits.size() && digits[i] != 'e' && digits[i] != 'E'; ++i) {
        const char c = digits[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!found && c != '0') {
            found = true;
            lead = seenPoint ? lead - 1 : 0;
        } else if (!found && seenPoint) {
            --lead;
        } else if (found && !seenPoint) {
            ++lead;
        }
    }
    if (!found)
        return std::numeric_limits<long long>::min();
    long long exponent = 0;
    bool negative = false;
    if (i < digits.size()) {
        ++i;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-'))
            negative = digits[i++] == '-';
        for (; i < digits.size(); ++i) {
            if (exponent < 1'000'000'000)
                exponent = exponent * 10 + (digits[i] - '0');
        }
    }
    return lead + (negative ? -exponent : exponent);
}

}  // namespace

Reckoner::Reckoner() = default;

void Reckoner::setExpression(std::u16string_view text)
{
    m_expression.assign(text);
}

std::u16string Reckoner::ErrorCode() const
{
    return std::u16string(1, static_cast<char16_t>(u'0' + m_code));
}

void Reckoner::Calculate()
{
    m_result = 0.0;
    m_errorPosition = 0;
    m_errorLength = 0;
    m_code = readOnce<false>();
    if (m_code == Success) {
        m_result = m_values.back() == 0.0 ? 0.0 : m_values.back();
        return;
    }
    // Keeping places costs every operator a little and most formulas have no problem: only
    // now is the formula read again, keeping them, which meets the same problem first.
    m_code = readOnce<true>();
}

// Reads and computes the whole formula; the code of its deciding problem, or Success.
template <bool IsPlacing>
int Reckoner::readOnce()
{
    m_values.clear();
    m_pending.clear();
    m_places.clear();
    m_computeCode = Success;
    const int readCode = read<IsPlacing>();
    if (readCode != Success)
        return readCode;  // a placing read has placed it
    if constexpr (IsPlacing) {
        m_errorPosition = m_computePosition;
        m_errorLength = m_computeLength;
    }
    return m_computeCode;
}

void Reckoner::noteFailure(int code)
{
    if (m_computeCode == Success)
        m_computeCode = code;
}

// Where the computing step about to run lies. Once a problem has been noted the place stays,
// so that it ends as the place of the first one.
void Reckoner::placeComputing(std::size_t position, std::size_t length)
{
    if (m_computeCode == Success) {
        m_computePosition = position;
        m_computeLength = length;
    }
}

// Returns `code`; a placing reading first places the problem, kept inside the text whatever it
// is given.
template <bool IsPlacing>
int Reckoner::fail(int code, const char16_t* at, std::size_t length)
{
    if constexpr (IsPlacing) {
        const std::size_t size = m_expression.size();
        m_errorPosition = std::min(static_cast<std::size_t>(at - m_expression.data()), size);
        m_errorLength = std::min(length, size - m_errorPosition);
    }
    return code;
}

template <bool IsPlacing>
void Reckoner::push(Pending entry, const char16_t* at)
{
    m_pending.push_back(entry);
    if constexpr (IsPlacing)
        m_places.push_back(static_cast<std::uint32_t>(at - m_expression.data()));
}

std::size_t Reckoner::nameLength(std::size_t position) const
{
    std::size_t end = position;
    while (end < m_expression.size() && isNamePart(m_expression[end]))
        ++end;
    return end - position;
}

template <bool IsPlacing>
int Reckoner::read()
{
    const char16_t* const begin = m_expression.data();
    const char16_t* p = begin;
    const char16_t* const end = p + m_expression.size();
    bool expectOperand = true;
    bool justOpened = false;  // the last token was an opening parenthesis
    bool anyToken = false;

    for (;;) {
        while (p != end && isSpace(*p))
            ++p;
        if (p == end)
            break;
        const char16_t c = *p;
        anyToken = true;

        if (expectOperand) {
            if (isDigit(c) || c == u'.') {
                const char16_t* const start = p;
                if (!readNumber(p, end))
                    return fail<IsPlacing>(Syntax, start, tokenLength(start, end));
                expectOperand = false;
            } else if (isNameStart(c)) {
                const char16_t* const start = p;
                while (p != end && isNamePart(*p))
                    ++p;
                const Name* name = lookUp(start, static_cast<std::size_t>(p - start));
                if (name == nullptr)
                    return fail<IsPlacing>(Unknown, start, static_cast<std::size_t>(p - start));
                if (!name->isFunction) {
                    m_values.push_back(name->constant);
                    expectOperand = false;
                } else {
                    while (p != end && isSpace(*p))
                        ++p;
                    if (p == end || *p != u'(')
                        return fail<IsPlacing>(Syntax, p, tokenLength(p, end));
                    push<IsPlacing>({OpenCall, name->function, 1}, start);
                    ++p;
                    justOpened = true;
                    continue;
                }
            } else if (c == u'(') {
                push<IsPlacing>({Open, 0, 0}, p);
                ++p;
                justOpened = true;
                continue;
            } else if (c == u'-') {
                push<IsPlacing>({Negate, 0, 0}, p);
                ++p;
            } else if (c == u'+') {
                ++p;
            } else if (c == u')' && justOpened && m_pending.back().kind == OpenCall) {
                // an empty argument list: the count is wrong for every function we know
                const std::size_t name = IsPlacing ? m_places.back() : 0;
                return fail<IsPlacing>(FunctionError, begin + name, nameLength(name));
            } else if (c == u')' || c == u'*' || c == u'/' || c == u'^' || c == u',') {
                return fail<IsPlacing>(Syntax, p, 1);
            } else {
                return fail<IsPlacing>(Unknown, p, tokenLength(p, end));
            }
            justOpened = false;
            continue;
        }

        justOpened = false;
        switch (c) {
        case u'+':
        case u'-':
            reduceUntil<IsPlacing>(1, false);
            push<IsPlacing>({c == u'+' ? Add : Subtract, 0, 0}, p);
            expectOperand = true;
            break;
        case u'*':
        case u'/':
            reduceUntil<IsPlacing>(2, false);
            push<IsPlacing>({c == u'*' ? Multiply : Divide, 0, 0}, p);
            expectOperand = true;
            break;
        case u'^':
            reduceUntil<IsPlacing>(4, true);
            push<IsPlacing>({Power, 0, 0}, p);
            expectOperand = true;
            break;
        case u')': {
            if (!reduceUntil<IsPlacing>(0, false))
                return fail<IsPlacing>(Syntax, p, 1);
            const Pending open = m_pending.back();
            m_pending.pop_back();
            std::size_t name = 0;  // of the function called
            if constexpr (IsPlacing) {
                name = m_places.back();
                m_places.pop_back();
            }
            if (open.kind == OpenCall) {
                if (open.arguments != arityOf(open.function))
                    return fail<IsPlacing>(FunctionError, begin + name, nameLength(name));
                if constexpr (IsPlacing)
                    placeComputing(name, nameLength(name));
                applyFunction(open.function);
            }
            break;
        }
        case u',':
            if (!reduceUntil<IsPlacing>(0, false) || m_pending.back().kind != OpenCall)
                return fail<IsPlacing>(Syntax, p, 1);
            ++m_pending.back().arguments;
            expectOperand = true;
            break;
        default:
            if (isDigit(c) || c == u'.' || isNameStart(c) || c == u'(') {
                // two operands in a row: there is no implicit multiplication
                return fail<IsPlacing>(Syntax, p, tokenLength(p, end));
            }
            return fail<IsPlacing>(Unknown, p, tokenLength(p, end));
        }
        ++p;
    }

    if (!anyToken)
        return fail<IsPlacing>(Unknown, begin, 0);
    if (expectOperand)
        return fail<IsPlacing>(Syntax, end, 0);
    reduceUntil<IsPlacing>(0, false);
    if (!m_pending.empty()) {
        // an opening parenthesis was never closed: the innermost one is the problem
        std::size_t open = IsPlacing ? m_places.back() : 0;
        if (m_pending.back().kind == OpenCall) {
            open += nameLength(open);
            while (open < m_expression.size() && isSpace(m_expression[open]))
                ++open;
        }
        return fail<IsPlacing>(Syntax, begin + open, 1);
    }
    return Success;
}

// Applies the pending operators that bind at least as tightly as an incoming operator of the
// given precedence; a right-associative one leaves its equals pending. Stops at a parenthesis:
// returns whether one is on top afterwards.
template <bool IsPlacing>
bool Reckoner::reduceUntil(int incoming, bool rightAssociative)
{
    while (!m_pending.empty()) {
        const Pending top = m_pending.back();
        const int topPrecedence = precedence(top.kind);
        if (topPrecedence == 0)
            return true;
        if (topPrecedence < incoming || (rightAssociative && topPrecedence == incoming))
            return false;
        m_pending.pop_back();
        if constexpr (IsPlacing) {
            placeComputing(m_places.back(), 1);
            m_places.pop_back();
        }
        apply(top);
    }
    return false;
}

void Reckoner::apply(const Pending& op)
{
    if (op.kind == Negate) {
        m_values.back() = -m_values.back();
        return;
    }
    const double b = m_values.back();
    m_values.pop_back();
    double& a = m_values.back();
    switch (op.kind) {
    case Add:
        a += b;
        break;
    case Subtract:
        a -= b;
        break;
    case Multiply:
        a *= b;
        break;
    case Divide:
        if (b == 0.0) {
            noteFailure(Calculation);
            a = std::numeric_limits<double>::quiet_NaN();
            return;
        }
        a /= b;
        break;
    case Power:
        a = std::pow(a, b);
        break;
    default:
        break;
    }
    if (!std::isfinite(a))
        noteFailure(Calculation);
}

void Reckoner::applyFunction(std::uint8_t function)
{
    double b = 0.0;
    if (arityOf(function) == 2) {
        b = m_values.back();
        m_values.pop_back();
    }
    double& a = m_values.back();
    bool inDomain = true;
    switch (function) {
    case Abs: a = std::fabs(a); break;
    case Sqrt: inDomain = a >= 0.0; a = std::sqrt(a); break;
    case Cbrt: a = std::cbrt(a); break;
    case Exp: a = std::exp(a); break;
    case Ln: inDomain = a > 0.0; a = std::log(a); break;
    case Log: inDomain = a > 0.0; a = std::log10(a); break;
    case Log2: inDomain = a > 0.0; a = std::log2(a); break;
    case Sin: a = std::sin(a); break;
    case Cos: a = std::cos(a); break;
    case Tan: a = std::tan(a); break;
    case Asin: inDomain = std::fabs(a) <= 1.0; a = std::asin(a); break;
    case Acos: inDomain = std::fabs(a) <= 1.0; a = std::acos(a); break;
    case Atan: a = std::atan(a); break;
    case Atan2: a = std::atan2(a, b); break;
    case Sinh: a = std::sinh(a); break;
    case Cosh: a = std::cosh(a); break;
    case Tanh: a = std::tanh(a); break;
    case Asinh: a = std::asinh(a); break;
    case Acosh: inDomain = a >= 1.0; a = std::acosh(a); break;
    case Atanh: inDomain = std::fabs(a) < 1.0; a = std::atanh(a); break;
    case Int: a = std::floor(a); break;
    case Ceil: a = std::ceil(a); break;
    case Floor: a = std::floor(a); break;
    case Trunc: a = std::trunc(a); break;
    case Round: a = std::round(a); break;  // halves away from zero
    case Sgn: a = static_cast<double>((a > 0.0) - (a < 0.0)); break;
    case Mod: {
        // floored: the result takes the sign of the divisor, so mod(-1, 3) is 2
        inDomain = b != 0.0;
        double r = std::fmod(a, b);
        if (r != 0.0 && ((r < 0.0) != (b < 0.0)))
            r += b;
        a = r;
        break;
    }
    case Pow: a = std::pow(a, b); break;
    default: break;
    }
    if (!inDomain || !std::isfinite(a))
        noteFailure(FunctionError);
}

// Exact powers of ten: every one up to 1e22 is a double.
constexpr std::array<double, 23> ExactPowersOfTen = [] {
    std::array<double, 23> powers{};
    double power = 1.0;
    for (double& p : powers) {
        p = power;
        power *= 10.0;
    }
    return powers;
}();

// 2^53: every integer up to it is a double.
constexpr std::uint64_t LargestExactInteger = std::uint64_t{1} << 53;

// The quick path below divides or multiplies two exact doubles once, which rounds correctly
// only when the arithmetic is done in double precision.
static_assert(FLT_EVAL_METHOD == 0);

// number := digits ['.' digits*] | '.' digits, then optionally [eE] [+-]? digits.
// An 'e' not followed by an exponent is left for the next token (the constant e).
bool Reckoner::readNumber(const char16_t*& p, const char16_t* end)
{
    const char16_t* const start = p;
    std::uint64_t mantissa = 0;  // the significant digits, while they fit
    int significant = 0;
    bool isExact = true;         // the mantissa holds every significant digit
    long long scale = 0;         // the value is mantissa * 10^scale
    bool anyDigit = false;
    const auto take = [&](char16_t c) {
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - u'0');
            significant += mantissa != 0;
        } else {
            isExact = false;
        }
    };

    for (; p != end && isDigit(*p); ++p) {
        take(*p);
        anyDigit = true;
    }
    if (p != end && *p == u'.') {
        for (++p; p != end && isDigit(*p); ++p) {
            take(*p);
            --scale;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return false;
    if (p != end && (*p == u'e' || *p == u'E')) {
        const char16_t* q = p + 1;
        const bool isNegative = q != end && *q == u'-';
        if (q != end && (*q == u'+' || *q == u'-'))
            ++q;
        if (q != end && isDigit(*q)) {
            long long exponent = 0;
            for (; q != end && isDigit(*q); ++q) {
                if (exponent < 1'000'000'000)
                    exponent = exponent * 10 + (*q - u'0');
            }
            scale += isNegative ? -exponent : exponent;
            p = q;
        }
    }

    double value = 0.0;
    if (mantissa == 0) {
        value = 0.0;
    } else if (isExact && mantissa <= LargestExactInteger && scale >= -22 && scale <= 22) {
        const double m = static_cast<double>(mantissa);
        value = scale < 0 ? m / ExactPowersOfTen[static_cast<std::size_t>(-scale)]
                          : m * ExactPowersOfTen[static_cast<std::size_t>(scale)];
    } else if (!readLongNumber(start, p, value)) {
        return false;
    }
    if (!std::isfinite(value)) {
        placeComputing(static_cast<std::size_t>(start - m_expression.data()),
                       static_cast<std::size_t>(p - start));
        noteFailure(Calculation);
    }
    m_values.push_back(value);
    return true;
}

// The correctly rounded value of a number text the quick path cannot settle; a text outside
// double's range gives infinity or 0.
bool Reckoner::readLongNumber(const char16_t* first, const char16_t* last, double& value)
{
    // from_chars reads narrow text only; most numbers fit the stack buffer
    const std::size_t length = static_cast<std::size_t>(last - first);
    char buffer[64] = {};  // zeroed only to quiet a false -Wmaybe-uninitialized
    char* narrow = buffer;
    if (length > sizeof buffer) {
        m_digits.resize(length);
        narrow = m_digits.data();
    }
    for (std::size_t i = 0; i < length; ++i)
        narrow[i] = static_cast<char>(first[i]);

    const auto [ptr, ec] =
        std::from_chars(narrow, narrow + length, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        const bool isLarge = magnitudeOf(std::string_view(narrow, length)) > 0;
        value = isLarge ? std::numeric_limits<double>::infinity() : 0.0;
        return true;
    }
    return ec == std::errc() && ptr == narrow + length;
}
