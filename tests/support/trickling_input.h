#pragma once

#include <algorithm>
#include <cstddef>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

// Hands out its text in pieces of the given sizes, in turn, as a pipe does: what is ready is
// the rest of the current piece.
class TricklingInput final : public std::streambuf
{
public:
    TricklingInput(std::string text, std::vector<std::size_t> pieces)
        : m_text(std::move(text)), m_pieces(std::move(pieces))
    {
        setg(m_text.data(), m_text.data(), m_text.data());
    }

protected:
    int_type underflow() override
    {
        char* const end = m_text.data() + m_text.size();
        if (egptr() == end)
            return traits_type::eof();
        const std::size_t piece = m_pieces[m_next++ % m_pieces.size()];
        setg(egptr(), egptr(), egptr() + std::min<std::size_t>(piece, end - egptr()));
        return traits_type::to_int_type(*gptr());
    }

private:
    std::string m_text;
    std::vector<std::size_t> m_pieces;
    std::size_t m_next = 0;
};
