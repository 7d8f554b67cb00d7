#include "window/bars.h"

#include "common/twips.h"
#include "controls/face.h"
#include "controls/pointer.h"
#include "controls/screentwips.h"
#include "engine/volume.h"
#include "window/barvalues.h"
#include "window/playbackdisplay.h"

#include <QMouseEvent>
#include <algorithm>
#include <cmath>

namespace {

QWidget* filledBox(QWidget* box, const QColor& colour)
{
    Face::paint(*box, colour);
    return box;
}

} // namespace

FillBar::FillBar(const char* name, const char* fillName, QWidget* parent)
    : QWidget(parent), m_fill(filledBox(new QWidget(this), Face::light))
{
    setObjectName(QString::fromLatin1(name));
    m_fill->setObjectName(QString::fromLatin1(fillName));
    // Mouse input is the bar's, wherever on it the fill lies.
    m_fill->setAttribute(Qt::WA_TransparentForMouseEvents);
    Face::paint(*this, Face::dark);
    setMouseTracking(true); // the pointer comes back to the arrow over a bar
    showFill();
}

void FillBar::setFillWidth(double twips)
{
    m_fillWidth = BarValues::fillWidthFor(twips, m_fillWidth);
    showFill();
    Accessibility::valueChanged(*this, accessibleValue());
}

double FillBar::barWidth() const
{
    return width() * twipsPerPixel(this).x;
}

void FillBar::showFill()
{
    m_fill->setGeometry(0, 0, Twips::toPixels(m_fillWidth, twipsPerPixel(this).x), height());
}

double FillBar::xOf(const QMouseEvent* event) const
{
    return event->position().x() * twipsPerPixel(this).x;
}

void FillBar::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    pressed(xOf(event));
}

void FillBar::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!Pointer::isDefault())
        Pointer::reset();
    // Only the left button alone drags; the right one pressed acts, but never drags.
    if (event->buttons() == Qt::LeftButton)
        dragged(xOf(event));
}

void FillBar::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    released();
}

void FillBar::requestAccessibleValue(double value)
{
    const double maximum = accessibleMaximum();
    if (!(maximum > 0))
        return;
    pressed(std::clamp(value / maximum, 0.0, 1.0) * barWidth());
    released();
}

void FillBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showFill();
}

SeekBar::SeekBar(QWidget* parent) : FillBar("Position", "Shapescroll", parent) {}

void SeekBar::showProgress(double position, double duration)
{
    if (std::isfinite(position) && std::isfinite(duration)) {
        m_position = position;
        m_duration = std::max(duration, 0.0);
    }
    const int bar = static_cast<int>(std::lround(barWidth()));
    if (const auto width = PlaybackDisplay::seekFillWidth(position, duration, bar))
        setFillWidth(*width);
}

void SeekBar::clear()
{
    m_position = 0;
    m_duration = 0;
    setFillWidth(0);
}

double SeekBar::accessibleValue() const
{
    return std::clamp(m_position, 0.0, m_duration);
}

void SeekBar::pressed(double x)
{
    emit held();
    setFillWidth(x);
    emit seekRequested(fillWidth(), barWidth());
}

void SeekBar::dragged(double x)
{
    setFillWidth(x);
    emit seekRequested(fillWidth(), barWidth());
}

void SeekBar::released()
{
    emit letGo();
}

VolumeBar::VolumeBar(QWidget* parent) : FillBar("Volume", "VolumeBar", parent) {}

void VolumeBar::showVolume(int hundredthsOfDecibel)
{
    if (!m_held)
        setFillWidth(Volume::barFraction(hundredthsOfDecibel) * barWidth());
}

double VolumeBar::accessibleValue() const
{
    const double bar = barWidth();
    return bar > 0 ? std::clamp(fillWidth() / bar * 100, 0.0, 100.0) : 0.0;
}

void VolumeBar::sendVolume()
{
    if (const auto volume = Volume::fromBar(fillWidth(), barWidth()))
        emit volumeRequested(*volume);
}

void VolumeBar::pressed(double x)
{
    m_held = true;
    emit held();
    setFillWidth(x);
    sendVolume();
}

void VolumeBar::dragged(double x)
{
    setFillWidth(x);
    sendVolume();
}

void VolumeBar::released()
{
    m_held = false;
    emit letGo();
}
