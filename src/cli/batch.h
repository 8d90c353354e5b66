#pragma once

#include <streambuf>
#include <string>
#include <string_view>

// Where the batch stops holding a line whole; tests make them small.
struct BatchLimits
{
    std::size_t longLineBytes = 1 << 20;  // a longer line is read in parts
    std::size_t heldUnits = 1 << 18;      // of a formula in such a line, see RequestScanner
};

struct BatchResult
{
    bool allSucceeded;    // every line was a request and its evaluation succeeded
    bool isOutputBroken;  // the output refused bytes, so the run stopped early
};

// Answers each line of `in` (JSON Lines requests, a CR before the line feed dropped) with one
// JSON line on `out`, in input order, on `jobs` threads; with one job on the calling thread
// alone. Holds a bounded number of lines at a time, so a slow reader of `out` holds up the
// reading of `in` instead of growing memory. A line longer than limits.longLineBytes is read in
// parts and answered without holding it whole, from a copy in a temporary file when it is no
// request. What is answered is flushed whenever no more input is ready, so a line typed
// at a terminal is answered at once.
BatchResult runBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint,
                     unsigned jobs, const BatchLimits& limits = {});

// The lines of a stream in chunks of whole lines, for runBatch.
class ChunkReader
{
public:
    // About how many bytes a chunk holds when more input is ready; a longer line is whole.
    static constexpr std::size_t ChunkBytes = 1 << 16;

    explicit ChunkReader(std::streambuf& in,
                         std::size_t longLineBytes = BatchLimits().longLineBytes)
        : m_in(in), m_longLineBytes(longLineBytes)
    {
    }

    // Replaces `chunk` with the next whole lines: up to about ChunkBytes, fewer when no more
    // input is ready yet. The last line of the input may lack its line feed. False at the end.
    // A line of longLineBytes or more comes alone, and then only its start: see isLongLine().
    bool next(std::string& chunk);

    // Whether the last chunk is the start of a long line, whose rest nextPart() gives.
    bool isLongLine() const { return m_isLongLine; }

    // Replaces `part` with more of the long line, as much as is ready; false with its last
    // part, the line feed dropped.
    bool nextPart(std::string& part);

    // Whether more input can be read without waiting for it.
    bool isReady();

private:
    std::size_t readReady(std::string& bytes);

    std::streambuf& m_in;
    std::size_t m_longLineBytes;
    std::string m_carry;  // the start of a line that the last chunk did not reach the end of
    bool m_isAtEnd = false;
    bool m_isLongLine = false;
};
