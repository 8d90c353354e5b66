#pragma once

#include <memory>
#include <string_view>

// A catalog's "plural=" expression, the C subset that gettext catalogs use: n, decimal numbers,
// ! * / % + - < > <= >= == != && || ?: and parentheses. English's rule when none is given.
class PluralRule
{
public:
    PluralRule();
    // Throws std::invalid_argument for an expression outside that subset.
    explicit PluralRule(std::string_view expression);
    ~PluralRule();
    PluralRule(PluralRule&&) noexcept;
    PluralRule& operator=(PluralRule&&) noexcept;

    // Which of the catalog's plural forms `n` takes.
    unsigned long operator()(unsigned long n) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};
