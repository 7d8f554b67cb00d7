// Draws mpv's pictures with the processor into an image that the view paints: mpv scales and
// converts each frame once, straight into that image, on the GUI thread. No OpenGL driver is
// loaded, and the only picture buffers are this image and the window's own.
#pragma once

#include "engine/picturerenderer.h"

#include <memory>

struct mpv_handle;

class MpvSoftRenderer : public PictureRenderer
{
    Q_OBJECT
public:
    // Null when mpv cannot draw in software.
    static std::unique_ptr<MpvSoftRenderer> create(mpv_handle* mpv);
    ~MpvSoftRenderer() override;

    bool drawsIntoWindow() const override { return false; }
    void paint(QPainter& painter, const QRect& target) const override;
    void setTargetSize(const QSize& pixels) override;
    void redraw() override;
    QImage grab() override;

private:
    MpvSoftRenderer() = default;
    void render() override;
    bool drawInto(QImage& image);

    QImage m_picture;
    QSize m_targetSize{320, 240};
};
