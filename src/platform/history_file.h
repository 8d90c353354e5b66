#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// The file that keeps the history, shared by every Sumwright process of the user. Appends and
// rewrites of all processes take turns under one lock. Each call throws PlatformError with a
// message for the user ("The history could not be read: …") when the system refuses it.
class HistoryFile
{
public:
    // What a rewrite leaves: the new content, and the lines it dropped as damaged.
    struct Rewrite
    {
        std::string kept;
        std::string damaged;
    };

    virtual ~HistoryFile() = default;
    // The whole file; empty when there is none. Takes no lock and never creates anything, so a
    // line being appended at that moment may come cut short. Throws, without reading, for a
    // file of more than `limit` bytes or anything but a file in its place.
    virtual std::string read(std::size_t limit) = 0;
    // Adds `bytes` at the end with one write, creating the file and its folder when missing.
    // Returns the file's size after it.
    virtual std::uint64_t append(std::string_view bytes) = 0;
    // Under the exclusive lock: reads the file as read() does, hands it to `edit`, then keeps
    // its damaged bytes, if any, in the first free "<file>.damaged" or "<file>.damaged.N" and
    // replaces the file at once with its kept bytes. Nothing changes when `edit` throws.
    virtual void rewrite(std::size_t limit, const std::function<Rewrite(std::string_view)>& edit)
        = 0;
};
