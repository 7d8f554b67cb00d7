// The seek bar and the volume bar: a dark box with a light fill anchored at its left end.
// The mouse sets the fill's width, and the value sent to the engine always comes from the
// fill's width over the bar's. A press halts the progress timer until the release.
#pragma once

#include <QWidget>

class MediaEngine;
class QTimer;

class FillBar : public QWidget
{
    Q_OBJECT
public:
    // The fill's width in twips; it may be wider than the bar, which clips it.
    double fillWidth() const { return m_fillWidth; }
    // A negative width is refused: the fill keeps the width it had.
    void setFillWidth(double twips);
    double barWidth() const;
    QWidget* fill() const { return m_fill; }

protected:
    FillBar(const char* name, const char* fillName, MediaEngine& engine, QTimer& timerscroll,
            QWidget* parent);

    // x is the mouse's distance from the bar's left end, in twips.
    virtual void pressed(double x) = 0;
    virtual void dragged(double x) = 0;
    virtual void released() = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    MediaEngine& m_engine;
    QTimer& m_timerscroll;

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
    SeekBar(MediaEngine& engine, QTimer& timerscroll, QWidget* parent);
    // The progress timer's tick: the fill follows the engine's position.
    void showProgress();

protected:
    void pressed(double x) override;
    void dragged(double x) override;
    void released() override;

private:
    void seek();
};

// `Volume` with its fill `VolumeBar`: -75 dB when empty to full volume when full.
class VolumeBar : public FillBar
{
    Q_OBJECT
public:
    VolumeBar(MediaEngine& engine, QTimer& timerscroll, QWidget* parent);

signals:
    void volumeSent();

protected:
    void pressed(double x) override;
    void dragged(double x) override;
    void released() override;

private:
    void sendVolume();
};
