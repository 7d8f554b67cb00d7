// The media engine as the player sees it: one file at a time, opened by a put of FileName,
// with the members and events the windows rely on. MpvEngine plays for real; the tests
// script a fake one.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QVariant>

class QWidget;

namespace PlayStates {
// The engine's play-state numbers; the player only ever tests Playing.
constexpr int Stopped = 0;
constexpr int Paused = 1;
constexpr int Playing = 2;
constexpr int Waiting = 3;
constexpr int Closed = 6;
} // namespace PlayStates

namespace DisplaySizes {
constexpr int FullScreen = 3;
constexpr int Fitted = 4;
} // namespace DisplaySizes

namespace EngineDialogs {
constexpr int Statistics = 1;
constexpr int Options = 2;
} // namespace EngineDialogs

class MediaEngine : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MediaEngine() override = default;

    // The open file's path; "" while nothing is open.
    virtual QString FileName() const = 0;
    // Opens path and starts playing it. Returns once the file has loaded or failed, so that
    // Duration and the picture size are known. On failure returns false, lastError() says
    // why, and the engine is left without a file. A put made while another one waits returns
    // false at once with no lastError(); the waiting put reports the outcome.
    [[nodiscard]] virtual bool setFileName(const QString& path) = 0;
    virtual QString lastError() const = 0;

    // Length in seconds; 0 while nothing is open.
    virtual double Duration() const = 0;
    // Seconds from the start; equals Duration exactly once the end is reached.
    virtual double CurrentPosition() const = 0;
    // Seeks.
    virtual void setCurrentPosition(double seconds) = 0;

    virtual int PlayState() const = 0;
    // Starts, or resumes from CurrentPosition.
    virtual void Play() = 0;
    // The halt call: stops where it is; CurrentPosition keeps its value.
    virtual void Pause() = 0;

    // Native picture size in pixels; height 0 means the file has no picture.
    virtual int ImageSourceWidth() const = 0;
    virtual int ImageSourceHeight() const = 0;

    // DisplaySizes::FullScreen or DisplaySizes::Fitted.
    virtual int DisplaySize() const = 0;
    virtual void setDisplaySize(int size) = 0;

    // The engine's own control bar.
    virtual bool ShowControls() const = 0;
    virtual void setShowControls(bool show) = 0;
    // The engine's own status line: play state, position and length.
    virtual bool ShowStatusBar() const = 0;
    virtual void setShowStatusBar(bool show) = 0;

    // Hundredths of a decibel: -7500 is -75 dB, 0 is full volume; above 0 is limited to 0.
    virtual int Volume() const = 0;
    virtual void setVolume(int hundredthsOfDecibel) = 0;
    // Silences the sound without touching Volume.
    virtual bool Mute() const = 0;
    virtual void setMute(bool mute) = 0;

    // EngineDialogs::Statistics or EngineDialogs::Options.
    virtual void ShowDialog(int which) = 0;
    // Gives the open film a subtitle file and shows it. Returns why not (only an existing
    // regular local file with a subtitle extension is taken, and only while a file is open),
    // or "" when it was taken.
    [[nodiscard]] virtual QString addSubtitle(const QString& path) = 0;
    // The settings the keys turn beyond play, position and volume, by mpv's names: speed,
    // sub-delay, audio-delay, ab-loop-a, ab-loop-b, loop-file, chapter, chapters, sid, aid,
    // sub-visibility, track-list, deinterlace, video-aspect-override, brightness, contrast,
    // saturation, gamma (chapters and track-list only read). The last value reported; invalid
    // when unknown or not one of these. An engine without them keeps the defaults.
    virtual QVariant tuning(const QByteArray& /*name*/) const { return {}; }
    virtual void setTuning(const QByteArray& /*name*/, const QVariant& /*value*/) {}
    // One frame on (back when false), pausing.
    virtual void stepFrame(bool /*forward*/) {}
    // Writes the picture as shown, with subtitles, to path as PNG; false without a picture.
    virtual bool takeScreenshot(const QString& /*path*/) { return false; }
    // A short text over the picture for a few seconds; it asks nothing of the user.
    virtual void showMessage(const QString& text) = 0;
    // The program is ending: stops playing and closes the windows the engine opened (its
    // options dialog, its full-screen window).
    virtual void shutDown() = 0;

    // The engine's rectangle inside the main window, in pixels, and its tooltip.
    virtual QRect rect() const = 0;
    virtual void setRect(const QRect& rect) = 0;
    virtual QString toolTip() const = 0;
    virtual void setToolTip(const QString& text) = 0;

    // The widget that shows the picture, to be placed in the main window; null for an engine
    // that draws nothing.
    virtual QWidget* view() const = 0;

signals:
    void PlayStateChange(int oldState, int newState);
    void OpenStateChange(int oldState, int newState);
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels.
    void MouseDown(int button, int shift, double x, double y);
    void KeyUp(int keyCode, int shift);
    // The engine changed its display mode by itself (it left full screen on Escape).
    void DisplayModeChange();
    // The engine's own controls (its options dialog, mpv's on-screen mute button) turned the
    // sound off or on; the volume's owner answers with setMute, so everything shows it.
    void muteAsked(bool mute);
    // One of the tuning() values may have changed.
    void tuningChanged();
};
