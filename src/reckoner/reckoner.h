#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The formula evaluator: set Expression, call Calculate, then read ErrorCode and, after "0",
// Result. It keeps its last formula, code and result until the next Calculate.
//
// Never throws (but std::bad_alloc) and never recurses: any text, of any length or nesting,
// gives a code, in time and memory linear in its length. Buffers are kept from one Calculate
// to the next, so evaluating a formula of a size seen before allocates nothing.
class Reckoner
{
public:
    Reckoner();

    // The formula text; whitespace (space, tab, CR, LF) between tokens is ignored.
    void setExpression(std::u16string_view text);
    const std::u16string& Expression() const { return m_expression; }

    void Calculate();

    // "0" success with a finite Result; "1" empty formula, unknown name or character;
    // "2" syntax error; "3" calculation error (division by zero, non-finite operator result,
    // literal too large); "4" function error (argument count, domain, non-finite result).
    std::u16string ErrorCode() const;

    // The value of the formula after "0"; 0 after any other code.
    double Result() const { return m_result; }

private:
    struct Pending
    {
        std::uint8_t kind;      // an operator or an open parenthesis
        std::uint8_t function;  // for the parenthesis of a function call
        std::uint32_t arguments;
    };

    int read();
    bool reduceUntil(int precedence, bool rightAssociative);
    void apply(const Pending& op);
    void applyFunction(std::uint8_t function);
    void noteFailure(int code);
    bool readNumber(const char16_t*& p, const char16_t* end);
    bool readLongNumber(const char16_t* first, const char16_t* last, double& value);

    std::u16string m_expression;
    int m_code = 1;
    double m_result = 0.0;
    int m_computeCode = 0;  // first problem met while computing; reading problems outrank it

    std::vector<double> m_values;
    std::vector<Pending> m_pending;
    std::string m_digits;  // a number too long for the stack, narrowed for from_chars
};
