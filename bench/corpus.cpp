#include "corpus.h"

#include <fstream>

namespace {

// Malformed sequences become U+FFFD, which the evaluator rejects like any unknown character.
std::u16string fromUtf8(const std::string& bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = lead < 0x80   ? 0
                          : lead >= 0xF0 ? 3
                          : lead >= 0xE0 ? 2
                          : lead >= 0xC0 ? 1
                                         : -1;  // a continuation byte cannot start a character
        char32_t code = lead & (0x7F >> (extra > 0 ? extra + 1 : 0));
        bool isValid = extra >= 0 && i + extra < bytes.size();
        for (int k = 1; isValid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            isValid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!isValid || code > 0x10FFFF) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        i += static_cast<std::size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

}  // namespace

std::vector<Formula> readCorpus(const std::string& path, bool& isReadable)
{
    std::ifstream in(path, std::ios::binary);
    isReadable = static_cast<bool>(in);
    std::vector<Formula> corpus;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        corpus.push_back({line, fromUtf8(line)});
    }
    return corpus;
}

std::string joinedSum(const std::string& term, std::size_t terms)
{
    std::string out;
    out.reserve(terms * (term.size() + 1));
    for (std::size_t i = 0; i < terms; ++i) {
        if (i > 0)
            out.push_back('+');
        out.append(term);
    }
    return out;
}

std::u16string widened(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}
