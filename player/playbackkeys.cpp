#include "player/playbackkeys.h"

#include "engine/mediaengine.h"
#include "player/mpvkeys.h"
#include "player/playbackcontroller.h"
#include "window/playeractions.h"

#include <QAction>
#include <QEvent>
#include <QFile>
#include <QWidget>
#include <cmath>

using namespace MpvKeys;

namespace {
// The aspect ratios of Media Options, in its order; -1 is the file's own.
constexpr double kAspects[] = {-1.0, 4.0 / 3.0, 16.0 / 9.0, 2.35};
const char* const kAspectNames[] = {"Original", "4:3", "16:9", "2.35:1"};
} // namespace

PlaybackKeys::PlaybackKeys(const PlayerActions& a, PlaybackController& playback,
                           MediaEngine& engine, QWidget& window)
    : QObject(&window), m_actions(a), m_playback(playback), m_engine(engine), m_window(window)
{
    const auto on = [this](QAction* action, auto&& slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    on(a.speedDown, [this] { stepSpeed(int(SpeedStep::Slower)); });
    on(a.speedUp, [this] { stepSpeed(int(SpeedStep::Faster)); });
    on(a.speedHalf, [this] { stepSpeed(int(SpeedStep::Half)); });
    on(a.speedDouble, [this] { stepSpeed(int(SpeedStep::Double)); });
    on(a.speedNormal, [this] { stepSpeed(int(SpeedStep::Normal)); });
    on(a.frameStep, [this] {
        m_engine.stepFrame(true);
        say(QStringLiteral("Next frame"));
    });
    on(a.frameBackStep, [this] {
        m_engine.stepFrame(false);
        say(QStringLiteral("Previous frame"));
    });
    on(a.screenshot, [this] { screenshot(); });
    on(a.abLoop, [this] {
        const LoopStep step = abLoopStep(m_engine.tuning("ab-loop-a"), m_engine.tuning("ab-loop-b"),
                                         m_engine.CurrentPosition());
        m_engine.setTuning("ab-loop-a", step.a);
        m_engine.setTuning("ab-loop-b", step.b);
        // With B set the loop starts at once, from A, as mpv's own key does; mpv loops only
        // what it reaches from before B.
        if (step.b.canConvert<double>() && step.b.toString() != QLatin1String("no"))
            m_playback.seek(step.a.toDouble());
        say(step.line);
    });
    on(a.loopFile, [this] {
        const QVariant now = m_engine.tuning("loop-file");
        const bool looping = now.isValid() && now.toString() != QLatin1String("no") &&
                             now.toString() != QLatin1String("false");
        m_engine.setTuning("loop-file", looping ? QStringLiteral("no") : QStringLiteral("inf"));
        m_actions.loopFile->setChecked(!looping);
        say(looping ? QStringLiteral("Loop file off") : QStringLiteral("Loop file on"));
    });
    const auto chapter = [this](int steps) {
        const ChapterStep step = chapterStep(m_engine.tuning("chapter").toLongLong(),
                                             m_engine.tuning("chapters").toLongLong(), steps);
        if (m_engine.tuning("chapters").toLongLong() > 0)
            m_engine.setTuning("chapter", step.chapter);
        say(step.line);
    };
    on(a.chapterPrev, [chapter] { chapter(-1); });
    on(a.chapterNext, [chapter] { chapter(1); });
    on(a.subtitleDelayDown, [this] { stepDelay("sub-delay", -delayStep); });
    on(a.subtitleDelayUp, [this] { stepDelay("sub-delay", delayStep); });
    on(a.audioDelayDown, [this] { stepDelay("audio-delay", -delayStep); });
    on(a.audioDelayUp, [this] { stepDelay("audio-delay", delayStep); });
    on(a.subtitles, [this] {
        const bool shown = m_engine.tuning("sub-visibility").toBool();
        m_engine.setTuning("sub-visibility", !shown);
        say(shown ? QStringLiteral("Subtitles hidden") : QStringLiteral("Subtitles shown"));
    });
    const auto track = [this](const char* property, const QString& type) {
        const TrackStep step =
            nextTrack(m_engine.tuning("track-list").toList(), type, m_engine.tuning(property));
        m_engine.setTuning(property, step.id);
        say(step.line);
    };
    on(a.nextSubtitle, [track] { track("sid", QStringLiteral("sub")); });
    on(a.nextAudio, [track] { track("aid", QStringLiteral("audio")); });
    on(a.showPosition,
       [this] { say(positionLine(m_engine.CurrentPosition(), m_engine.Duration())); });
    on(a.onTop, [this](bool checked) { setOnTop(checked); });
    on(a.deinterlace, [this] {
        const bool now = !m_engine.tuning("deinterlace").toBool();
        m_engine.setTuning("deinterlace", now);
        say(now ? QStringLiteral("Deinterlace on") : QStringLiteral("Deinterlace off"));
    });
    on(a.nextAspect, [this] {
        const double now = m_engine.tuning("video-aspect-override").toDouble();
        std::size_t at = 0;
        for (std::size_t i = 0; i < std::size(kAspects); ++i)
            if (std::abs(kAspects[i] - now) < 0.01)
                at = i;
        const std::size_t next = (at + 1) % std::size(kAspects);
        m_engine.setTuning("video-aspect-override", kAspects[next]);
        say(QStringLiteral("Aspect ") + QLatin1String(kAspectNames[next]));
    });
    on(a.mediaPause, [this] {
        if (m_engine.PlayState() == PlayStates::Playing)
            m_actions.playPause->trigger();
    });
    on(a.mediaStop, [this] {
        if (!m_playback.hasTrack())
            return;
        if (m_engine.PlayState() == PlayStates::Playing)
            m_actions.playPause->trigger();
        m_playback.seek(0);
    });

    // Only keys and the wheel reach these: they answer on the picture at every trigger.
    const auto volume = [this] { say(volumeLine(m_engine.Volume(), m_engine.Mute())); };
    on(a.volumeUp, volume);
    on(a.volumeDown, volume);
    on(a.mute, volume);
    for (QAction* seek : {a.seekBack, a.seekForward, a.seekBackLong, a.seekForwardLong})
        on(seek, [this] { say(positionLine(m_engine.CurrentPosition(), m_engine.Duration())); });
    // The play glyph shares its action: only a key press answers.
    a.playPause->installEventFilter(this);

    m_picture = m_engine.view();
    if (m_picture)
        m_picture->installEventFilter(this);
}

bool PlaybackKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_actions.playPause && event->type() == QEvent::Shortcut)
        say(m_engine.PlayState() == PlayStates::Playing ? QStringLiteral("Pause")
                                                        : QStringLiteral("Play"));
    else if (watched == m_picture && event->type() == QEvent::MouseButtonDblClick)
        m_actions.mnuFullscreen->trigger();
    return false;
}

void PlaybackKeys::say(const QString& line)
{
    m_engine.showMessage(line);
}

void PlaybackKeys::stepSpeed(int step)
{
    const QVariant now = m_engine.tuning("speed");
    const double speed = steppedSpeed(now.isValid() ? now.toDouble() : 1.0, SpeedStep(step));
    m_engine.setTuning("speed", speed);
    say(speedLine(speed));
}

void PlaybackKeys::stepDelay(const char* name, double by)
{
    const double to = std::round((m_engine.tuning(name).toDouble() + by) * 10) / 10;
    m_engine.setTuning(name, to);
    say(qstrcmp(name, "sub-delay") == 0 ? subtitleDelayLine(to) : audioDelayLine(to));
}

void PlaybackKeys::screenshot()
{
    const QString path =
        freshScreenshotFile(picturesFolder(), m_engine.FileName(), m_engine.CurrentPosition());
    if (path.isEmpty() || m_engine.ImageSourceHeight() <= 0) {
        if (!path.isEmpty())
            QFile::remove(path);
        say(QStringLiteral("No screenshot"));
        return;
    }
    m_engine.takeScreenshot(path);
    say(screenshotLine(path));
}

void PlaybackKeys::setOnTop(bool on)
{
    // A change of flags re-creates a shown window; keep it shown where it was.
    const bool shown = m_window.isVisible();
    m_window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        m_window.show();
    say(on ? QStringLiteral("On top") : QStringLiteral("Not on top"));
}
