// Any text into the evaluator: a code "0" to "4", a finite Result after "0", and the same
// outcome again, whether the instance has evaluated other formulas before or none.

#include "reckoner/reckoner.h"

#include "fuzz_support.h"

#include <cmath>
#include <cstring>

namespace {

struct Outcome
{
    std::u16string code;
    double result;
};

Outcome evaluate(Reckoner& reckoner, const std::u16string& text)
{
    reckoner.setExpression(text);
    reckoner.Calculate();
    fuzz::check(reckoner.Expression() == text, "Expression keeps the text as written");
    return {reckoner.ErrorCode(), reckoner.Result()};
}

bool sameOutcome(const Outcome& a, const Outcome& b)
{
    // bit for bit: a value that drifts between runs is a fault even when it compares equal
    return a.code == b.code && std::memcmp(&a.result, &b.result, sizeof a.result) == 0;
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

    fuzz::check(sameOutcome(first, evaluate(reused, text)), "the same outcome when run twice");
    Reckoner fresh;
    fuzz::check(sameOutcome(first, evaluate(fresh, text)), "a fresh instance agrees");
    return 0;
}
