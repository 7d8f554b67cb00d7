// The main window's own maximise: to the work area of its screen and back to the rectangle
// it had, independent of the window manager's maximised state. Where the compositor places the
// windows (Wayland), it is asked instead, and the flag follows what it answers.
#pragma once

#include "window/geometry.h"

#include <QObject>

class QLabel;
class QWidget;

class WindowMaximiser : public QObject
{
    Q_OBJECT
public:
    // label3 shows the maximise glyph "1", or the restore glyph "2" while maximised.
    WindowMaximiser(QWidget& window, QLabel& label3);

    bool maximised() const { return m_toggle.maximised(); }
    // Twips: the rectangle the next restore goes back to.
    QRect restoreRect() const { return m_toggle.restoreRect(); }
    // Records the window's present rectangle as the one to go back to, unless maximised.
    void recordRestoreRect();

    void toggle();
    // Covers the work area again, leaving the flag and the restore rectangle alone.
    void fitToWorkArea();
    // Whether the window system's state of the window leaves the chrome where it is: minimised,
    // or maximised by the window manager rather than by this class.
    bool holdsLayout() const;

    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void restored();

private:
    QRect windowTwips() const;
    QRect workAreaTwips() const;
    void setWindowTwips(const QRect& twips);
    // The glyph for the flag, and the restored signal when not maximised.
    void showState();

    QWidget& m_window;
    QLabel& m_label3;
    WindowGeometry::MaximiseToggle m_toggle;
};
