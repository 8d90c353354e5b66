// ExpandVar against a literal transcription of the rewriting as it is defined: a scan from the
// last character to the first with a signed 16-bit position, replacing letters in place.

#include "eval/expand_var.h"

#include "fuzz_support.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace {

char16_t lower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Slow on purpose: every replacement moves the rest of the working copy.
std::optional<std::u16string> slowExpandVar(const std::u16string& oldString)
{
    if (oldString.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        return std::nullopt;  // the position counter would overflow
    const auto n = static_cast<std::int16_t>(oldString.size());
    std::u16string s = oldString;
    for (std::int16_t i = n; i >= 1; --i) {  // 1-based
        const char16_t c = lower(s[i - 1]);
        const auto replace = [&](std::u16string_view placeholder) {
            s.replace(static_cast<std::size_t>(i - 1), 1, placeholder);
        };
        if (c == u'x') {
            if (i != n && i != 1 && n >= 5) {
                const bool isExp = lower(s[i - 2]) == u'e' && lower(s[i - 1]) == u'x' &&
                                   lower(s[i]) == u'p';
                if (!isExp)
                    replace(u"varx");
            } else {
                replace(u"varx");
            }
        } else if (c == u'y') {
            replace(u"vary");
        } else if (c == u'z') {
            replace(u"varz");
        }
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text = fuzz::utf16(data, size);
    fuzz::check(ExpandVar(text) == slowExpandVar(text), "ExpandVar agrees with the scan");
    return 0;
}
