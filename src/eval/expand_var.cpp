#include "eval/expand_var.h"

#include "eval/limits.h"
#include "text/ascii_case.h"

#include <algorithm>

namespace {

constexpr std::u16string_view PlaceholderPrefix = u"var";

// Whether the letter at 0-based index `i` becomes a placeholder: an x, y or z, unless it is an x
// in the middle of "exp" strictly inside a text of five units or more.
inline bool isRewritten(std::u16string_view text, std::size_t i)
{
    const char16_t c = asciicase::fold(text[i]);
    if (c == u'y' || c == u'z')
        return true;
    if (c != u'x')
        return false;
    return !(text.size() >= 5 && i > 0 && i + 1 < text.size()
             && asciicase::fold(text[i - 1]) == u'e' && asciicase::fold(text[i + 1]) == u'p');
}

// Appends an edit per placeholder to `edits` when recording; the plain form is left with
// nothing to test per letter.
template <bool IsRecording>
std::optional<std::u16string> expand(std::u16string_view OldString, std::vector<Edit>* edits)
{
    const std::size_t n = OldString.size();
    if (n > MaxFormulaLength)
        return std::nullopt;

    // Reading from the start gives what a right-to-left scan with in-place insertion gives:
    // the "exp" look-ahead only ever sees a 'p', which rewriting never touches. Counting first
    // sizes the result exactly, so it is written without growing.
    std::size_t rewritten = 0;
    for (std::size_t i = 0; i < n; ++i)
        rewritten += isRewritten(OldString, i);
    std::u16string s(n + PlaceholderPrefix.size() * rewritten, u'\0');
    char16_t* const begin = s.data();
    char16_t* out = begin;
    for (std::size_t i = 0; i < n; ++i) {
        if (isRewritten(OldString, i)) {
            if constexpr (IsRecording) {
                // every offset fits: the result holds at most four times MaxFormulaLength units
                const auto target = static_cast<std::uint32_t>(out - begin);
                const auto source = static_cast<std::uint32_t>(i);
                edits->push_back({source, source + 1, target, target + 4});
            }
            out = std::copy(PlaceholderPrefix.begin(), PlaceholderPrefix.end(), out);
            *out++ = asciicase::fold(OldString[i]);  // placeholders are lower case
        } else {
            *out++ = OldString[i];
        }
    }
    return s;
}

}  // namespace

std::optional<std::u16string> ExpandVar(std::u16string_view OldString)
{
    return expand<false>(OldString, nullptr);
}

std::optional<std::u16string> ExpandVar(std::u16string_view OldString, std::vector<Edit>& edits)
{
    return expand<true>(OldString, &edits);
}
