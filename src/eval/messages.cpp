#include "eval/messages.h"

#include "text/ascii_case.h"

#include <array>

namespace {

struct CodeRow
{
    Stage stage;
    std::u16string_view code;
    std::u16string_view message;
};

// The spacing inside these texts is part of them: "Syntax error:" and "Function error:" take
// two spaces, "Calculation error:" one.
constexpr std::array<CodeRow, 16> CodeMessages{{
    {Stage::Z, u"1", u"The formula for Z contains invalid symbols or functions, or no formula has been entered."},
    {Stage::Z, u"2", u"Syntax error:  a valid mathematical formula for Z has not been entered."},
    {Stage::Z, u"3", u"Calculation error: division by zero, or some other impossible operation in formula Z."},
    {Stage::Z, u"4", u"Function error:  a function in formula Z cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {Stage::Y, u"1", u"The formula for Y contains invalid symbols or functions, or no formula has been entered."},
    {Stage::Y, u"2", u"Syntax error:  a valid mathematical formula for Y has not been entered."},
    {Stage::Y, u"3", u"Calculation error: division by zero, or some other impossible operation in formula Y."},
    {Stage::Y, u"4", u"Function error:  a function in formula Y cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {Stage::X, u"1", u"The formula for X contains invalid symbols or functions, or no formula has been entered."},
    {Stage::X, u"2", u"Syntax error:  a valid mathematical formula for X has not been entered."},
    {Stage::X, u"3", u"Calculation error: division by zero, or some other impossible operation in formula X."},
    {Stage::X, u"4", u"Function error:  a function in formula X cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {Stage::Main, u"1", u"The formula contains invalid symbols or functions, or no formula has been entered."},
    {Stage::Main, u"2", u"Syntax error:  a valid mathematical formula has not been entered."},
    {Stage::Main, u"3", u"Calculation error: division by zero, or some other impossible operation."},
    {Stage::Main, u"4", u"Function error:  a function cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
}};

}  // namespace

std::u16string_view codeMessage(Stage stage, std::u16string_view code)
{
    for (const CodeRow& row : CodeMessages) {
        if (row.stage == stage && asciicase::equals(code, row.code))
            return row.message;
    }
    return {};
}

std::u16string_view tooLongMessage(Stage stage)
{
    switch (stage) {
    case Stage::Z:
        return u"The formula for Z is too long: a formula may have at most 32767 characters.";
    case Stage::Y:
        return u"The formula for Y is too long: a formula may have at most 32767 characters.";
    case Stage::X:
        return u"The formula for X is too long: a formula may have at most 32767 characters.";
    case Stage::Main:
        break;
    }
    return u"The formula is too long: a formula may have at most 32767 characters.";
}

std::u16string_view undefinedMessage(Stage variable, Stage user)
{
    switch (variable) {
    case Stage::Z:
        if (user == Stage::X)
            return u"Undefined reference to variable Z in formula for variable X";
        if (user == Stage::Y)
            return u"Undefined reference to variable Z in formula for variable Y";
        return u"Undefined reference to variable Z in the main formula.";
    case Stage::Y:
        if (user == Stage::X)
            return u"Undefined reference to variable Y in formula for variable X";
        return u"Undefined reference to variable Y in the main formula.";
    case Stage::X:
    case Stage::Main:
        break;
    }
    return u"Undefined reference to variable X in the main formula.";
}
