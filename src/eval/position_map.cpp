#include "eval/position_map.h"

#include <algorithm>

namespace {

// The first edit that ends after target unit `t`, or the end.
const Edit* editAfter(std::span<const Edit> edits, std::size_t t)
{
    return std::upper_bound(edits.data(), edits.data() + edits.size(), t,
                            [](std::size_t unit, const Edit& e) { return unit < e.targetEnd; });
}

// The source offset of target offset `t`: the start of the edit's source when `t` lies inside
// an edit, else shifted by what the edits before it added or removed.
std::size_t sourceOffset(std::span<const Edit> edits, std::size_t t)
{
    const Edit* const next = editAfter(edits, t);
    if (next != edits.data() + edits.size() && next->target <= t)
        return next->source;
    if (next == edits.data())
        return t;
    const Edit& previous = next[-1];
    return previous.sourceEnd + (t - previous.targetEnd);
}

}  // namespace

Span mapBack(std::span<const Edit> edits, Span span)
{
    const std::size_t start = sourceOffset(edits, span.start);
    if (span.length == 0)
        return {start, 0};
    const std::size_t last = span.start + span.length - 1;
    const Edit* const covering = editAfter(edits, last);
    const bool isInside =
        covering != edits.data() + edits.size() && covering->target <= last;
    const std::size_t end = isInside ? covering->sourceEnd : sourceOffset(edits, last) + 1;
    return {start, end - start};
}
