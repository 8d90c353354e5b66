#pragma once

#include "app/fatal_error.h"

#include <QApplication>

// QApplication whose event delivery hands every escaping exception to a FatalErrorHandler.
class GuardedApplication final : public QApplication
{
public:
    GuardedApplication(int& argc, char** argv, FatalErrorHandler& handler);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    FatalErrorHandler& m_handler;
};
