// Full screen for the view: a frameless window on the view's screen that the view moves into,
// and back out of into the parent it came from.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <memory>

class QWidget;

class FullScreenHost : public QObject
{
    Q_OBJECT
public:
    FullScreenHost();
    ~FullScreenHost() override;

    void enter(QWidget& view);
    // Puts the view back at rect, when that is valid.
    void leave(QWidget& view, const QRect& rect);

signals:
    // The window manager was asked to close the full-screen window; it stays until left.
    void closeRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QWidget> m_window;
    QPointer<QWidget> m_fittedParent;
};
