#include "engine/mpvengine.h"

#include "controls/plaintext.h"
#include "engine/engineoptionsdialog.h"
#include "engine/mediagate.h"
#include "engine/mpvrenderer.h"
#include "engine/mpvview.h"
#include "player/starttrace.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScreen>
#include <QSurfaceFormat>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <list>
#include <mpv/client.h>

namespace {
Q_LOGGING_CATEGORY(lcMpv, "orvella.mpv", QtWarningMsg)

// Replies to asynchronous requests carry the open they belong to and what was asked.
enum class Request : std::uint64_t
{
    None = 0,
    Load,
    Seek,
    Duration,
    VideoTrack,
    ContainerWidth,
    ContainerHeight,
    VideoWidth,
    VideoHeight,
    Restarted,
    AudioTrack,
};

constexpr std::uint64_t tagFor(Request request, std::uint64_t generation)
{
    return generation << 8 | static_cast<std::uint64_t>(request);
}

constexpr Request requestOf(std::uint64_t tag)
{
    return static_cast<Request>(tag & 0xff);
}

constexpr std::uint64_t generationOf(std::uint64_t tag)
{
    return tag >> 8;
}

QVariant fromMpv(mpv_format format, const void* data)
{
    if (!data)
        return {};
    switch (format) {
    case MPV_FORMAT_DOUBLE:
        return *static_cast<const double*>(data);
    case MPV_FORMAT_FLAG:
        return *static_cast<const int*>(data) != 0;
    case MPV_FORMAT_INT64:
        return static_cast<qlonglong>(*static_cast<const std::int64_t*>(data));
    case MPV_FORMAT_STRING:
        return QString::fromUtf8(*static_cast<char* const*>(data));
    default:
        return {};
    }
}

// Holds an mpv_node and the text it points into for the length of one call.
class NodeBuilder
{
public:
    mpv_node fromVariant(const QVariant& value)
    {
        mpv_node node{};
        switch (value.typeId()) {
        case QMetaType::Bool:
            node.format = MPV_FORMAT_FLAG;
            node.u.flag = value.toBool() ? 1 : 0;
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
            node.format = MPV_FORMAT_INT64;
            node.u.int64 = value.toLongLong();
            break;
        case QMetaType::Double:
            node.format = MPV_FORMAT_DOUBLE;
            node.u.double_ = value.toDouble();
            break;
        default:
            m_text.push_back(value.toString().toUtf8());
            node.format = MPV_FORMAT_STRING;
            node.u.string = m_text.back().data();
            break;
        }
        return node;
    }

private:
    std::list<QByteArray> m_text; // stable addresses
};

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

const char* mpvButtonName(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return "MBTN_LEFT";
    case Qt::RightButton:
        return "MBTN_RIGHT";
    case Qt::MiddleButton:
        return "MBTN_MID";
    default:
        return nullptr;
    }
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

QString describeEndError(int error, const QString& path, const QString& logged)
{
    if (!path.contains(QStringLiteral("://")) && !QFileInfo::exists(path))
        return QStringLiteral("No such file: %1").arg(path);
    QString text = QString::fromUtf8(mpv_error_string(error));
    if (!logged.isEmpty())
        text += QStringLiteral(" (%1)").arg(logged);
    return text;
}

// Long enough to read a sentence, short enough not to stay over the next file.
constexpr int messageDurationMs = 4000;

struct OptionValue
{
    const char* name;
    const char* value;
};

// mpv as a library still reads the user's mpv set-up and follows what files point to; none of
// that is the player's to allow.
constexpr OptionValue kLockedDown[] = {
    // No mpv.conf, input.conf or profiles of the user's own mpv.
    {"config", "no"},
    // No scripts from the user's mpv folder; the player's own overlays are asked for by name.
    {"load-scripts", "no"},
    // No socket through which another program could drive mpv.
    {"input-ipc-server", ""},
    // No web-page lookups through youtube-dl or yt-dlp.
    {"ytdl", "no"},
    // A file never makes mpv open another: playlists, EDL, HLS and reference files inside a
    // "movie" would otherwise reach the network or the disk before the open is refused.
    {"access-references", "no"},
    {"load-unsafe-playlists", "no"},
    // No per-file option files from mpv's watch-later folder.
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
};

// What the user reads when mpv could not play a file the gate let through.
QString cannotPlay(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot play %1: %2")
        .arg(MediaGate::printable(QFileInfo(path).fileName()), reason);
}

// The mpv option behind each setting of the options dialog.
const char* optionProperty(EngineOptionsDialog::Option option)
{
    switch (option) {
    case EngineOptionsDialog::Option::HardwareDecoding:
        return "hwdec";
    case EngineOptionsDialog::Option::Deinterlace:
        return "deinterlace";
    case EngineOptionsDialog::Option::Aspect:
        return "video-aspect-override";
    case EngineOptionsDialog::Option::Mute:
        return "mute";
    }
    return nullptr;
}
} // namespace

double mpvVolumeFromHundredthsOfDecibel(int hundredthsOfDecibel)
{
    const double decibels = std::min(hundredthsOfDecibel, 0) / 100.0;
    // 20 * log10((v / 100)^3) = decibels  =>  v = 100 * 10^(decibels / 60)
    return 100.0 * std::pow(10.0, decibels / 60.0);
}

struct MpvEngine::PropertyHandler
{
    const char* name;
    mpv_format format;
    void (MpvEngine::*onChange)(const QVariant& value);
};

// Every mpv property the engine follows; the index + 1 is the observation's id. Values land in
// m_mpvValues; those the engine's members depend on also go to their handler.
const MpvEngine::PropertyHandler MpvEngine::kProperties[] = {
    {"duration", MPV_FORMAT_DOUBLE, &MpvEngine::onDuration},
    {"time-pos", MPV_FORMAT_DOUBLE, &MpvEngine::onTimePos},
    {"pause", MPV_FORMAT_FLAG, &MpvEngine::onPause},
    {"eof-reached", MPV_FORMAT_FLAG, &MpvEngine::onEofReached},
    {"paused-for-cache", MPV_FORMAT_FLAG, &MpvEngine::onPausedForCache},
    {"volume", MPV_FORMAT_DOUBLE, nullptr},
    {"mute", MPV_FORMAT_FLAG, nullptr},
    {"hwdec", MPV_FORMAT_STRING, nullptr},
    {"deinterlace", MPV_FORMAT_FLAG, nullptr},
    {"video-aspect-override", MPV_FORMAT_DOUBLE, nullptr},
    {"osd-level", MPV_FORMAT_INT64, nullptr},
    {"script-opts", MPV_FORMAT_STRING, nullptr},
};

struct MpvEngine::PendingOpen
{
    std::uint64_t generation = 0;
    QString path;
    // mpv's playlist entry for the file, from the reply to loadfile.
    std::optional<std::int64_t> entryId;
    bool started = false;
    bool loaded = false;
    std::optional<double> duration;
    std::optional<bool> hasVideo;
    std::optional<bool> hasAudio;

    // A picture track whose size came to be known: a track mpv cannot decode has none.
    bool hasPictureSize() const
    {
        return hasVideo.value_or(false) &&
               ((videoWidth > 0 && videoHeight > 0) || (containerWidth > 0 && containerHeight > 0));
    }
    bool isImage = false;
    int containerWidth = 0;
    int containerHeight = 0;
    int videoWidth = 0;
    int videoHeight = 0;
    // mpv has begun playing: the first picture is out, or the video gives none.
    bool playing = false;
    std::optional<QString> error;
    QString loggedError;
};

void MpvEngine::MpvDeleter::operator()(mpv_handle* handle) const
{
    mpv_terminate_destroy(handle);
}

void MpvEngine::prepareApplication()
{
    // Every window the picture may be drawn into takes this format.
    QSurfaceFormat::setDefaultFormat(MpvRenderer::surfaceFormat());
}

MpvEngine::MpvEngine(QObject* parent) : MpvEngine(Options{}, parent) {}

MpvEngine::MpvEngine(const Options& options, QObject* parent) : MediaEngine(parent)
{
    m_options = options;
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
    wakeWait();
    if (m_mpv)
        mpv_set_wakeup_callback(m_mpv.get(), nullptr, nullptr);
    m_optionsDialog.reset();
    delete m_view.data();
    m_fullScreenWindow.reset();
    // The render context goes before the mpv core it draws for.
    m_renderer.reset();
}

void MpvEngine::initialize(const Options& options)
{
    // QApplication sets the C library's locale from the environment; mpv reads and writes
    // numbers through the C library and refuses to start unless they use a decimal point.
    std::setlocale(LC_NUMERIC, "C");

    m_mpv.reset(mpv_create());
    if (!m_mpv) {
        m_lastError = tr("The media engine could not start.");
        return;
    }
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    const bool video = options.video && app;

    // What a file may make mpv do. Files come from the internet: mpv opens the one local file
    // the player names (MediaGate checks it) and nothing else, whatever that file holds.
    for (const auto& [name, value] : kLockedDown)
        setOptionString(name, QString::fromLatin1(value));

    setOptionString("terminal", QStringLiteral("no"));
    setOptionString("idle", QStringLiteral("yes"));
    // Keeps the last picture and the position at the end instead of closing the file.
    setOptionString("keep-open", QStringLiteral("yes"));
    setOptionString("image-display-duration", QStringLiteral("inf"));
    // The engine's own keys must never quit; the view passes no keys to mpv.
    setOptionString("input-default-bindings", QStringLiteral("no"));
    setOptionString("input-vo-keyboard", QStringLiteral("no"));
    // The player shows what the file holds. Looking for cover pictures and subtitle files
    // beside it reads the whole folder at every open (a tenth of a second in a folder of
    // 100,000 files), and a cover would give a sound file a picture it does not have.
    setOptionString("cover-art-auto", QStringLiteral("no"));
    setOptionString("sub-auto", QStringLiteral("no"));
    setOptionString("load-osd-console", QStringLiteral("no"));
    setOptionString("audio-client-name", QStringLiteral("Orvella"));
    setOptionString("vo", video ? QStringLiteral("libmpv") : QStringLiteral("null"));
    // Pictures are decoded in software or copied back from the decoder; probing the
    // direct hardware paths at start-up costs time and finds nothing under Xvfb.
    setOptionString("gpu-hwdec-interop", QStringLiteral("no"));
    setOptionString("osc", video ? QStringLiteral("yes") : QStringLiteral("no"));
    setOptionString("load-stats-overlay", video ? QStringLiteral("yes") : QStringLiteral("no"));
    setOptionString("script-opts", QStringLiteral("osc-visibility=never,osc-idlescreen=no"));
    setOptionString("osd-level", QStringLiteral("1"));
    setOptionString("osd-status-msg",
                    QStringLiteral("${?eof-reached==yes:Stopped}${!eof-reached==yes:${?pause=="
                                   "yes:Paused}${!pause==yes:Playing}}  ${time-pos} / "
                                   "${duration}"));
    setOptionString("ao", options.audioOutput);

    if (mpv_initialize(m_mpv.get()) < 0) {
        m_mpv.reset();
        m_lastError = tr("The media engine could not start.");
        return;
    }
    mpv_request_log_messages(m_mpv.get(), "error");
    for (std::size_t i = 0; i < std::size(kProperties); ++i)
        mpv_observe_property(m_mpv.get(), i + 1, kProperties[i].name, kProperties[i].format);
    mpv_set_wakeup_callback(
        m_mpv.get(),
        [](void* self) {
            auto* engine = static_cast<MpvEngine*>(self);
            if (!engine->m_drainQueued.exchange(true))
                QMetaObject::invokeMethod(engine, &MpvEngine::drainEvents, Qt::QueuedConnection);
        },
        this);

    if (!video)
        return;
    // The render context must exist before the first file is loaded, or mpv finds no video
    // output and plays without a picture.
    m_renderer = MpvRenderer::create(m_mpv.get());
    if (!m_renderer) {
        qCWarning(lcMpv) << "no OpenGL context could be made; playing without pictures.";
        setPropertyAsync("vo", QStringLiteral("null"));
    }
    if (!m_view)
        return;
    m_view->setRenderer(m_renderer.get());
    if (!m_renderer)
        return;
    connect(m_view, &MpvView::pixelSizeChanged, m_renderer.get(), &MpvRenderer::setTargetSize);
    m_renderer->redraw();
}

void MpvEngine::connectView()
{
    connect(m_view, &MpvView::mouseAction, this,
            [this](MpvView::MouseAction action, Qt::MouseButton button,
                   Qt::KeyboardModifiers modifiers, const QPointF& pos) {
                onViewMouse(static_cast<int>(action), button, modifiers, pos);
            });
    connect(m_view, &MpvView::keyReleased, this, [this](int key, Qt::KeyboardModifiers modifiers) {
        emit KeyUp(key, shiftMask(modifiers));
    });
    connect(m_view, &MpvView::escapePressed, this, [this] {
        if (m_displaySize != DisplaySizes::FullScreen)
            return;
        setDisplaySize(DisplaySizes::Fitted);
        emit DisplayModeChange();
    });
}

void MpvEngine::setOptionString(const char* name, const QString& value)
{
    const QByteArray text = value.toUtf8();
    if (mpv_set_option_string(m_mpv.get(), name, text.constData()) < 0)
        qCWarning(lcMpv) << "mpv refused option" << name << value;
}

void MpvEngine::setPropertyAsync(const char* name, const QVariant& value)
{
    start();
    if (!m_mpv)
        return;
    NodeBuilder builder;
    mpv_node node = builder.fromVariant(value);
    mpv_set_property_async(m_mpv.get(), 0, name, MPV_FORMAT_NODE, &node);
}

void MpvEngine::commandAsync(const QVariantList& args, std::uint64_t tag)
{
    start();
    if (!m_mpv)
        return;
    NodeBuilder builder;
    std::vector<mpv_node> items;
    items.reserve(args.size());
    for (const QVariant& arg : args)
        items.push_back(builder.fromVariant(arg));
    mpv_node_list list{static_cast<int>(items.size()), items.data(), nullptr};
    mpv_node command{};
    command.format = MPV_FORMAT_NODE_ARRAY;
    command.u.list = &list;
    mpv_command_node_async(m_mpv.get(), tag, &command);
}

void MpvEngine::getPropertyAsync(const char* name, int format, std::uint64_t tag)
{
    mpv_get_property_async(m_mpv.get(), tag, name, static_cast<mpv_format>(format));
}

bool MpvEngine::setFileName(const QString& path)
{
    start();
    const std::uint64_t generation = ++m_generation;
    m_lastError.clear();
    const MediaGate::Verdict verdict = MediaGate::admit(path);
    if (!m_mpv || !verdict.admitted()) {
        m_pending.reset();
        commandAsync({QStringLiteral("stop")});
        commitClosed(m_mpv ? verdict.refusal : tr("The media engine could not start."));
        // A put waiting below this one reports the refusal.
        wakeWait();
        return false;
    }

    m_pending = std::make_unique<PendingOpen>();
    m_pending->generation = generation;
    m_pending->path = verdict.path;
    m_seekTarget.reset();
    setOpenState(OpenStates::Opening);
    if (m_generation != generation)
        return m_openState == OpenStates::Open;

    // A put starts playing, though mpv keeps the pause of the last file, whose end pauses it.
    // As an option of the file itself it cannot fall between that end and the new start.
    commandAsync({QStringLiteral("loadfile"), verdict.path, QStringLiteral("replace"),
                  QStringLiteral("pause=no")},
                 tagFor(Request::Load, generation));

    // One wait serves every put. A put from a timer or the bus while another waits only
    // replaces the request: a wait of its own would nest an event loop per put, and a flood of
    // "next" would overflow the stack.
    if (m_wait)
        return false;
    return waitForOpen();
}

bool MpvEngine::waitForOpen()
{
    const QPointer<MpvEngine> self(this);
    QEventLoop loop;
    m_wait = &loop;
    bool quitting = false;
    while (m_pending && !pendingResolved()) {
        // Once the application exits, every exec returns -1 at once: waiting on would spin.
        quitting = loop.exec() == -1;
        if (!self)
            return false;
        if (quitting)
            break;
    }
    m_wait = nullptr;
    // A later put was refused while this one waited: its outcome is already in place.
    if (!m_pending)
        return m_openState == OpenStates::Open;

    if (quitting) {
        commandAsync({QStringLiteral("stop")});
        commitClosed(tr("The program is closing."));
    } else if (m_pending->error) {
        commitClosed(cannotPlay(m_pending->path, *m_pending->error));
    } else if (!m_pending->hasPictureSize() && !*m_pending->hasAudio) {
        // mpv takes an empty file whose name promises a picture, and shows nothing.
        commandAsync({QStringLiteral("stop")});
        commitClosed(cannotPlay(m_pending->path, tr("it holds neither sound nor picture.")));
    } else {
        commitOpen();
    }
    return m_openState == OpenStates::Open;
}

void MpvEngine::showMessage(const QString& text)
{
    // mpv draws text only over a file it shows; with none open the view draws it.
    if (m_openState != OpenStates::Open || !m_renderer) {
        if (m_view)
            m_view->showMessage(text, messageDurationMs);
        return;
    }
    // Sent as a node, the text is shown as it is: mpv expands no properties in it.
    commandAsync({QStringLiteral("show-text"), text, messageDurationMs});
}

bool MpvEngine::pendingResolved() const
{
    if (!m_pending)
        return true;
    const PendingOpen& p = *m_pending;
    if (p.error)
        return true;
    if (!p.loaded || !p.duration || !p.hasVideo || !p.hasAudio)
        return false;
    // Without a decoded size by the time mpv plays, the container's size stands in.
    return !*p.hasVideo || (p.videoWidth > 0 && p.videoHeight > 0) || p.playing;
}

void MpvEngine::wakeWait()
{
    if (m_wait)
        m_wait->quit();
}

void MpvEngine::drainEvents()
{
    m_drainQueued = false;
    const QPointer<MpvEngine> self(this);
    while (self && m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        // Handlers may emit, and a receiver may open another file, which drains further
        // events and invalidates this one: nothing reads the event after its handler.
        handleEvent(*event);
    }
    if (!self)
        return;
    if (m_pending && pendingResolved())
        wakeWait();
    updatePlayState();
}

void MpvEngine::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const std::uint64_t index = event.reply_userdata - 1;
        if (index >= std::size(kProperties))
            return;
        const QVariant value = fromMpv(property->format, property->data);
        const PropertyHandler& handler = kProperties[index];
        m_mpvValues.insert(QByteArray(handler.name), value);
        if (handler.onChange)
            (this->*handler.onChange)(value);
        return;
    }
    case MPV_EVENT_GET_PROPERTY_REPLY: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        handleReply(event.reply_userdata, event.error,
                    event.error < 0 ? QVariant() : fromMpv(property->format, property->data));
        return;
    }
    case MPV_EVENT_COMMAND_REPLY: {
        QVariant entry;
        const auto* reply = static_cast<const mpv_event_command*>(event.data);
        if (event.error >= 0 && reply && reply->result.format == MPV_FORMAT_NODE_MAP) {
            const mpv_node_list* map = reply->result.u.list;
            for (int i = 0; i < map->num; ++i) {
                if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 &&
                    map->values[i].format == MPV_FORMAT_INT64)
                    entry = static_cast<qlonglong>(map->values[i].u.int64);
            }
        }
        handleReply(event.reply_userdata, event.error, entry);
        return;
    }
    case MPV_EVENT_START_FILE:
        handleStartFile(static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id);
        return;
    case MPV_EVENT_FILE_LOADED:
        handleFileLoaded();
        return;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        handleEndFile(end->playlist_entry_id, end->reason, end->error);
        return;
    }
    case MPV_EVENT_VIDEO_RECONFIG:
        handleVideoReconfig();
        return;
    case MPV_EVENT_PLAYBACK_RESTART:
        handlePlaybackRestart();
        return;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        const QString text = QString::fromUtf8(message->text).trimmed();
        qCInfo(lcMpv).noquote() << message->prefix << text;
        // The first error says most; later ones tend to repeat it in general terms.
        if (m_pending && message->log_level <= MPV_LOG_LEVEL_ERROR &&
            m_pending->loggedError.isEmpty())
            m_pending->loggedError = text;
        return;
    }
    default:
        return;
    }
}

void MpvEngine::handleReply(std::uint64_t tag, int error, const QVariant& value)
{
    const Request request = requestOf(tag);
    const std::uint64_t generation = generationOf(tag);
    if (request == Request::None)
        return;
    if (request == Request::Seek) {
        if (error < 0 && generation == m_generation)
            m_seekTarget.reset();
        return;
    }
    if (request == Request::VideoWidth || request == Request::VideoHeight) {
        const int size = error < 0 ? 0 : value.toInt();
        if (m_pending && m_pending->generation == generation) {
            (request == Request::VideoWidth ? m_pending->videoWidth : m_pending->videoHeight) =
                size;
        } else if (!m_pending && generation == m_generation && size > 0 &&
                   m_openState == OpenStates::Open) {
            // The picture changed size while playing.
            (request == Request::VideoWidth ? m_width : m_height) = size;
        }
        return;
    }
    if (!m_pending || m_pending->generation != generation)
        return;
    PendingOpen& p = *m_pending;
    switch (request) {
    case Request::Restarted:
        // Asked after the sizes, so their replies are in.
        p.playing = true;
        return;
    case Request::Load:
        if (error < 0)
            p.error = QString::fromUtf8(mpv_error_string(error));
        else if (value.isValid())
            p.entryId = value.toLongLong();
        else
            p.error = tr("The media engine did not accept the file.");
        return;
    case Request::Duration:
        p.duration = error < 0 ? 0.0 : value.toDouble();
        return;
    case Request::VideoTrack:
        // Unavailable means the file has no picture.
        p.hasVideo = error >= 0;
        p.isImage = error >= 0 && value.toBool();
        return;
    case Request::AudioTrack:
        p.hasAudio = error >= 0;
        return;
    case Request::ContainerWidth:
        p.containerWidth = error < 0 ? 0 : value.toInt();
        return;
    case Request::ContainerHeight:
        p.containerHeight = error < 0 ? 0 : value.toInt();
        return;
    default:
        return;
    }
}

void MpvEngine::handleStartFile(std::int64_t entryId)
{
    if (!m_pending || m_pending->entryId != entryId)
        return;
    m_pending->started = true;
    m_entryId = entryId;
    // What mpv reports from here on is the new file's; start from its beginning.
    m_position = 0;
    m_paused = false;
    m_eofReached = false;
    m_dropped = false;
    m_pausedForCache = false;
    m_seekTarget.reset();
}

void MpvEngine::handleFileLoaded()
{
    // mpv says "loaded" for the file it started last, which may be an older put's.
    if (!m_pending || !m_pending->started || m_entryId != m_pending->entryId)
        return;
    m_pending->loaded = true;
    const std::uint64_t generation = m_pending->generation;
    getPropertyAsync("duration", MPV_FORMAT_DOUBLE, tagFor(Request::Duration, generation));
    getPropertyAsync("current-tracks/video/image", MPV_FORMAT_FLAG,
                     tagFor(Request::VideoTrack, generation));
    getPropertyAsync("current-tracks/audio/id", MPV_FORMAT_INT64,
                     tagFor(Request::AudioTrack, generation));
    getPropertyAsync("width", MPV_FORMAT_INT64, tagFor(Request::ContainerWidth, generation));
    getPropertyAsync("height", MPV_FORMAT_INT64, tagFor(Request::ContainerHeight, generation));
    // The decoded size may already be known; otherwise it comes with the video reconfig.
    handleVideoReconfig();
}

void MpvEngine::handleVideoReconfig()
{
    std::uint64_t generation = 0;
    if (m_pending && m_pending->loaded)
        generation = m_pending->generation;
    else if (!m_pending && m_openState == OpenStates::Open)
        generation = m_generation;
    else
        return;
    getPropertyAsync("video-params/w", MPV_FORMAT_INT64, tagFor(Request::VideoWidth, generation));
    getPropertyAsync("video-params/h", MPV_FORMAT_INT64, tagFor(Request::VideoHeight, generation));
}

void MpvEngine::handlePlaybackRestart()
{
    m_seekTarget.reset();
    if (!m_pending || !m_pending->loaded)
        return;
    // mpv starts playing once the first picture is out or the video has ended without one
    // (a decoder that fails on every frame): either way the size it knows now is final.
    handleVideoReconfig();
    getPropertyAsync("pause", MPV_FORMAT_FLAG, tagFor(Request::Restarted, m_pending->generation));
}

void MpvEngine::handleEndFile(std::int64_t entryId, int reason, int error)
{
    if (m_pending) {
        if (!m_pending->entryId || *m_pending->entryId != entryId)
            return; // the file being replaced
        if (reason == MPV_END_FILE_REASON_ERROR) {
            m_pending->error = describeEndError(error, m_pending->path, m_pending->loggedError);
        } else if (reason == MPV_END_FILE_REASON_REDIRECT) {
            // A playlist or similar that mpv would expand into other files.
            commandAsync({QStringLiteral("stop")});
            m_pending->error = tr("Not a media file.");
        } else if (!m_pending->loaded) {
            m_pending->error = tr("Opening was stopped.");
        }
        wakeWait();
        return;
    }
    if (entryId != m_entryId || m_openState != OpenStates::Open)
        return;
    if (reason != MPV_END_FILE_REASON_EOF && reason != MPV_END_FILE_REASON_ERROR) {
        commitClosed(QString());
        return;
    }
    // mpv let go of the open file by itself (the end is otherwise kept open, so a read
    // error, for instance): the entry has ended as one played to its end, and the player
    // goes on to the next.
    if (reason == MPV_END_FILE_REASON_ERROR)
        m_lastError = describeEndError(error, m_fileName, QString());
    m_dropped = true;
}

void MpvEngine::onDuration(const QVariant& value)
{
    // The length of some files is estimated at first and refined while they play.
    if (!m_pending && m_openState == OpenStates::Open && !m_isImage && value.toDouble() > 0)
        m_duration = value.toDouble();
}

void MpvEngine::onTimePos(const QVariant& value)
{
    if (value.isValid())
        m_position = value.toDouble();
}

void MpvEngine::onPause(const QVariant& value)
{
    m_paused = value.toBool();
}

void MpvEngine::onEofReached(const QVariant& value)
{
    m_eofReached = value.toBool();
}

void MpvEngine::onPausedForCache(const QVariant& value)
{
    m_pausedForCache = value.toBool();
}

void MpvEngine::commitOpen()
{
    const std::unique_ptr<PendingOpen> p = std::move(m_pending);
    m_fileName = p->path;
    m_isImage = p->isImage;
    m_duration = m_isImage ? 0.0 : p->duration.value_or(0.0);
    const bool hasVideo = p->hasVideo.value_or(false);
    m_width = !hasVideo ? 0 : p->videoWidth > 0 ? p->videoWidth : p->containerWidth;
    m_height = !hasVideo ? 0 : p->videoHeight > 0 ? p->videoHeight : p->containerHeight;
    setOpenState(OpenStates::Open);
    updatePlayState();
}

void MpvEngine::commitClosed(QString error)
{
    m_pending.reset();
    m_fileName.clear();
    m_duration = 0;
    m_width = 0;
    m_height = 0;
    m_isImage = false;
    m_position = 0;
    m_eofReached = false;
    m_dropped = false;
    m_seekTarget.reset();
    if (!error.isEmpty())
        m_lastError = std::move(error);
    setOpenState(OpenStates::Closed);
    updatePlayState();
}

void MpvEngine::setOpenState(int state)
{
    if (state == m_openState)
        return;
    // The picture takes the view back from a message.
    if (state == OpenStates::Opening && m_view)
        m_view->clearMessage();
    const int old = m_openState;
    m_openState = state;
    emit OpenStateChange(old, state);
}

void MpvEngine::updatePlayState()
{
    // While a put waits, the play state keeps its value and changes once, with the outcome.
    if (m_pending)
        return;
    int state = PlayStates::Playing;
    if (m_openState != OpenStates::Open)
        state = PlayStates::Closed;
    else if ((m_eofReached && m_paused) || m_dropped)
        // mpv pauses at the end to keep the last picture; only then is the end settled, and
        // a Play from a receiver cannot be overtaken by that pause.
        state = PlayStates::Stopped;
    else if (m_paused)
        state = PlayStates::Paused;
    else if (m_pausedForCache)
        state = PlayStates::Waiting;
    if (state == m_playState)
        return;
    const int old = m_playState;
    m_playState = state;
    emit PlayStateChange(old, state);
}

double MpvEngine::CurrentPosition() const
{
    if (m_openState != OpenStates::Open || m_isImage)
        return 0;
    if (m_seekTarget)
        return *m_seekTarget;
    if (m_eofReached || m_dropped)
        return m_duration;
    // Only the end reads as the length itself, so a last frame stamped at or past the
    // container's length is not taken for the end.
    if (m_duration > 0 && m_position >= m_duration)
        return std::nextafter(m_duration, 0.0);
    return std::max(m_position, 0.0);
}

void MpvEngine::setCurrentPosition(double seconds)
{
    if (m_openState != OpenStates::Open || m_pending || m_isImage)
        return;
    const double target = std::clamp(seconds, 0.0, std::max(m_duration, 0.0));
    m_seekTarget = target;
    commandAsync({QStringLiteral("seek"), target, QStringLiteral("absolute+exact")},
                 tagFor(Request::Seek, m_generation));
}

void MpvEngine::Play()
{
    // A file mpv let go of has nothing left to play.
    if (m_openState != OpenStates::Open || m_pending || m_dropped)
        return;
    if (m_eofReached) {
        m_seekTarget = 0.0;
        commandAsync({QStringLiteral("seek"), 0.0, QStringLiteral("absolute+exact")},
                     tagFor(Request::Seek, m_generation));
    }
    setPropertyAsync("pause", false);
}

void MpvEngine::Pause()
{
    if (m_openState != OpenStates::Open || m_pending)
        return;
    setPropertyAsync("pause", true);
}

void MpvEngine::setVolume(int hundredthsOfDecibel)
{
    m_volume = std::min(hundredthsOfDecibel, 0);
    setPropertyAsync("volume", mpvVolumeFromHundredthsOfDecibel(m_volume));
}

void MpvEngine::setShowControls(bool show)
{
    m_showControls = show;
    applyOsd();
}

void MpvEngine::setShowStatusBar(bool show)
{
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
    if (!m_optionsDialog) {
        m_optionsDialog = std::make_unique<EngineOptionsDialog>();
        connect(m_optionsDialog.get(), &EngineOptionsDialog::optionChanged, this,
                [this](EngineOptionsDialog::Option option, const QVariant& value) {
                    const char* name = optionProperty(option);
                    if (option == EngineOptionsDialog::Option::HardwareDecoding)
                        setPropertyAsync(name, value.toBool() ? QStringLiteral("auto-copy-safe")
                                                              : QStringLiteral("no"));
                    else if (option == EngineOptionsDialog::Option::Aspect)
                        setPropertyAsync(name, QString::number(value.toDouble(), 'g', 10));
                    else
                        setPropertyAsync(name, value);
                });
    }
    EngineOptionsDialog::Values values;
    const QString hwdec =
        mpvValue(optionProperty(EngineOptionsDialog::Option::HardwareDecoding)).toString();
    values.hardwareDecoding = !hwdec.isEmpty() && hwdec != QLatin1String("no");
    values.deinterlace =
        mpvValue(optionProperty(EngineOptionsDialog::Option::Deinterlace)).toBool();
    values.aspect = mpvValue(optionProperty(EngineOptionsDialog::Option::Aspect)).toDouble();
    values.mute = mpvValue(optionProperty(EngineOptionsDialog::Option::Mute)).toBool();
    m_optionsDialog->setValues(values);
    if (m_view) {
        const QRect area = m_view->window()->geometry();
        m_optionsDialog->adjustSize();
        m_optionsDialog->move(area.center() - m_optionsDialog->rect().center());
    }
    m_optionsDialog->show();
    m_optionsDialog->raise();
    m_optionsDialog->activateWindow();
}

void MpvEngine::shutDown()
{
    if (m_optionsDialog)
        m_optionsDialog->close();
    setDisplaySize(DisplaySizes::Fitted);
    // An engine never started has nothing to stop, and starting it now would only cost time.
    if (m_mpv)
        commandAsync({QStringLiteral("stop")});
}

QWidget* MpvEngine::optionsDialog() const
{
    return m_optionsDialog.get();
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
        enterFullScreen();
    else
        leaveFullScreen();
}

void MpvEngine::enterFullScreen()
{
    m_fittedParent = m_view->parentWidget();
    QScreen* screen = m_view->window()->screen();
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window->setObjectName(QStringLiteral("engineFullScreen"));
    window->setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    window->setFocusProxy(m_view);
    window->installEventFilter(this);
    if (screen)
        window->setGeometry(screen->geometry());
    m_fullScreenWindow = std::move(window);
    m_fullScreenWindow->showFullScreen();
    m_view->show();
    m_view->setFocus();
    m_fullScreenWindow->activateWindow();
}

void MpvEngine::leaveFullScreen()
{
    if (!m_fullScreenWindow)
        return;
    m_fullScreenWindow->removeEventFilter(this);
    m_fullScreenWindow->setFocusProxy(nullptr);
    m_view->setParent(m_fittedParent);
    if (m_rect.isValid())
        m_view->setGeometry(m_rect);
    m_view->show();
    m_fullScreenWindow.reset();
}

bool MpvEngine::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the full-screen window through the window manager leaves full screen.
    if (watched == m_fullScreenWindow.get() && event->type() == QEvent::Close) {
        event->ignore();
        QTimer::singleShot(0, this, [this] {
            if (m_displaySize != DisplaySizes::FullScreen)
                return;
            setDisplaySize(DisplaySizes::Fitted);
            emit DisplayModeChange();
        });
        return true;
    }
    return MediaEngine::eventFilter(watched, event);
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
    const char* name = mpvButtonName(button);
    if (kind == MpvView::MouseAction::Press) {
        emit MouseDown(buttonCode(button), shiftMask(modifiers), pos.x(), pos.y());
        if (name)
            commandAsync({QStringLiteral("keydown"), QString::fromLatin1(name)});
    } else if (kind == MpvView::MouseAction::Release && name) {
        commandAsync({QStringLiteral("keyup"), QString::fromLatin1(name)});
    }
}
