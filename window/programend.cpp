#include "window/programend.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

ProgramEnd::ProgramEnd(QWidget& mainWindow) : m_window(mainWindow)
{
    QApplication::setQuitOnLastWindowClosed(false);
    QCoreApplication::instance()->installEventFilter(this);
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
