#pragma once

#include "reckoner/reckoner.h"

#include <string>
#include <string_view>

// What the evaluation sequence needs of a formula evaluator: the four members of Reckoner.
class Evaluator
{
public:
    virtual ~Evaluator() = default;
    virtual void setExpression(std::u16string_view text) = 0;
    virtual void Calculate() = 0;
    virtual std::u16string ErrorCode() = 0;  // "0" to "4"
    virtual double Result() = 0;             // meaningful after "0" only
};

class ReckonerEvaluator final : public Evaluator
{
public:
    void setExpression(std::u16string_view text) override { m_reckoner.setExpression(text); }
    void Calculate() override { m_reckoner.Calculate(); }
    std::u16string ErrorCode() override { return m_reckoner.ErrorCode(); }
    double Result() override { return m_reckoner.Result(); }

private:
    Reckoner m_reckoner;
};
