// What draws mpv's pictures for the view: OpenGL into a native window of the view's own, or the
// processor into an image that the view paints (where OpenGL would itself only be drawn by the
// processor, at twice the memory and time).
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>

class QPainter;
class QWindow;

class PictureRenderer : public QObject
{
    Q_OBJECT
public:
    // True: the renderer draws into the native window it is given (setWindow). False: the view
    // paints the picture itself (paint), once frameReady says it changed.
    virtual bool drawsIntoWindow() const = 0;
    virtual void setWindow(QWindow* /*window*/) {}
    virtual void paint(QPainter& /*painter*/, const QRect& /*target*/) const {}
    // The picture's size in device pixels.
    virtual void setTargetSize(const QSize& pixels) = 0;
    // Draws the present picture again, as after an exposure.
    virtual void redraw() = 0;
    // The present picture at the target size.
    virtual QImage grab() = 0;

signals:
    void frameReady();
};
