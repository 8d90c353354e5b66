#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The formula evaluator: set Expression, call Calculate, then read ErrorCode and, after "0",
// Result. It keeps its last formula, code and result until the next Calculate.
//
// Never throws (but std::bad_alloc) and never recurses: any text, of any length or nesting,
// gives a code, in time and memory linear in its length. Buffers are kept from one Calculate
// to the next, so evaluating a formula of a size seen before allocates nothing. A formula with
// a problem is read twice: only the second reading keeps the places ErrorPosition needs.
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

    // Where the problem behind a code other than "0" lies in the formula last calculated: a
    // 0-based offset and a count of UTF-16 units, never reaching past the text's end. The
    // problem is what decided the code: "1" the unknown name or character, or 0 and 0 for a
    // text without a token; "2" the first token where the text stops being a formula, the end
    // of the text (count 0) when it stops too early, the innermost "(" left open or a stray
    // ")"; "3" the operator whose result failed or the literal too large; "4" the name of the
    // function whose call failed. Both are 0 after "0".
    std::size_t ErrorPosition() const { return m_errorPosition; }
    std::size_t ErrorLength() const { return m_errorLength; }

private:
    struct Pending
    {
        std::uint8_t kind;      // an operator or an open parenthesis
        std::uint8_t function;  // for the parenthesis of a function call
        std::uint32_t arguments;
    };

    // IsPlacing: keeps the place of every pending entry and of the problem found.
    template <bool IsPlacing> int readOnce();
    template <bool IsPlacing> int read();
    template <bool IsPlacing> int fail(int code, const char16_t* at, std::size_t length);
    template <bool IsPlacing> void push(Pending entry, const char16_t* at);
    template <bool IsPlacing> bool reduceUntil(int precedence, bool rightAssociative);
    void apply(const Pending& op);
    void applyFunction(std::uint8_t function);
    void noteFailure(int code);
    void placeComputing(std::size_t position, std::size_t length);
    std::size_t nameLength(std::size_t position) const;
    bool readNumber(const char16_t*& p, const char16_t* end);
    bool readLongNumber(const char16_t* first, const char16_t* last, double& value);

    std::u16string m_expression;
    int m_code = 1;
    double m_result = 0.0;
    int m_computeCode = 0;  // first problem met while computing; reading problems outrank it
    std::size_t m_computePosition = 0;
    std::size_t m_computeLength = 0;
    std::size_t m_errorPosition = 0;
    std::size_t m_errorLength = 0;

    std::vector<double> m_values;
    std::vector<Pending> m_pending;
    // In a placing reading, where each pending entry starts: the operator, the parenthesis, or
    // the called function's name. A text of 4 Gi units or more (8 GiB) wraps them, which moves
    // a problem's place but keeps it inside the text.
    std::vector<std::uint32_t> m_places;
    std::string m_digits;  // a number too long for the stack, narrowed for from_chars
};
