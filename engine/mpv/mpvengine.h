// The media engine on libmpv. mpv opens, decodes and times the file on its own threads; this
// object talks to it without blocking, keeps the values mpv reports, and turns them into the
// engine's members and events on the GUI thread. The picture goes through mpv's render API,
// with OpenGL straight into the view's native window or in software into an image the view
// paints (see PictureDrawing, MpvRenderer, MpvSoftRenderer and MpvView). The jobs are parts
// of their own: MpvClient makes the calls, MpvOptions sets mpv up, MpvEvents pumps its events,
// MpvOpen carries each put of FileName through, and FullScreenHost holds the view in full screen.
#pragma once

#include "engine/mediaengine.h"
#include "engine/mpv/mpvfile.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

struct mpv_handle;
class EngineOptionsDialog;
class FullScreenHost;
class MpvClient;
class MpvEvents;
class MpvOpen;
class MpvOptionsLink;
class PictureRenderer;
class SoundOutputWatch;
class MpvView;

// KeyUp carries Qt::Key codes. The view (view()) is the engine's: place it with setRect in
// a parent of your choice; it is deleted with the engine unless its parent goes first.
class MpvEngine : public MediaEngine
{
    Q_OBJECT
public:
    struct Options
    {
        // false: no picture at all (mpv's null video output) and no view; needs no display.
        bool video = true;
        // mpv audio outputs, tried in order; "null" plays silently but keeps time, so files
        // still play through on a machine without a sound device, and the user is told. While
        // mpv is left on it, it is asked to try the others again (SoundOutputWatch).
        QString audioOutput = QStringLiteral("pulse,pipewire,alsa,null");
    };

    // Call once before the QApplication is constructed: the picture's windows then share the
    // renderer's OpenGL format.
    static void prepareApplication();

    explicit MpvEngine(QObject* parent = nullptr);
    explicit MpvEngine(const Options& options, QObject* parent = nullptr);
    ~MpvEngine() override;

    QString FileName() const override { return m_file.fileName; }
    // Only what MediaGate admits reaches mpv; anything else is refused at once. Waits,
    // dispatching events, for the file to load or fail; there is no deadline, as a slow disk
    // is not a refused file. A put that arrives while another waits (from a timer or event
    // handler) replaces the request and returns false at once with no lastError: the waiting
    // call returns the outcome of the last put. Once the application is quitting the wait
    // stops at once and the open fails. Returns whether a file is open on return.
    [[nodiscard]] bool setFileName(const QString& path) override;
    QString lastError() const override { return m_file.lastError; }

    // 0 also for a still picture, which shows until another file is opened.
    double Duration() const override { return m_file.duration; }
    double CurrentPosition() const override;
    void setCurrentPosition(double seconds) override;

    // Closed with no file; Playing, Paused after the halt call, Stopped at the end (the last
    // picture stays), Waiting while a stream refills. While a put of FileName waits, the
    // state keeps its value and then changes once.
    int PlayState() const override { return m_file.playState; }
    // At the end of the file Play starts again from the beginning.
    void Play() override;
    void Pause() override;

    int ImageSourceWidth() const override { return m_file.width; }
    int ImageSourceHeight() const override { return m_file.height; }

    int DisplaySize() const override { return m_displaySize; }
    void setDisplaySize(int size) override;

    bool ShowControls() const override { return m_showControls; }
    void setShowControls(bool show) override;
    bool ShowStatusBar() const override { return m_showStatusBar; }
    void setShowStatusBar(bool show) override;

    int Volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;
    bool Mute() const override { return m_mute; }
    void setMute(bool mute) override;

    // Statistics: toggles mpv's statistics overlay. Options: shows the engine's options dialog.
    void ShowDialog(int which) override;
    // Through MediaGate::admitSubtitle; shown at once, as the selected subtitle track.
    [[nodiscard]] QString addSubtitle(const QString& path) override;
    // Only the names MediaEngine lists reach mpv.
    QVariant tuning(const QByteArray& name) const override;
    void setTuning(const QByteArray& name, const QVariant& value) override;
    void stepFrame(bool forward) override;
    bool takeScreenshot(const QString& path) override;
    void showMessage(const QString& text) override;
    void shutDown() override;

    QRect rect() const override { return m_rect; }
    void setRect(const QRect& rect) override;
    QString toolTip() const override { return m_toolTip; }
    void setToolTip(const QString& text) override;

    QWidget* view() const override;

    // OpenStates::Closed, Opening or Open.
    int OpenState() const { return m_file.openState; }
    // True when pictures are drawn in the view (false headless, or when OpenGL is missing).
    // Asking makes mpv and the renderer if they are not made yet.
    bool drawsPicture() const;
    // The value mpv last reported for one of the properties the engine follows ("volume",
    // "time-pos", "deinterlace", ...); invalid when unknown.
    QVariant mpvValue(const QByteArray& name) const;
    // How many files mpv was asked to open so far.
    std::uint64_t loadsSent() const;
    // The options dialog once ShowDialog(Options) has created it.
    EngineOptionsDialog* optionsDialog() const;
    bool statisticsShown() const { return m_statisticsShown; }

private:
    // Makes mpv and the renderer; once only.
    void start();
    // A frame was slow to draw: subtitles go off, if they are shown, at the second slow frame or
    // at one of a second.
    void onSlowFrame(qint64 ms);
    // One line on standard error and a few seconds on the picture.
    void tell(const QString& text);
    void initialize(const Options& options);
    void connectView();
    // Calls that may come before mpv is made make it first.
    void setPropertyAsync(const char* name, const QVariant& value);
    void commandAsync(const QVariantList& args, std::uint64_t tag = 0);

    void onOpenStateChanged(int oldState, int newState);
    void applyOsd();
    // The view left full screen by itself: Escape, or its window was closed.
    void fullScreenLeft();
    void onViewMouse(int action, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     const QPointF& pos);

    Options m_options;
    bool m_started = false;
    // The parts below refer to the client and the file, so these come first.
    std::unique_ptr<MpvClient> m_client;
    MpvFile m_file;
    // Frames of the open file that held the GUI thread.
    int m_slowFrames = 0;
    bool m_subtitlesStopped = false;
    std::unique_ptr<MpvOpen> m_open;
    std::unique_ptr<MpvEvents> m_events;
    std::unique_ptr<PictureRenderer> m_renderer;
    // The view belongs to the engine but may sit in the main window, which can delete it first.
    QPointer<MpvView> m_view;
    std::unique_ptr<FullScreenHost> m_fullScreen;
    std::unique_ptr<MpvOptionsLink> m_optionsLink;
    std::unique_ptr<SoundOutputWatch> m_soundWatch;

    int m_displaySize = DisplaySizes::Fitted;
    bool m_showControls = false;
    bool m_showStatusBar = false;
    bool m_statisticsShown = false;
    int m_volume = 0;
    bool m_mute = false;
    QRect m_rect;
    QString m_toolTip;
};
