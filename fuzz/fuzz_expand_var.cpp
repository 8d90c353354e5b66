// ExpandVar against a literal transcription of the rewriting as it is defined: a scan from the
// last character to the first with a signed 16-bit position, replacing letters in place. The
// form that records edits gives the same text, and its edits rebuild that text.

#include "eval/expand_var.h"

#include "fuzz_support.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

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

// Whether `edits` tell how `rewritten` was made from `text`: each one a letter that became its
// placeholder, and every unit between them copied.
bool editsRebuild(const std::u16string& text, const std::u16string& rewritten,
                  const std::vector<Edit>& edits)
{
    std::u16string rebuilt;
    std::size_t copied = 0;
    for (const Edit& e : edits) {
        if (e.source < copied || e.sourceEnd != e.source + 1 || e.source >= text.size()
            || e.target != rebuilt.size() + (e.source - copied) || e.targetEnd != e.target + 4)
            return false;
        rebuilt.append(text, copied, e.source - copied);
        rebuilt += u"var";
        rebuilt += lower(text[e.source]);
        copied = e.sourceEnd;
    }
    rebuilt.append(text, copied);
    return rebuilt == rewritten;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::u16string text = fuzz::utf16(data, size);
    const std::optional<std::u16string> rewritten = ExpandVar(text);
    fuzz::check(rewritten == slowExpandVar(text), "ExpandVar agrees with the scan");

    std::vector<Edit> edits;
    fuzz::check(ExpandVar(text, edits) == rewritten, "recording edits changes nothing");
    fuzz::check(rewritten ? editsRebuild(text, *rewritten, edits) : edits.empty(),
                "the edits rebuild the rewritten text");
    return 0;
}
