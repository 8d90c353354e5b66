#pragma once

#include "l10n/catalog.h"
#include "platform/message_box.h"

#include <exception>
#include <string>

// The one place that handles an exception which reached the event loop: it tells the user and
// ends the program. After the first report, further exceptions are not shown again.
class FatalErrorHandler
{
public:
    // The catalog, in the user's language, must outlive the handler.
    explicit FatalErrorHandler(MessageBox& messageBox, const Catalog& catalog = englishCatalog());

    // Runs `deliver`; an exception escaping it is reported, and the result is then false.
    template <class Deliver>
    bool guard(Deliver&& deliver)
    {
        try {
            return deliver();
        } catch (const std::exception& error) {
            report(error.what());
        } catch (...) {
            report(unknownError());
        }
        return false;
    }

    // Shows `what` in a message box and asks the event loop to end with a failure status.
    void report(const std::string& what);

private:
    std::string unknownError() const;

    MessageBox& m_messageBox;
    const Catalog& m_catalog;
    bool m_isEnding = false;
};
