#pragma once

#include <streambuf>
#include <string>
#include <string_view>

struct BatchResult
{
    bool allSucceeded;    // every line was a request and its evaluation succeeded
    bool isOutputBroken;  // the output refused bytes, so the run stopped early
};

// Answers each line of `in` (JSON Lines requests, a CR before the line feed dropped) with one
// JSON line on `out`, in input order, on `jobs` threads; with one job on the calling thread
// alone. Holds a bounded number of lines at a time, so a slow reader of `out` holds up the
// reading of `in` instead of growing memory. What is answered is flushed whenever no more input
// is ready, so a line typed at a terminal is answered at once.
BatchResult runBatch(std::streambuf& in, std::streambuf& out, char16_t decimalPoint,
                     unsigned jobs);

// The lines of a stream in chunks of whole lines, for runBatch.
class ChunkReader
{
public:
    // About how many bytes a chunk holds when more input is ready; a longer line is whole.
    static constexpr std::size_t ChunkBytes = 1 << 16;

    explicit ChunkReader(std::streambuf& in) : m_in(in) {}

    // Replaces `chunk` with the next whole lines: up to about ChunkBytes, fewer when no more
    // input is ready yet. The last line of the input may lack its line feed. False at the end.
    bool next(std::string& chunk);

    // Whether more input can be read without waiting for it.
    bool isReady();

private:
    std::streambuf& m_in;
    std::string m_carry;  // the start of a line that the last chunk did not reach the end of
    bool m_isAtEnd = false;
};
