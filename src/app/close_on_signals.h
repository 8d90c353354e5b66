#pragma once

#include <array>
#include <csignal>
#include <memory>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into closing every window, back in the event loop, as if the
// user had closed them: a kill, a shutdown without a session manager or Ctrl+C in the starting
// terminal then stores the input as closing the main window does. A signal that was ignored
// when the program started (as under nohup) stays ignored. Needs a QApplication; one object at
// a time. The earlier handling comes back when it goes.
class CloseOnSignals
{
public:
    CloseOnSignals();
    ~CloseOnSignals();
    CloseOnSignals(const CloseOnSignals&) = delete;
    CloseOnSignals& operator=(const CloseOnSignals&) = delete;

private:
    // Closes the descriptor it holds when it goes.
    class Descriptor
    {
    public:
        Descriptor() = default;
        ~Descriptor();
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        int fd = -1;
    };

    void closeAllWindows();

    Descriptor m_readEnd;
    Descriptor m_writeEnd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::array<struct sigaction, 3> m_previous{};
    std::array<bool, 3> m_isCaught{};
};
