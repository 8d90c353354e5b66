#include "l10n/plural_rule.h"

#include <cctype>
#include <stdexcept>
#include <string>

struct PluralRule::Node
{
    enum Kind { Number, N, Not, Binary, Choice };

    explicit Node(Kind k) : kind(k) {}

    Kind kind;
    unsigned long value = 0;
    std::string op;  // of a Binary node
    std::unique_ptr<Node> a, b, c;
};

namespace {

using Node = PluralRule::Node;

// Recursive descent in C's precedence order; depth is bounded by the expression's length,
// which a catalog header keeps short.
class Parser
{
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::unique_ptr<Node> whole()
    {
        auto node = choice();
        skipSpaces();
        if (m_at != m_text.size())
            fail();
        return node;
    }

private:
    std::unique_ptr<Node> choice()
    {
        auto condition = binary(0);
        if (!take("?"))
            return condition;
        auto node = std::make_unique<Node>(Node::Choice);
        node->a = std::move(condition);
        node->b = choice();
        if (!take(":"))
            fail();
        node->c = choice();
        return node;
    }

    // Operators by rising precedence; each level's operators are tried longest first.
    static constexpr std::string_view Levels[][4] = {
        {"||"}, {"&&"}, {"==", "!="}, {"<=", ">=", "<", ">"}, {"+", "-"}, {"*", "/", "%"},
    };
    static constexpr int LevelCount = 6;

    std::unique_ptr<Node> binary(int level)
    {
        if (level == LevelCount)
            return unary();
        auto left = binary(level + 1);
        for (;;) {
            std::string_view found;
            for (const std::string_view op : Levels[level]) {
                if (!op.empty() && take(op)) {
                    found = op;
                    break;
                }
            }
            if (found.empty())
                return left;
            auto node = std::make_unique<Node>(Node::Binary);
            node->op = found;
            node->a = std::move(left);
            node->b = binary(level + 1);
            left = std::move(node);
        }
    }

    std::unique_ptr<Node> unary()
    {
        skipSpaces();
        if (m_at < m_text.size() && m_text[m_at] == '!' &&
            (m_at + 1 == m_text.size() || m_text[m_at + 1] != '=')) {
            ++m_at;
            auto node = std::make_unique<Node>(Node::Not);
            node->a = unary();
            return node;
        }
        if (take("(")) {
            auto inner = choice();
            if (!take(")"))
                fail();
            return inner;
        }
        if (take("n"))
            return std::make_unique<Node>(Node::N);
        if (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) {
            auto node = std::make_unique<Node>(Node::Number);
            while (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at]))) {
                if (node->value > 1'000'000'000)
                    fail();
                node->value = node->value * 10 + static_cast<unsigned long>(m_text[m_at++] - '0');
            }
            return node;
        }
        fail();
    }

    bool take(std::string_view token)
    {
        skipSpaces();
        if (m_text.substr(m_at, token.size()) != token)
            return false;
        m_at += token.size();
        return true;
    }

    void skipSpaces()
    {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
    }

    [[noreturn]] void fail() const
    {
        throw std::invalid_argument("unreadable plural expression: " + std::string(m_text));
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

unsigned long evaluate(const Node& node, unsigned long n)
{
    switch (node.kind) {
    case Node::Number:
        return node.value;
    case Node::N:
        return n;
    case Node::Not:
        return evaluate(*node.a, n) == 0;
    case Node::Choice:
        return evaluate(*node.a, n) != 0 ? evaluate(*node.b, n) : evaluate(*node.c, n);
    case Node::Binary:
        break;
    }
    const unsigned long a = evaluate(*node.a, n);
    const unsigned long b = evaluate(*node.b, n);
    const std::string& op = node.op;
    if (op == "||")
        return a != 0 || b != 0;
    if (op == "&&")
        return a != 0 && b != 0;
    if (op == "==")
        return a == b;
    if (op == "!=")
        return a != b;
    if (op == "<=")
        return a <= b;
    if (op == ">=")
        return a >= b;
    if (op == "<")
        return a < b;
    if (op == ">")
        return a > b;
    if (op == "+")
        return a + b;
    if (op == "-")
        return a - b;
    if (op == "*")
        return a * b;
    // gettext's own evaluator answers a division by zero with a signal; the first form is safer
    if (b == 0)
        return 0;
    return op == "/" ? a / b : a % b;
}

}  // namespace

PluralRule::PluralRule() : PluralRule("n != 1") {}

PluralRule::PluralRule(std::string_view expression) : m_root(Parser(expression).whole()) {}

PluralRule::~PluralRule() = default;
PluralRule::PluralRule(PluralRule&&) noexcept = default;
PluralRule& PluralRule::operator=(PluralRule&&) noexcept = default;

unsigned long PluralRule::operator()(unsigned long n) const
{
    return evaluate(*m_root, n);
}
