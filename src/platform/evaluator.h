#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// What the evaluation sequence needs of a formula evaluator: the four members of the evaluator
// component, and where its problem lies.
class Evaluator
{
public:
    virtual ~Evaluator() = default;
    virtual void setExpression(std::u16string_view text) = 0;
    virtual void Calculate() = 0;
    virtual std::u16string ErrorCode() = 0;  // "0" to "4"
    virtual double Result() = 0;             // meaningful after "0" only
    // 0-based offset and count of UTF-16 units in the text calculated, read after "1" to "4"
    // only; the sequence keeps whatever they say inside that text.
    virtual std::size_t ErrorPosition() = 0;
    virtual std::size_t ErrorLength() = 0;
};
