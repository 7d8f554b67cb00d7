#include "controls/programicon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawn(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A dark screen with a light frame and the play glyph.
    p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), std::max(1.0, s / 16)));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawRoundedRect(QRectF(s * 0.06, s * 0.14, s * 0.88, s * 0.72), s * 0.1, s * 0.1);
    QPainterPath play;
    play.moveTo(s * 0.38, s * 0.32);
    play.lineTo(s * 0.70, s * 0.50);
    play.lineTo(s * 0.38, s * 0.68);
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(play);
    return pixmap;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128})
        icon.addPixmap(drawn(size));
    return icon;
}
