#include "app/fatal_error.h"

#include <QCoreApplication>
#include <QString>

#include <cstdlib>
#include <utility>

FatalErrorHandler::FatalErrorHandler(MessageBox& messageBox) : m_messageBox(messageBox) {}

void FatalErrorHandler::report(const std::string& what)
{
    // The message box runs its own event loop, in which more errors may follow the first.
    if (std::exchange(m_isEnding, true))
        return;
    const QString prompt = QStringLiteral("Sumwright must close because of an error:\n\n") +
                           QString::fromStdString(what);
    m_messageBox.show(prompt.toStdU16String());
    QCoreApplication::exit(EXIT_FAILURE);
}
