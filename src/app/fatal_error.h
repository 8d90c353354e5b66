#pragma once

#include "platform/message_box.h"

#include <exception>
#include <string>

// The one place that handles an exception which reached the event loop: it tells the user and
// ends the program. After the first report, further exceptions are not shown again.
class FatalErrorHandler
{
public:
    explicit FatalErrorHandler(MessageBox& messageBox);

    // Runs `deliver`; an exception escaping it is reported, and the result is then false.
    template <class Deliver>
    bool guard(Deliver&& deliver)
    {
        try {
            return deliver();
        } catch (const std::exception& error) {
            report(error.what());
        } catch (...) {
            report("An unknown error occurred.");
        }
        return false;
    }

    // Shows `what` in a message box and asks the event loop to end with a failure status.
    void report(const std::string& what);

private:
    MessageBox& m_messageBox;
    bool m_isEnding = false;
};
