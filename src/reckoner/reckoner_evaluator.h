#pragma once

#include "platform/evaluator.h"
#include "reckoner/reckoner.h"

#include <cstddef>
#include <string>
#include <string_view>

// The Reckoner behind the evaluator interface, as the programs hand it to the sequence.
class ReckonerEvaluator final : public Evaluator
{
public:
    void setExpression(std::u16string_view text) override { m_reckoner.setExpression(text); }
    void Calculate() override { m_reckoner.Calculate(); }
    std::u16string ErrorCode() override { return m_reckoner.ErrorCode(); }
    double Result() override { return m_reckoner.Result(); }
    std::size_t ErrorPosition() override { return m_reckoner.ErrorPosition(); }
    std::size_t ErrorLength() override { return m_reckoner.ErrorLength(); }

private:
    Reckoner m_reckoner;
};
