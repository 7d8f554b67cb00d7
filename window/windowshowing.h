// Hiding the main window to the tray and bringing it back from there.
#pragma once

#include <QObject>

class QWidget;
class WindowMaximiser;

class WindowShowing : public QObject
{
    Q_OBJECT
public:
    WindowShowing(QWidget& window, WindowMaximiser& maximiser);

    // Hides the window; the tray icon brings it back. Where no tray exists a hidden window
    // could never come back, so it goes to the taskbar instead.
    void minimise();
    // The tray's left click: hides a shown window, shows a hidden one, refitting a maximised
    // one to the work area.
    void toggleFromTray();
    // Puts the window in front, also while it is hidden from view.
    void bringForward();

private:
    QWidget& m_window;
    WindowMaximiser& m_maximiser;
};
