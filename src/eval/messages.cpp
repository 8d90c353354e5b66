#include "eval/messages.h"

#include "text/translatable.h"

namespace {

// By stage (Z, Y, X, Main), then code 1 to 4. The spacing inside these texts is part of them:
// "Syntax error:" and "Function error:" take two spaces, "Calculation error:" one.
constexpr std::u16string_view CodeMessages[4][4] = {
    {N_(u"The formula for Z contains invalid symbols or functions, or no formula has been entered."),
     N_(u"Syntax error:  a valid mathematical formula for Z has not been entered."),
     N_(u"Calculation error: division by zero, or some other impossible operation in formula Z."),
     N_(u"Function error:  a function in formula Z cannot be evaluated because it has invalid parameters, or the wrong number of parameters.")},
    {N_(u"The formula for Y contains invalid symbols or functions, or no formula has been entered."),
     N_(u"Syntax error:  a valid mathematical formula for Y has not been entered."),
     N_(u"Calculation error: division by zero, or some other impossible operation in formula Y."),
     N_(u"Function error:  a function in formula Y cannot be evaluated because it has invalid parameters, or the wrong number of parameters.")},
    {N_(u"The formula for X contains invalid symbols or functions, or no formula has been entered."),
     N_(u"Syntax error:  a valid mathematical formula for X has not been entered."),
     N_(u"Calculation error: division by zero, or some other impossible operation in formula X."),
     N_(u"Function error:  a function in formula X cannot be evaluated because it has invalid parameters, or the wrong number of parameters.")},
    {N_(u"The formula contains invalid symbols or functions, or no formula has been entered."),
     N_(u"Syntax error:  a valid mathematical formula has not been entered."),
     N_(u"Calculation error: division by zero, or some other impossible operation."),
     N_(u"Function error:  a function cannot be evaluated because it has invalid parameters, or the wrong number of parameters.")},
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
        return N_(u"The formula for Z is too long: a formula may have at most 32767 characters.");
    case Stage::Y:
        return N_(u"The formula for Y is too long: a formula may have at most 32767 characters.");
    case Stage::X:
        return N_(u"The formula for X is too long: a formula may have at most 32767 characters.");
    case Stage::Main:
        break;
    }
    return N_(u"The formula is too long: a formula may have at most 32767 characters.");
}

std::u16string_view undefinedMessage(Stage variable, Stage user)
{
    switch (variable) {
    case Stage::Z:
        if (user == Stage::X)
            return N_(u"Undefined reference to variable Z in formula for variable X");
        if (user == Stage::Y)
            return N_(u"Undefined reference to variable Z in formula for variable Y");
        return N_(u"Undefined reference to variable Z in the main formula.");
    case Stage::Y:
        if (user == Stage::X)
            return N_(u"Undefined reference to variable Y in formula for variable X");
        return N_(u"Undefined reference to variable Y in the main formula.");
    case Stage::X:
    case Stage::Main:
        break;
    }
    return N_(u"Undefined reference to variable X in the main formula.");
}
