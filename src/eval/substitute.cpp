#include "eval/substitute.h"

#include "reckoner/ascii_case.h"

void substitute(std::u16string& text, std::u16string_view placeholder, std::u16string_view value)
{
    std::size_t found = asciicase::find(text, placeholder);
    if (found == std::u16string::npos)
        return;
    std::u16string out;
    out.reserve(text.size() + value.size() * 4);
    std::size_t copied = 0;
    while (found != std::u16string::npos) {
        out.append(text, copied, found - copied);
        out.append(value);
        copied = found + placeholder.size();
        found = asciicase::find(text, placeholder, copied);
    }
    out.append(text, copied, std::u16string::npos);
    text = std::move(out);
}

bool containsPlaceholder(std::u16string_view text, std::u16string_view placeholder)
{
    return asciicase::find(text, placeholder) != std::u16string_view::npos;
}
