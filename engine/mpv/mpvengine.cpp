#include "engine/mpv/mpvengine.h"

#include "common/plaintext.h"
#include "common/starttrace.h"
#include "engine/mpv/fullscreenhost.h"
#include "engine/mpv/mpvclient.h"
#include "engine/mpv/mpvevents.h"
#include "engine/mpv/mpvinput.h"
#include "engine/mpv/mpvopen.h"
#include "engine/mpv/mpvoptions.h"
#include "engine/mpv/mpvoptionslink.h"
#include "engine/mpv/mpvrenderer.h"
#include "engine/mpv/mpvview.h"
#include "engine/soundoutputwatch.h"
#include "engine/volume.h"

#include <QApplication>
#include <QDebug>
#include <QSurfaceFormat>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cmath>

namespace {
// Long enough to read a sentence, short enough not to stay over the next file.
constexpr int messageDurationMs = 4000;
} // namespace

void MpvEngine::prepareApplication()
{
    // Every window the picture may be drawn into takes this format.
    QSurfaceFormat::setDefaultFormat(MpvRenderer::surfaceFormat());
}

MpvEngine::MpvEngine(QObject* parent) : MpvEngine(Options{}, parent) {}

MpvEngine::MpvEngine(const Options& options, QObject* parent)
    : MediaEngine(parent), m_options(options), m_client(std::make_unique<MpvClient>()),
      m_open(std::make_unique<MpvOpen>(*m_client, m_file)),
      m_events(std::make_unique<MpvEvents>(*m_client, *m_open, m_file)),
      m_fullScreen(std::make_unique<FullScreenHost>())
{
    const QStringList outputs = options.audioOutput.split(u',', Qt::SkipEmptyParts);
    connect(m_events.get(), &MpvEvents::tracksChanged, this, &MediaEngine::tuningChanged);
    // A subtitle file chosen in the options dialog that is not taken is told on the picture.
    m_optionsLink = std::make_unique<MpvOptionsLink>(
        *m_client, *m_events, m_file, outputs, [this](const QString& path) {
            if (const QString why = addSubtitle(path); !why.isEmpty())
                showMessage(why);
        });
    connect(m_optionsLink.get(), &MpvOptionsLink::muteChosen, this, &MediaEngine::muteAsked);
    // A mute mpv reports that differs from the last one asked for came from mpv's own controls.
    // It is taken as it is, never sent back, so a report that crosses a put settles on mpv's.
    connect(m_events.get(), &MpvEvents::muteChanged, this, [this](bool mute) {
        if (mute != m_mute) {
            m_mute = mute;
            emit muteAsked(mute);
        }
    });
    connect(m_open.get(), &MpvOpen::openStateChanged, this, &MpvEngine::onOpenStateChanged);
    connect(m_open.get(), &MpvOpen::refused, this, &MpvEngine::tell);
    // Only a null output that stands in for the others means no sound.
    if (!outputs.isEmpty() && outputs.first() != u"null") {
        m_soundWatch = std::make_unique<SoundOutputWatch>(
            [this] { m_client->commandAsync({QStringLiteral("ao-reload")}); },
            [this](const QString& text) { tell(text); });
        connect(m_events.get(), &MpvEvents::audioOutputChanged, m_soundWatch.get(),
                &SoundOutputWatch::setOutput);
    }
    connect(m_open.get(), &MpvOpen::playStateChanged, this, &MpvEngine::PlayStateChange);
    connect(m_fullScreen.get(), &FullScreenHost::closeRequested, this, &MpvEngine::fullScreenLeft);
    // Without a window there is nothing to wait for.
    if (!options.video || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        start();
        return;
    }
    // The view exists from the start, so the main window can place it; mpv and its OpenGL
    // context are made once the picture is first on screen, while the start timer runs, or at
    // the first call that needs them, whichever comes first.
    m_view = new MpvView;
    connect(m_view, &MpvView::exposed, this, [this] {
        if (!m_started)
            QTimer::singleShot(0, this, &MpvEngine::start);
    });
    connectView();
}

bool MpvEngine::drawsPicture() const
{
    const_cast<MpvEngine*>(this)->start();
    return m_renderer != nullptr;
}

void MpvEngine::start()
{
    if (m_started)
        return;
    m_started = true;
    initialize(m_options);
    StartTrace::mark("engine ready");
}

MpvEngine::~MpvEngine()
{
    m_open->wakeWait();
    m_events->stop();
    m_optionsLink.reset();
    delete m_view.data();
    m_fullScreen.reset();
    // The render context goes before the mpv core it draws for.
    m_renderer.reset();
}

void MpvEngine::initialize(const Options& options)
{
    // QApplication sets the C library's locale from the environment; mpv reads and writes
    // numbers through the C library and refuses to start unless they use a decimal point.
    std::setlocale(LC_NUMERIC, "C");

    if (!m_client->create()) {
        m_file.lastError = tr("The media engine could not start.");
        return;
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const bool video = options.video && app;
    MpvOptions::setAtStart(*m_client, video, options.audioOutput);
    if (!m_client->initialize()) {
        m_file.lastError = tr("The media engine could not start.");
        return;
    }
    m_events->start();

    if (!video)
        return;
    // The render context must exist before the first file is loaded, or mpv finds no video
    // output and plays without a picture.
    m_renderer = PictureRenderer::create(m_client->handle());
    if (!m_renderer) {
        qCWarning(lcMpv) << "the picture cannot be drawn; playing without pictures.";
        setPropertyAsync("vo", QStringLiteral("null"));
    }
    if (!m_view)
        return;
    m_view->setRenderer(m_renderer.get());
    if (!m_renderer)
        return;
    connect(m_view, &MpvView::pixelSizeChanged, m_renderer.get(), &PictureRenderer::setTargetSize);
    connect(m_renderer.get(), &PictureRenderer::slowFrame, this, &MpvEngine::onSlowFrame);
    m_renderer->redraw();
}

void MpvEngine::onSlowFrame(qint64 ms)
{
    // A hostile subtitle file can take seconds a frame and gigabytes: with OpenGL the window
    // hardly answers meanwhile, in software the film stands still. They go off for this file,
    // and Media Options can switch them on again.
    // One slow frame may be the fonts read for the first line; one of a second is not.
    const QVariant subtitle = m_events->value("sid");
    if (m_subtitlesStopped || m_file.openState != OpenStates::Open || !subtitle.isValid() ||
        subtitle.typeId() == QMetaType::Bool)
        return;
    if (++m_slowFrames < 2 && ms < 1000)
        return;
    // Frames drawn meanwhile may still carry them; told once.
    m_subtitlesStopped = true;
    setPropertyAsync("sid", QStringLiteral("no"));
    const QString text =
        tr("Subtitles switched off: a frame took %1 s to draw.").arg(double(ms) / 1000, 0, 'f', 1);
    tell(text);
}

void MpvEngine::connectView()
{
    connect(m_view, &MpvView::mouseAction, this,
            [this](MpvView::MouseAction action, Qt::MouseButton button,
                   Qt::KeyboardModifiers modifiers, const QPointF& pos) {
                onViewMouse(static_cast<int>(action), button, modifiers, pos);
            });
    connect(m_view, &MpvView::keyReleased, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        emit KeyUp(key, MpvInput::shiftMask(modifiers));
    });
    connect(m_view, &MpvView::escapePressed, this, &MpvEngine::fullScreenLeft);
}

void MpvEngine::setPropertyAsync(const char* name, const QVariant& value)
{
    start();
    m_client->setPropertyAsync(name, value);
}

void MpvEngine::commandAsync(const QVariantList& args, std::uint64_t tag)
{
    start();
    m_client->commandAsync(args, tag);
}

bool MpvEngine::setFileName(const QString& path)
{
    start();
    return m_open->open(path);
}

void MpvEngine::onOpenStateChanged(int oldState, int newState)
{
    // The picture takes the view back from a message.
    if (newState == OpenStates::Opening && m_view)
        m_view->clearMessage();
    if (newState == OpenStates::Opening) {
        m_slowFrames = 0;
        m_subtitlesStopped = false;
    }
    // The dialog lists the open file's tracks.
    if (m_optionsLink)
        m_optionsLink->update();
    emit OpenStateChange(oldState, newState);
}

QVariant MpvEngine::mpvValue(const QByteArray& name) const
{
    return m_events->value(name);
}

namespace {
// The settings the keys and the options dialog may turn; the counts are only read.
bool isTuning(const QByteArray& name)
{
    static const QList<QByteArray> names{
        "speed",      "sub-delay",      "audio-delay", "ab-loop-a",
        "ab-loop-b",  "loop-file",      "chapter",     "sid",
        "aid",        "sub-visibility", "deinterlace", "video-aspect-override",
        "brightness", "contrast",       "saturation",  "gamma"};
    return names.contains(name);
}
} // namespace

QVariant MpvEngine::tuning(const QByteArray& name) const
{
    if (!isTuning(name) && name != "chapters" && name != "track-list")
        return {};
    return m_events ? m_events->value(name) : QVariant();
}

void MpvEngine::setTuning(const QByteArray& name, const QVariant& value)
{
    // Speed, delays and picture settings stay for the files that follow, as in the dialog.
    if (!isTuning(name))
        return;
    if (name == "video-aspect-override")
        setPropertyAsync(name.constData(), QString::number(value.toDouble(), 'g', 10));
    else
        setPropertyAsync(name.constData(), value);
}

void MpvEngine::stepFrame(bool forward)
{
    if (m_file.openState != OpenStates::Open || m_open->pending() || m_file.isImage)
        return;
    commandAsync({forward ? QStringLiteral("frame-step") : QStringLiteral("frame-back-step")});
}

bool MpvEngine::takeScreenshot(const QString& path)
{
    if (m_file.openState != OpenStates::Open || m_file.height <= 0)
        return false;
    commandAsync({QStringLiteral("screenshot-to-file"), path, QStringLiteral("subtitles")});
    return true;
}

std::uint64_t MpvEngine::loadsSent() const
{
    return m_open ? m_open->loadsSent() : 0;
}

void MpvEngine::tell(const QString& text)
{
    // As every refusal is told: one line on standard error and a few seconds on the picture.
    qWarning().noquote() << text;
    showMessage(text);
}

void MpvEngine::showMessage(const QString& text)
{
    // mpv draws text only over a file it shows; with none open the view draws it.
    if (m_file.openState != OpenStates::Open || !m_renderer) {
        if (m_view)
            m_view->showMessage(text, messageDurationMs);
        return;
    }
    // Sent as a node, the text is shown as it is: mpv expands no properties in it.
    commandAsync({QStringLiteral("show-text"), text, messageDurationMs});
}

double MpvEngine::CurrentPosition() const
{
    if (m_file.openState != OpenStates::Open || m_file.isImage)
        return 0;
    if (m_file.seekTarget)
        return *m_file.seekTarget;
    if (m_file.eofReached || m_file.dropped)
        return m_file.duration;
    // Only the end reads as the length itself, so a last frame stamped at or past the
    // container's length is not taken for the end.
    if (m_file.duration > 0 && m_file.position >= m_file.duration)
        return std::nextafter(m_file.duration, 0.0);
    return std::max(m_file.position, 0.0);
}

void MpvEngine::setCurrentPosition(double seconds)
{
    if (m_file.openState != OpenStates::Open || m_open->pending() || m_file.isImage)
        return;
    const double target = std::clamp(seconds, 0.0, std::max(m_file.duration, 0.0));
    m_file.seekTarget = target;
    commandAsync({QStringLiteral("seek"), target, QStringLiteral("absolute+exact")},
                 tagFor(Request::Seek, m_open->generation()));
}

void MpvEngine::Play()
{
    // A file mpv let go of has nothing left to play.
    if (m_file.openState != OpenStates::Open || m_open->pending() || m_file.dropped)
        return;
    if (m_file.eofReached) {
        m_file.seekTarget = 0.0;
        commandAsync({QStringLiteral("seek"), 0.0, QStringLiteral("absolute+exact")},
                     tagFor(Request::Seek, m_open->generation()));
    }
    setPropertyAsync("pause", false);
}

void MpvEngine::Pause()
{
    if (m_file.openState != OpenStates::Open || m_open->pending())
        return;
    setPropertyAsync("pause", true);
}

void MpvEngine::setVolume(int hundredthsOfDecibel)
{
    m_volume = std::min(hundredthsOfDecibel, Volume::full);
    setPropertyAsync("volume", Volume::toMpv(m_volume));
}

void MpvEngine::setMute(bool mute)
{
    if (mute == m_mute)
        return;
    m_mute = mute;
    setPropertyAsync("mute", mute);
}

void MpvEngine::setShowControls(bool show)
{
    // Asked again as it is (at every key in a window), it sends nothing: applying clears the
    // line on the picture that answers the key.
    if (show == m_showControls)
        return;
    m_showControls = show;
    applyOsd();
}

void MpvEngine::setShowStatusBar(bool show)
{
    if (show == m_showStatusBar)
        return;
    m_showStatusBar = show;
    applyOsd();
}

void MpvEngine::applyOsd()
{
    // The on-screen controller reads its options again whenever script-opts changes.
    setPropertyAsync("script-opts",
                     QStringLiteral("osc-visibility=%1,osc-idlescreen=no")
                         .arg(m_showControls ? QStringLiteral("always") : QStringLiteral("never")));
    // Level 3 keeps the status (state, position, length) on screen.
    setPropertyAsync("osd-level", m_showStatusBar ? 3 : 1);
    // mpv redraws its status only as time passes; an empty message redraws it now, which
    // matters while paused.
    commandAsync({QStringLiteral("show-text"), QString(), 1});
}

void MpvEngine::ShowDialog(int which)
{
    if (which == EngineDialogs::Statistics) {
        m_statisticsShown = !m_statisticsShown;
        commandAsync(
            {QStringLiteral("script-binding"), QStringLiteral("stats/display-stats-toggle")});
        return;
    }
    if (which != EngineDialogs::Options ||
        !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    // The dialog shows what mpv has, so mpv must be there.
    start();
    m_optionsLink->show(m_view ? m_view->window()->geometry() : QRect());
}

QString MpvEngine::addSubtitle(const QString& path)
{
    start();
    return m_open->addSubtitle(path);
}

void MpvEngine::shutDown()
{
    m_optionsLink->close();
    setDisplaySize(DisplaySizes::Fitted);
    // An engine never started has nothing to stop, and starting it now would only cost time.
    if (*m_client) {
        if (StartTrace::enabled())
            m_client->traceLateFrames();
        m_client->commandAsync({QStringLiteral("stop")});
    }
}

EngineOptionsDialog* MpvEngine::optionsDialog() const
{
    return m_optionsLink->dialog();
}

void MpvEngine::setRect(const QRect& rect)
{
    m_rect = rect;
    if (m_view && m_displaySize != DisplaySizes::FullScreen)
        m_view->setGeometry(rect);
}

void MpvEngine::setToolTip(const QString& text)
{
    m_toolTip = text;
    // The text carries the file's name.
    if (m_view)
        m_view->setToolTip(plainToolTip(text));
}

QWidget* MpvEngine::view() const
{
    return m_view.data();
}

void MpvEngine::setDisplaySize(int size)
{
    if (size != DisplaySizes::FullScreen && size != DisplaySizes::Fitted)
        return;
    if (size == m_displaySize)
        return;
    m_displaySize = size;
    if (!m_view)
        return;
    if (size == DisplaySizes::FullScreen)
        m_fullScreen->enter(*m_view);
    else
        m_fullScreen->leave(*m_view, m_rect);
}

void MpvEngine::fullScreenLeft()
{
    if (m_displaySize != DisplaySizes::FullScreen)
        return;
    setDisplaySize(DisplaySizes::Fitted);
    emit DisplayModeChange();
}

void MpvEngine::onViewMouse(int action, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                            const QPointF& pos)
{
    const auto kind = static_cast<MpvView::MouseAction>(action);
    if (kind == MpvView::MouseAction::Leave) {
        commandAsync({QStringLiteral("keypress"), QStringLiteral("MOUSE_LEAVE")});
        return;
    }
    // mpv's on-screen controller works in the picture's device pixels.
    const qreal ratio = m_view ? m_view->devicePixelRatioF() : 1.0;
    commandAsync({QStringLiteral("mouse"), qRound(pos.x() * ratio), qRound(pos.y() * ratio)});
    const char* name = MpvInput::mpvButtonName(button);
    if (kind == MpvView::MouseAction::Press) {
        emit MouseDown(MpvInput::buttonCode(button), MpvInput::shiftMask(modifiers), pos.x(),
                       pos.y());
        if (name)
            commandAsync({QStringLiteral("keydown"), QString::fromLatin1(name)});
    } else if (kind == MpvView::MouseAction::Release && name) {
        commandAsync({QStringLiteral("keyup"), QString::fromLatin1(name)});
    }
}
