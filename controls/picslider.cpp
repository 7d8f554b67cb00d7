#include "controls/picslider.h"

#include "common/twips.h"
#include "controls/face.h"
#include "controls/screentwips.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace {

QWidget* box(QWidget* parent, const char* name, const QColor& colour)
{
    auto* w = new QWidget(parent);
    w->setObjectName(QString::fromLatin1(name));
    Face::paint(*w, colour);
    return w;
}

} // namespace

picSlider::picSlider(QWidget* parent)
    : QWidget(parent), m_track(box(this, "picBackGround", Face::dark)),
      m_thumb(box(this, "picslider", Face::light))
{
    m_thumb->installEventFilter(this);
}

double picSlider::twipsPerPixelY() const
{
    return twipsPerPixel(this).y;
}

void picSlider::report(bool changed)
{
    placeThumb();
    if (changed)
        emit Change();
}

void picSlider::setValue(int value)
{
    report(m_model.setValue(value));
}

void picSlider::setMax(int max)
{
    report(m_model.setMax(max));
}

void picSlider::setMin(int min)
{
    report(m_model.setMin(min));
}

void picSlider::ItemsVisible(const QAbstractItemView& list)
{
    report(m_model.ItemsVisible(list.viewport()->height(), std::max(list.sizeHintForRow(0), 0)));
}

void picSlider::readProperties(const QVariantMap& properties)
{
    // Value first, while Max may still be 0; the writes of Max and Min show it again.
    setValue(properties.value(QStringLiteral("Value")).toInt());
    setMax(properties.value(QStringLiteral("Max")).toInt());
    setMin(properties.value(QStringLiteral("Min")).toInt());
}

void picSlider::placeThumb()
{
    const double tpp = twipsPerPixelY();
    m_thumb->setGeometry(0, Twips::toPixels(m_model.thumbTop(), tpp), width(),
                         Twips::toPixels(SliderModel::thumbHeight, tpp));
}

void picSlider::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int widthPixels = Twips::toPixels(SliderModel::width, twipsPerPixel(this).x);
    if (width() != widthPixels) {
        resize(widthPixels, height()); // comes back here at the right width
        return;
    }
    m_track->setGeometry(rect());
    m_model.resize(Twips::fromPixels(height(), twipsPerPixelY()));
    placeThumb();
}

bool picSlider::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_thumb)
        return false;
    const auto y = [this](const QMouseEvent* e) { return e->position().y() * twipsPerPixelY(); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* e = static_cast<QMouseEvent*>(event);
        m_model.press(e->button() == Qt::RightButton, y(e));
        return true;
    }
    case QEvent::MouseMove: {
        const auto* e = static_cast<QMouseEvent*>(event);
        const bool changed = m_model.move(y(e));
        placeThumb();
        if (changed)
            emit Change();
        return true;
    }
    case QEvent::MouseButtonRelease:
        m_model.release(static_cast<QMouseEvent*>(event)->button() == Qt::RightButton);
        return true;
    default:
        return false;
    }
}
