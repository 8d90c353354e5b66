#include "app/close_on_signals.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cassert>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> Signals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler reaches nothing but globals: the write end of the pipe, -1 while no
// CloseOnSignals lives.
std::atomic<int> writeEndForHandler{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void requestClose(int)
{
    const int savedErrno = errno;
    // A full pipe already holds a request; a failed write loses nothing.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEndForHandler.load(), &byte, 1);
    errno = savedErrno;
}

}  // namespace

CloseOnSignals::Descriptor::~Descriptor()
{
    if (fd >= 0)
        ::close(fd);
}

CloseOnSignals::CloseOnSignals()
{
    assert(writeEndForHandler.load() < 0);
    int ends[2];
    // Without the pipe the signals keep their default action, as in any program.
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readEnd.fd = ends[0];
    m_writeEnd.fd = ends[1];
    writeEndForHandler.store(m_writeEnd.fd);

    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd.fd, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { closeAllWindows(); });

    struct sigaction action = {};
    action.sa_handler = requestClose;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        if (::sigaction(Signals[i], nullptr, &m_previous[i]) != 0 ||
            m_previous[i].sa_handler == SIG_IGN)
            continue;
        m_isCaught[i] = ::sigaction(Signals[i], &action, nullptr) == 0;
    }
}

CloseOnSignals::~CloseOnSignals()
{
    for (std::size_t i = 0; i < Signals.size(); ++i) {
        if (m_isCaught[i])
            ::sigaction(Signals[i], &m_previous[i], nullptr);
    }
    writeEndForHandler.store(-1);
}

void CloseOnSignals::closeAllWindows()
{
    char bytes[64];
    while (::read(m_readEnd.fd, bytes, sizeof bytes) > 0) {
    }
    // Each window closes through its own close handling, the main window's storing the input;
    // quitting on the last window ends the program.
    QApplication::closeAllWindows();
    for (const QWidget* const window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            return;  // it refused to close
    }
    // Also when no window was open at all.
    QCoreApplication::quit();
}
