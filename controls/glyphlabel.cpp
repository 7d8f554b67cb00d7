#include "controls/glyphlabel.h"

#include "controls/face.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <utility>

GlyphLabel::GlyphLabel(const QString& name, const QString& caption, const QString& toolTip,
                       QWidget* parent)
    : QLabel(caption, parent)
{
    setObjectName(name);
    setToolTip(toolTip);
    setAttribute(Qt::WA_TranslucentBackground);
    // Hover moves count too: the size grip shows its pointer before any press.
    setMouseTracking(true);
}

namespace {

QPolygonF triangle(const QRectF& r, bool pointsRight)
{
    if (pointsRight)
        return QPolygonF({r.topLeft(), QPointF(r.right(), r.center().y()), r.bottomLeft()});
    return QPolygonF({r.topRight(), QPointF(r.left(), r.center().y()), r.bottomRight()});
}

} // namespace

void GlyphLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor white(0xff, 0xff, 0xff);
    p.setPen(QPen(white, 1.2));
    p.setBrush(white);
    const qreal s = std::min(width(), height());
    const QRectF box((width() - s) / 2 + s * 0.2, (height() - s) / 2 + s * 0.2, s * 0.6, s * 0.6);
    const QString c = text();
    if (c == u"8") { // play
        p.drawPolygon(triangle(box, true));
    } else if (c == u"g") { // pause
        const qreal w = box.width() / 3;
        p.drawRect(QRectF(box.left(), box.top(), w, box.height()));
        p.drawRect(QRectF(box.right() - w, box.top(), w, box.height()));
    } else if (c == u"3") { // previous
        p.drawRect(QRectF(box.left(), box.top(), box.width() / 5, box.height()));
        p.drawPolygon(triangle(box.adjusted(box.width() / 5, 0, 0, 0), false));
    } else if (c == u"4") { // next
        p.drawPolygon(triangle(box.adjusted(0, 0, -box.width() / 5, 0), true));
        p.drawRect(QRectF(box.right() - box.width() / 5, box.top(), box.width() / 5, box.height()));
    } else if (c == u"7") { // open
        const QRectF top(box.left(), box.top(), box.width(), box.height() * 0.6);
        p.drawPolygon(
            QPolygonF({QPointF(top.center().x(), top.top()), top.bottomRight(), top.bottomLeft()}));
        p.drawRect(QRectF(box.left(), box.bottom() - box.height() * 0.25, box.width(),
                          box.height() * 0.25));
    } else if (c == u"q") { // minimise
        p.drawRect(
            QRectF(box.left(), box.bottom() - box.height() * 0.2, box.width(), box.height() * 0.2));
    } else if (c == u"1" || c == u"2") { // maximise, restore
        p.setBrush(Qt::NoBrush);
        if (c == u"1") {
            p.drawRect(box);
            p.drawLine(box.topLeft() + QPointF(0, 1), box.topRight() + QPointF(0, 1));
        } else {
            const qreal d = box.width() * 0.3;
            p.drawRect(box.adjusted(d, 0, 0, -d));
            p.drawRect(box.adjusted(0, d, -d, 0));
        }
    } else if (c == u"r") { // close
        p.setPen(QPen(white, 1.8));
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
    } else if (c == u"o") { // size grip
        p.setPen(QPen(QColor(0xc0, 0xc0, 0xc0), 1));
        for (int i = 1; i <= 3; ++i) {
            const qreal d = box.width() * i / 3;
            p.drawLine(QPointF(box.right() - d, box.bottom()),
                       QPointF(box.right(), box.bottom() - d));
        }
    } else {
        p.setFont(captionFont());
        p.drawText(rect(), Qt::AlignCenter, c);
    }
}

QString GlyphLabel::spokenName() const
{
    if (!accessibleName().isEmpty())
        return accessibleName();
    // The glyphs as paintEvent draws them.
    static constexpr std::pair<char16_t, const char16_t*> words[] = {
        {u'8', u"Play"},  {u'g', u"Pause"},    {u'3', u"Previous"}, {u'4', u"Next"},
        {u'7', u"Open"},  {u'q', u"Minimise"}, {u'1', u"Maximise"}, {u'2', u"Restore"},
        {u'r', u"Close"}, {u'o', u"Resize"},
    };
    const QString caption = text();
    for (const auto& [glyph, word] : words) {
        if (caption.size() == 1 && caption.front() == glyph)
            return QString::fromUtf16(word);
    }
    return caption;
}

bool GlyphLabel::isGrip() const
{
    return text() == u"o";
}

QFont GlyphLabel::captionFont() const
{
    return Face::captionFont(this);
}

// A press, move or release on a button is the button's own: the window under it must not
// start a drag or open its menu.
void GlyphLabel::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void GlyphLabel::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit mouseMoved(event->buttons());
}

void GlyphLabel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit released();
    // Qt follows a double click with a second release, so a double click is a second click.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
