// The program ends in one place: its main window's unload. A window hidden in the tray still
// holds the user's work, so no other window's closing ends the program, and a request to quit
// from outside (the session's end, or SIGTERM, SIGINT or SIGHUP) closes the main window as
// any other close does.
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

class ProgramEnd : public QObject
{
    Q_OBJECT
public:
    explicit ProgramEnd(QWidget& mainWindow);

    // Runs the event loop until end(); returns at once when end() came first.
    int exec();
    // Leaves the event loop, and every loop nested in it, at once.
    void end();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchSignals();

    QWidget& m_window;
    QSocketNotifier* m_signals = nullptr;
    bool m_ended = false;
};
