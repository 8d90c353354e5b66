#include "eval/substitute.h"

#include "text/ascii_case.h"

namespace {

struct Match
{
    std::size_t position;  // npos when there is none
    const Replacement* replacement;
};

Match nextMatch(std::u16string_view text, std::size_t from,
                std::span<const Replacement> replacements)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        const char16_t c = asciicase::fold(text[i]);
        for (const Replacement& r : replacements) {
            if (c == r.placeholder[0]
                && asciicase::equals(text.substr(i, r.placeholder.size()), r.placeholder)) {
                return {i, &r};
            }
        }
    }
    return {std::u16string_view::npos, nullptr};
}

// Appends an edit per replacement to `edits` when recording.
template <bool IsRecording>
void replaceAll(std::u16string& text, std::span<const Replacement> replacements,
                std::vector<Edit>* edits)
{
    // Sized first, so that a text that grows a lot is written once and never moved.
    std::size_t size = text.size();
    bool isFound = false;
    for (Match m = nextMatch(text, 0, replacements); m.replacement != nullptr;
         m = nextMatch(text, m.position + m.replacement->placeholder.size(), replacements)) {
        size = size - m.replacement->placeholder.size() + m.replacement->value.size();
        isFound = true;
    }
    if (!isFound)
        return;

    std::u16string out;
    out.reserve(size);
    std::size_t copied = 0;
    for (Match m = nextMatch(text, 0, replacements); m.replacement != nullptr;
         m = nextMatch(text, copied, replacements)) {
        out.append(text, copied, m.position - copied);
        const std::size_t target = out.size();
        out.append(m.replacement->value);
        copied = m.position + m.replacement->placeholder.size();
        if constexpr (IsRecording) {
            edits->push_back({static_cast<std::uint32_t>(m.position),
                              static_cast<std::uint32_t>(copied),
                              static_cast<std::uint32_t>(target),
                              static_cast<std::uint32_t>(out.size())});
        }
    }
    out.append(text, copied, std::u16string::npos);
    text = std::move(out);
}

}  // namespace

void substitute(std::u16string& text, std::span<const Replacement> replacements)
{
    replaceAll<false>(text, replacements, nullptr);
}

void substitute(std::u16string& text, std::span<const Replacement> replacements,
                std::vector<Edit>& edits)
{
    replaceAll<true>(text, replacements, &edits);
}

bool containsPlaceholder(std::u16string_view text, std::u16string_view placeholder)
{
    return asciicase::find(text, placeholder) != std::u16string_view::npos;
}
