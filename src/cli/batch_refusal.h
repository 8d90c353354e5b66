#pragma once

#include <cstddef>
#include <optional>
#include <streambuf>
#include <string>

// A line too long to be held whole, read from its start as often as needed.
class LineSource
{
public:
    virtual ~LineSource() = default;

    // Its length in bytes.
    virtual std::size_t size() const = 0;

    // Starts reading again at byte `offset` (0-based).
    virtual void seek(std::size_t offset) = 0;

    // Replaces `bytes` with the next bytes, up to `most`; empty at the end of the line.
    virtual void read(std::string& bytes, std::size_t most) = 0;
};

// Why a line is no request: the text readRequest gives, as a head, a stretch of the line and a
// tail, so that the stretch, which may be as long as the line, is never held.
struct Refusal
{
    enum class Stretch
    {
        None,
        Token,  // as the JSON parser quotes the last bytes it read
        Key,    // the decoded text of an object key
    };

    std::string head;  // UTF-8
    Stretch stretch = Stretch::None;
    std::size_t begin = 0;  // 0-based bytes of the line, begin inclusive
    std::size_t end = 0;
    std::string tail;
};

// The problem readRequest finds in the line, found in bounded memory; none when the line is a
// request after all.
std::optional<Refusal> findRefusal(LineSource& line);

// Writes readRequest's answer line for the refusal, its line feed included, to `out`, reading
// the stretch from the line in parts. False when `out` refuses bytes.
bool writeRefusal(const Refusal& refusal, LineSource& line, std::streambuf& out);
