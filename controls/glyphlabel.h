// A small label button that shows one glyph picture chosen by its caption character, as
// the player's buttons do. The caption stays the state that code reads; the picture
// follows it. A double click counts as a second click.
#pragma once

#include <QLabel>

class GlyphLabel : public QLabel
{
    Q_OBJECT
public:
    GlyphLabel(const QString& name, const QString& caption, const QString& toolTip,
               QWidget* parent);

    // The face a caption that has no glyph picture is written in: small and fixed, so that
    // the whole text fits a narrow button.
    QFont captionFont() const;

    // What the button does, in words, for those who cannot see the glyph: the accessible name
    // when one is given, else the drawn glyph's own word (so Play becomes Pause with the
    // glyph), else the caption.
    QString spokenName() const;
    // The size grip: it is dragged, never pressed.
    bool isGrip() const;
    // A press that comes from elsewhere than the mouse (a screen reader): a click.
    void click() { emit clicked(); }

signals:
    // Pressed and released on the label with the left button.
    void clicked();
    // Any button released, wherever it was pressed on the label.
    void released();
    // The mouse moved over the label (or dragged from it) with these buttons held.
    void mouseMoved(Qt::MouseButtons buttons);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
