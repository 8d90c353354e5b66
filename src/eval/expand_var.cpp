#include "eval/expand_var.h"

#include "eval/limits.h"
#include "reckoner/ascii_case.h"

std::optional<std::u16string> ExpandVar(std::u16string_view OldString)
{
    const std::size_t n = OldString.size();
    if (n > MaxFormulaLength)
        return std::nullopt;

    // One pass from the start gives what a right-to-left scan with in-place insertion gives:
    // the "exp" look-ahead only ever sees a 'p', which rewriting never touches.
    std::u16string s;
    s.reserve(n + 8);
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = asciicase::fold(OldString[i]);
        if (c == u'x') {
            const bool insideExp = n >= 5 && i > 0 && i + 1 < n
                                   && asciicase::fold(OldString[i - 1]) == u'e'
                                   && asciicase::fold(OldString[i + 1]) == u'p';
            s.append(insideExp ? std::u16string_view(&OldString[i], 1) : u"varx");
        } else if (c == u'y') {
            s.append(u"vary");
        } else if (c == u'z') {
            s.append(u"varz");
        } else {
            s.push_back(OldString[i]);
        }
    }
    return s;
}
