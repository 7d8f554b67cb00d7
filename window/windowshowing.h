// Hiding the main window to the tray and bringing it back from there.
#pragma once

#include <QObject>

class QMenu;
class QWidget;
class ShellIcon;
class WindowMaximiser;

class WindowShowing : public QObject
{
    Q_OBJECT
public:
    WindowShowing(QWidget& window, WindowMaximiser& maximiser);

    // Hides the window; the tray icon brings it back. Where no tray exists a hidden window
    // could never come back, so it goes to the taskbar instead, and where the program could not
    // bring a minimised window back either, it stays.
    void minimise();
    // The tray's left click: hides a shown window, shows a hidden one, refitting a maximised
    // one to the work area.
    void toggleFromTray();
    // Puts the window in front, also while it is hidden from view.
    void bringForward();
    // Shows a hidden or minimised window as it was, in front.
    void bringBack();
    // The tray icon's clicks: the left one hides or shows the window, the right one brings it
    // forward with the popup menu.
    void answerTray(ShellIcon& icon, QMenu& menu);

private:
    QWidget& m_window;
    WindowMaximiser& m_maximiser;
};
