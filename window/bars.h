// The seek bar and the volume bar: a dark box with a light fill anchored at its left end.
// The mouse sets the fill's width, and the value asked for always comes from the fill's width
// over the bar's. A press holds the progress until the release. The bars only ask; the
// player's playback owner acts and tells them what to show.
#pragma once

#include "platform/accessibility.h"

#include <QWidget>

class FillBar : public QWidget, public Accessibility::Range
{
    Q_OBJECT
public:
    // The fill's width in twips; it may be wider than the bar, which clips it.
    double fillWidth() const { return m_fillWidth; }
    // A negative width is refused: the fill keeps the width it had.
    void setFillWidth(double twips);
    double barWidth() const;
    QWidget* fill() const { return m_fill; }

    // A value a screen reader sets is a click at its place along the bar.
    void requestAccessibleValue(double value) override;

protected:
    FillBar(const char* name, const char* fillName, QWidget* parent);

    // x is the mouse's distance from the bar's left end, in twips.
    virtual void pressed(double x) = 0;
    virtual void dragged(double x) = 0;
    virtual void released() = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double xOf(const QMouseEvent* event) const;
    void showFill();

    QWidget* m_fill;
    double m_fillWidth = 0;
};

// `Position` with its fill `Shapescroll`: the part of the file already played.
class SeekBar : public FillBar
{
    Q_OBJECT
public:
    explicit SeekBar(QWidget* parent);
    // The progress timer's tick: the fill follows the position.
    void showProgress(double position, double duration);
    // The fill starts again with the next file.
    void clear();

    // Read as seconds into the file.
    double accessibleValue() const override;
    double accessibleMaximum() const override { return m_duration; }

signals:
    // A press: hold the progress and halt.
    void held();
    // A seek to this fraction of the file, as far along as the fill is.
    void seekRequested(double fillWidth, double barWidth);
    // The release: playback runs again.
    void letGo();

protected:
    void pressed(double x) override;
    void dragged(double x) override;
    void released() override;

private:
    double m_position = 0;
    double m_duration = 0;
};

// `Volume` with its fill `VolumeBar`: -75 dB when empty to full volume when full.
class VolumeBar : public FillBar
{
    Q_OBJECT
public:
    explicit VolumeBar(QWidget* parent);
    // The fill follows a volume set from anywhere, unless the mouse holds it.
    void showVolume(int hundredthsOfDecibel);

    // Read as the percentage of the bar the fill covers.
    double accessibleValue() const override;
    double accessibleMaximum() const override { return 100; }

signals:
    void held();
    void volumeRequested(int hundredthsOfDecibel);
    void letGo();

protected:
    void pressed(double x) override;
    void dragged(double x) override;
    void released() override;

private:
    void sendVolume();

    bool m_held = false;
};
