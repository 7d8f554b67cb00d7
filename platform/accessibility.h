// What a screen reader finds of the player (AT-SPI on Linux): the glyph buttons as push
// buttons named by what they do that press as a click does, the bars as sliders with a value,
// and the plain windows as frames. Nothing drawn changes; only what is reported.
#pragma once

class QWidget;

namespace Accessibility {

// A widget that readers read as a slider from 0 to accessibleMaximum().
class Range
{
public:
    virtual double accessibleValue() const = 0;
    virtual double accessibleMaximum() const = 0;
    // A value a reader sets: the widget takes it as the mouse would give it.
    virtual void requestAccessibleValue(double value) = 0;

protected:
    ~Range() = default;
};

// Once, after the application object exists: the interfaces above are made from here on.
void install();

// A range shows another value; readers that listen hear it.
void valueChanged(QWidget& range, double value);

} // namespace Accessibility
