// The media engine on libmpv. mpv opens, decodes and times the file on its own threads; this
// object talks to it without blocking, keeps the values mpv reports, and turns them into the
// engine's members and events on the GUI thread. The picture goes through mpv's OpenGL render
// API straight into the view's native window (see MpvRenderer and MpvView).
#pragma once

#include "engine/mediaengine.h"

#include <QByteArray>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct mpv_handle;
struct mpv_event;
class QEventLoop;
class EngineOptionsDialog;
class MpvRenderer;
class MpvView;

// How far opening a file has come (MpvEngine::OpenState and OpenStateChange).
namespace OpenStates {
constexpr int Closed = 0;
constexpr int Opening = 5;
constexpr int Open = 6;
} // namespace OpenStates

// mpv's volume is cubic: the amplitude is (volume / 100)^3. Returns the mpv volume whose gain
// is the given number of hundredths of a decibel; values above 0 give full volume (100).
double mpvVolumeFromHundredthsOfDecibel(int hundredthsOfDecibel);

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
        // still play through on a machine without a sound device.
        QString audioOutput = QStringLiteral("pulse,pipewire,alsa,null");
    };

    // Call once before the QApplication is constructed: the picture's windows then share the
    // renderer's OpenGL format.
    static void prepareApplication();

    explicit MpvEngine(QObject* parent = nullptr);
    explicit MpvEngine(const Options& options, QObject* parent = nullptr);
    ~MpvEngine() override;

    QString FileName() const override { return m_fileName; }
    // Only what MediaGate admits reaches mpv; anything else is refused at once. Waits,
    // dispatching events, for the file to load or fail; there is no deadline, as a slow disk
    // is not a refused file. A put that arrives while another waits (from a timer or event
    // handler) replaces the request and returns false at once with no lastError: the waiting
    // call returns the outcome of the last put. Once the application is quitting the wait
    // stops at once and the open fails. Returns whether a file is open on return.
    [[nodiscard]] bool setFileName(const QString& path) override;
    QString lastError() const override { return m_lastError; }

    // 0 also for a still picture, which shows until another file is opened.
    double Duration() const override { return m_duration; }
    double CurrentPosition() const override;
    void setCurrentPosition(double seconds) override;

    // Closed with no file; Playing, Paused after the halt call, Stopped at the end (the last
    // picture stays), Waiting while a stream refills. While a put of FileName waits, the
    // state keeps its value and then changes once.
    int PlayState() const override { return m_playState; }
    // At the end of the file Play starts again from the beginning.
    void Play() override;
    void Pause() override;

    int ImageSourceWidth() const override { return m_width; }
    int ImageSourceHeight() const override { return m_height; }

    int DisplaySize() const override { return m_displaySize; }
    void setDisplaySize(int size) override;

    bool ShowControls() const override { return m_showControls; }
    void setShowControls(bool show) override;
    bool ShowStatusBar() const override { return m_showStatusBar; }
    void setShowStatusBar(bool show) override;

    int Volume() const override { return m_volume; }
    void setVolume(int hundredthsOfDecibel) override;

    // Statistics: toggles mpv's statistics overlay. Options: shows the engine's options dialog.
    void ShowDialog(int which) override;
    void showMessage(const QString& text) override;
    void shutDown() override;

    QRect rect() const override { return m_rect; }
    void setRect(const QRect& rect) override;
    QString toolTip() const override { return m_toolTip; }
    void setToolTip(const QString& text) override;

    QWidget* view() const override;

    // OpenStates::Closed, Opening or Open.
    int OpenState() const { return m_openState; }
    // True when pictures are drawn in the view (false headless, or when OpenGL is missing).
    // Asking makes mpv and the renderer if they are not made yet.
    bool drawsPicture() const;
    // The value mpv last reported for one of the properties the engine follows ("volume",
    // "time-pos", "deinterlace", ...); invalid when unknown.
    QVariant mpvValue(const QByteArray& name) const { return m_mpvValues.value(name); }
    // The options dialog once ShowDialog(Options) has created it.
    QWidget* optionsDialog() const;
    bool statisticsShown() const { return m_statisticsShown; }

private:
    struct PropertyHandler;
    struct PendingOpen;
    static const PropertyHandler kProperties[];

    // Makes mpv and the renderer; once only.
    void start();
    void initialize(const Options& options);
    void connectView();
    void setOptionString(const char* name, const QString& value);
    void setPropertyAsync(const char* name, const QVariant& value);
    void commandAsync(const QVariantList& args, std::uint64_t tag = 0);
    void getPropertyAsync(const char* name, int format, std::uint64_t tag);

    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleStartFile(std::int64_t entryId);
    void handleFileLoaded();
    void handleEndFile(std::int64_t entryId, int reason, int error);
    void handleVideoReconfig();
    void handlePlaybackRestart();
    void handleReply(std::uint64_t tag, int error, const QVariant& value);

    void onDuration(const QVariant& value);
    void onTimePos(const QVariant& value);
    void onPause(const QVariant& value);
    void onEofReached(const QVariant& value);
    void onPausedForCache(const QVariant& value);

    bool waitForOpen();
    bool pendingResolved() const;
    void wakeWait();
    void commitOpen();
    void commitClosed(QString error);
    void setOpenState(int state);
    void updatePlayState();
    void applyOsd();

    void enterFullScreen();
    void leaveFullScreen();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void onViewMouse(int action, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                     const QPointF& pos);

    struct MpvDeleter
    {
        void operator()(mpv_handle* handle) const;
    };

    Options m_options;
    bool m_started = false;
    std::unique_ptr<mpv_handle, MpvDeleter> m_mpv;
    std::unique_ptr<MpvRenderer> m_renderer;
    // The view belongs to the engine but may sit in the main window, which can delete it first.
    QPointer<MpvView> m_view;
    std::unique_ptr<QWidget> m_fullScreenWindow;
    QPointer<QWidget> m_fittedParent;
    std::unique_ptr<EngineOptionsDialog> m_optionsDialog;

    std::atomic<bool> m_drainQueued{false};

    // What the engine reports for the open file; changed only when an open ends.
    QString m_fileName;
    QString m_lastError;
    double m_duration = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_isImage = false;
    int m_openState = OpenStates::Closed;
    int m_playState = PlayStates::Closed;

    // The playing file as mpv reports it.
    std::int64_t m_entryId = 0;
    double m_position = 0;
    bool m_paused = false;
    bool m_eofReached = false;
    // mpv ended the open file by itself; the engine holds it as stopped at its end.
    bool m_dropped = false;
    bool m_pausedForCache = false;
    std::optional<double> m_seekTarget;
    QHash<QByteArray, QVariant> m_mpvValues;

    std::unique_ptr<PendingOpen> m_pending;
    std::uint64_t m_generation = 0;
    // The one wait for an open, while a put waits.
    QEventLoop* m_wait = nullptr;

    int m_displaySize = DisplaySizes::Fitted;
    bool m_showControls = false;
    bool m_showStatusBar = false;
    bool m_statisticsShown = false;
    int m_volume = 0;
    QRect m_rect;
    QString m_toolTip;
};
