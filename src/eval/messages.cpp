#include "eval/messages.h"

namespace {

// By stage (Z, Y, X, Main), then code 1 to 4. The spacing inside these texts is part of them:
// "Syntax error:" and "Function error:" take two spaces, "Calculation error:" one.
constexpr std::u16string_view CodeMessages[4][4] = {
    {u"The formula for Z contains invalid symbols or functions, or no formula has been entered.",
     u"Syntax error:  a valid mathematical formula for Z has not been entered.",
     u"Calculation error: division by zero, or some other impossible operation in formula Z.",
     u"Function error:  a function in formula Z cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {u"The formula for Y contains invalid symbols or functions, or no formula has been entered.",
     u"Syntax error:  a valid mathematical formula for Y has not been entered.",
     u"Calculation error: division by zero, or some other impossible operation in formula Y.",
     u"Function error:  a function in formula Y cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {u"The formula for X contains invalid symbols or functions, or no formula has been entered.",
     u"Syntax error:  a valid mathematical formula for X has not been entered.",
     u"Calculation error: division by zero, or some other impossible operation in formula X.",
     u"Function error:  a function in formula X cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
    {u"The formula contains invalid symbols or functions, or no formula has been entered.",
     u"Syntax error:  a valid mathematical formula has not been entered.",
     u"Calculation error: division by zero, or some other impossible operation.",
     u"Function error:  a function cannot be evaluated because it has invalid parameters, or the wrong number of parameters."},
};

}  // namespace

std::u16string_view codeMessage(Stage stage, int code)
{
    if (code < 1 || code > 4)
        return {};
    return CodeMessages[static_cast<int>(stage)][code - 1];
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
