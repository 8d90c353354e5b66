#include "app/guarded_application.h"

GuardedApplication::GuardedApplication(int& argc, char** argv, FatalErrorHandler& handler)
    : QApplication(argc, argv), m_handler(handler)
{
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    return m_handler.guard([&] { return QApplication::notify(receiver, event); });
}
