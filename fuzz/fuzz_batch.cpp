// sumwright-cli --batch on any bytes as its standard input: every line gets exactly one
// answer line, a JSON object of either kind, and nothing crashes. The shortcut for the common
// request agrees with the JSON parser on every line, and several jobs, reading lines in parts
// and holding few units of a formula as for a line of a hundred megabytes, write what one job
// writes: an over-long line that is no request is answered, in parts, as the parser answers it.

#include "cli/batch.h"
#include "cli/batch_request.h"

#include "fuzz_support.h"
#include "support/trickling_input.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The lines the batch reads: split at line feeds, a CR before one dropped, the last line only
// when it holds something.
std::size_t checkLines(std::string_view input)
{
    std::size_t lines = 0;
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        std::string_view line = input.substr(0, end);
        input.remove_prefix(std::min(end + 1, input.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        Formulas shortcut;
        Formulas parsed;
        fuzz::check(readRequest(line, shortcut) == parseRequest(line, parsed),
                    "the shortcut gives the parser's problem");
        fuzz::check(shortcut.main == parsed.main && shortcut.x == parsed.x
                        && shortcut.y == parsed.y && shortcut.z == parsed.z,
                    "the shortcut reads the parser's formulas");
        ++lines;
    }
    return lines;
}

std::string answers(const std::string& input, unsigned jobs, const BatchLimits& limits = {})
{
    TricklingInput in(input, {7});  // every long line read in parts
    std::stringbuf out;
    const BatchResult result = runBatch(in, out, u'.', jobs, limits);
    fuzz::check(!result.isOutputBroken, "a string takes every answer");
    return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lines = checkLines(input);
    const std::string out = answers(input, 1);
    std::string_view rest = out;
    std::size_t answered = 0;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        fuzz::check(end != std::string_view::npos, "every answer ends with a line feed");
        const std::string_view answer = rest.substr(0, end);
        fuzz::check(answer.starts_with(R"({"main":)") || answer.starts_with(R"({"error":)"),
                    "an answer is a result or an error");
        fuzz::check(answer.ends_with("}") && answer.find_first_of("\r\n") == answer.npos,
                    "an answer is one JSON object on one line");
        rest.remove_prefix(end + 1);
        ++answered;
    }
    fuzz::check(answered == lines, "one answer for each line");
    const BatchLimits small{32, 6};
    fuzz::check(answers(input, 1, small) == out, "a line read in parts is answered as a whole");
    // a quarter of the inputs, to keep the rate up: threads cost more than short inputs do
    if (size % 4 == 0)
        fuzz::check(answers(input, 3, small) == out, "three jobs answer as one does");
    return 0;
}
