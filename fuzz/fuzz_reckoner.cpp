// Any text into the evaluator: a code "0" to "4", a finite Result after "0", a problem that lies
// inside the text and is the kind of token its code names, and the same outcome again, whether
// the instance has evaluated other formulas before or none.

#include "reckoner/reckoner.h"

#include "fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct Outcome
{
    std::u16string code;
    double result;
    std::size_t position;
    std::size_t length;
};

Outcome evaluate(Reckoner& reckoner, const std::u16string& text)
{
    reckoner.setExpression(text);
    reckoner.Calculate();
    fuzz::check(reckoner.Expression() == text, "Expression keeps the text as written");
    return {reckoner.ErrorCode(), reckoner.Result(), reckoner.ErrorPosition(),
            reckoner.ErrorLength()};
}

bool sameOutcome(const Outcome& a, const Outcome& b)
{
    // bit for bit: a value that drifts between runs is a fault even when it compares equal
    return a.code == b.code && std::memcmp(&a.result, &b.result, sizeof a.result) == 0
           && a.position == b.position && a.length == b.length;
}

bool isSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isName(std::u16string_view span)
{
    return !span.empty() && isLetter(span.front())
           && std::all_of(span.begin(), span.end(),
                          [](char16_t c) { return isLetter(c) || isDigit(c); });
}

// What the problem's span may hold for each code: "1" a name or one foreign character (two
// units for a surrogate pair), "3" an operator or a number, "4" a function's name.
void checkProblem(const std::u16string& text, const Outcome& got)
{
    if (got.code == u"0") {
        fuzz::check(got.position == 0 && got.length == 0, "no problem after \"0\"");
        return;
    }
    fuzz::check(got.position <= text.size() && got.length <= text.size() - got.position,
                "the problem lies inside the text");
    const std::u16string_view span = std::u16string_view(text).substr(got.position, got.length);
    if (span.empty()) {
        const bool isBlank = std::all_of(text.begin(), text.end(), isSpace);
        fuzz::check((got.code == u"2" && got.position == text.size())
                        || (got.code == u"1" && got.position == 0 && isBlank),
                    "only the end of the text, or a text without a token, is a place");
        return;
    }
    fuzz::check(!isSpace(span.front()) && !isSpace(span.back()), "a problem is no whitespace");
    const bool isOperator = span.size() == 1 && std::u16string_view(u"+-*/^").find(span[0])
                                                    != std::u16string_view::npos;
    const bool isNumber = isDigit(span.front()) || span.front() == u'.';
    if (got.code == u"1")
        fuzz::check(isName(span) || span.size() <= 2, "\"1\" is a name or a character");
    else if (got.code == u"3")
        fuzz::check(isOperator || isNumber, "\"3\" is an operator or a number");
    else if (got.code == u"4")
        fuzz::check(isName(span), "\"4\" is a function's name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Kept across inputs, as the window keeps its one evaluator: its buffers hold whatever the
    // inputs before left in them.
    static Reckoner reused;

    const std::u16string text = fuzz::utf16(data, size);
    const Outcome first = evaluate(reused, text);

    const std::u16string& code = first.code;
    fuzz::check(code.size() == 1 && code[0] >= u'0' && code[0] <= u'4', "code is \"0\" to \"4\"");
    if (code == u"0")
        fuzz::check(std::isfinite(first.result), "Result is finite after \"0\"");
    else
        fuzz::check(first.result == 0.0, "Result is 0 after a code other than \"0\"");
    checkProblem(text, first);

    fuzz::check(sameOutcome(first, evaluate(reused, text)), "the same outcome when run twice");
    Reckoner fresh;
    fuzz::check(sameOutcome(first, evaluate(fresh, text)), "a fresh instance agrees");
    return 0;
}
