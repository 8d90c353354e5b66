#include "app/fatal_error.h"

#include "l10n/message_format.h"
#include "platform/platform_error.h"
#include "text/utf8.h"

#include <QCoreApplication>
#include <QString>

#include <cstdlib>
#include <utility>

FatalErrorHandler::FatalErrorHandler(MessageBox& messageBox, const Catalog& catalog)
    : m_messageBox(messageBox), m_catalog(catalog)
{
}

std::string FatalErrorHandler::unknownError() const
{
    return utf8::encode(m_catalog.text(UnknownErrorText));
}

void FatalErrorHandler::report(const std::string& what)
{
    // The message box runs its own event loop, in which more errors may follow the first.
    if (std::exchange(m_isEnding, true))
        return;
    m_messageBox.show(formatMessage(m_catalog.text(FatalErrorText), {utf8::decode(what)}));
    QCoreApplication::exit(EXIT_FAILURE);
}
