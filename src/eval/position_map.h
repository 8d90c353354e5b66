#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// One span of a source text replaced in the text made from it: source units [source,
// sourceEnd) became target units [target, targetEnd). Offsets are 0-based UTF-16 units; 32 bits
// hold them, as formula texts and what they become stay far below 4 Gi units.
struct Edit
{
    std::uint32_t source;
    std::uint32_t sourceEnd;
    std::uint32_t target;
    std::uint32_t targetEnd;
};

// A 0-based offset and a count of UTF-16 units; a count of 0 marks a place between units.
struct Span
{
    std::size_t start;
    std::size_t length;
};

// The span of the source text that `span` of the made text came from. `edits` are every edit
// made, in order, none overlapping; `span` lies inside the made text. A span that touches an
// edit's target covers that edit's whole source; an empty span maps to a place.
Span mapBack(std::span<const Edit> edits, Span span);
