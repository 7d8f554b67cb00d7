#include "window/programend.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Written by the signal handler, read by the event loop: all a handler may safely do.
int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

} // namespace

ProgramEnd::ProgramEnd(QWidget& mainWindow) : m_window(mainWindow)
{
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::instance()->installEventFilter(this);
    watchSignals();
}

void ProgramEnd::watchSignals()
{
    // A signal that ended the process at once would leave the engine playing into a dead
    // audio stream and the playlist unsaved; it unloads the window as Exit does.
    if (signalPipe[0] < 0 &&
        ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return;
    m_signals = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_signals, &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(signalPipe[1], drained, sizeof drained) > 0) {
        }
        m_window.close();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

int ProgramEnd::exec()
{
    // An end that came while starting (a quit over the bus during the first open) would be
    // lost on a loop that starts afterwards.
    return m_ended ? 0 : QApplication::exec();
}

void ProgramEnd::end()
{
    m_ended = true;
    QApplication::exit(0);
}

bool ProgramEnd::eventFilter(QObject* watched, QEvent* event)
{
    // Qt's own answer would close the windows in no set order and stop at the first that
    // refuses, as the full-screen window does; the main window's unload closes them all.
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit)
        return false;
    m_window.close();
    return true;
}
