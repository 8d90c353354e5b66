#pragma once

#include "platform/evaluator.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Records what the sequence asks of its evaluator, and answers from a script keyed by the
// formula text (unscripted texts give "0" and 1).
class FakeEvaluator final : public Evaluator
{
public:
    struct Answer
    {
        std::u16string code;
        double value;
        std::size_t start = 0;
        std::size_t length = 0;
    };
    std::map<std::u16string, Answer> script;
    std::vector<std::u16string> calls;
    int problemReads = 0;  // kept apart from `calls`: only some runs read the problem

    void setExpression(std::u16string_view text) override
    {
        m_text.assign(text);
        calls.push_back(u"Expression=" + m_text);
    }
    void Calculate() override
    {
        calls.push_back(u"Calculate");
        const auto found = script.find(m_text);
        m_answer = found == script.end() ? Answer{u"0", 1.0} : found->second;
    }
    std::u16string ErrorCode() override
    {
        calls.push_back(u"ErrorCode");
        return m_answer.code;
    }
    double Result() override
    {
        calls.push_back(u"Result");
        return m_answer.value;
    }
    std::size_t ErrorPosition() override
    {
        ++problemReads;
        return m_answer.start;
    }
    std::size_t ErrorLength() override
    {
        ++problemReads;
        return m_answer.length;
    }

private:
    std::u16string m_text;
    Answer m_answer{u"0", 0.0};
};
