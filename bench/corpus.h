#pragma once

#include <string>
#include <vector>

struct Formula
{
    std::string utf8;     // as read, for parsers of narrow text
    std::u16string text;  // the same formula in UTF-16
};

// One formula per line of a UTF-8 file; blank lines are skipped and a CR before the line feed
// is dropped. `isReadable` tells an unreadable file from an empty one.
std::vector<Formula> readCorpus(const std::string& path, bool& isReadable);

// `terms` copies of `term` joined by '+'.
std::string joinedSum(const std::string& term, std::size_t terms);

std::u16string widened(const std::string& ascii);
