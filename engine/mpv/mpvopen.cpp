#include "engine/mpv/mpvopen.h"

#include "engine/mediagate.h"
#include "engine/mpv/mpvclient.h"
#include "engine/mpv/mpvfile.h"
#include "engine/mpv/mpvloadpacer.h"
#include "engine/mpv/mpvsubtitles.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <optional>

namespace {
// Played no further than this, a file that ends in an error is taken as one that never opened.
constexpr double kHardlyPlayedSeconds = 1.0;

QString describeEndError(int error, const QString& path, const QString& logged)
{
    if (!path.contains(QStringLiteral("://")) && !QFileInfo::exists(path))
        return QStringLiteral("No such file: %1").arg(MediaGate::printable(path));
    QString text = QString::fromUtf8(mpv_error_string(error));
    // mpv's own words may quote the file's name, or what the file holds.
    if (!logged.isEmpty())
        text += QStringLiteral(" (%1)").arg(MediaGate::printable(logged));
    return text;
}

// Demuxers that take a file for a description of a network stream and open sockets to receive
// it; the demuxer's protocol list shuts them out already, and a file mpv still opens with one of
// them is refused.
bool isNetworkFormat(const QString& format)
{
    static const QStringList network{QStringLiteral("sdp"), QStringLiteral("rtsp"),
                                     QStringLiteral("rtp"), QStringLiteral("sap")};
    return network.contains(format, Qt::CaseInsensitive);
}

// What the user reads when mpv could not play a file the gate let through.
QString cannotPlay(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot play %1: %2")
        .arg(MediaGate::printable(QFileInfo(path).fileName()), reason);
}
} // namespace

struct MpvOpen::PendingOpen
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
    // Subtitle files beside the film: those the gate let through, looked for in mpv's track
    // list once the film is open, and why the others were refused, told then.
    QStringList subtitlesBeside;
    QStringList subtitleRefusals;
};

MpvOpen::MpvOpen(MpvClient& client, MpvFile& file)
    : m_client(client), m_file(file), m_subtitles(std::make_unique<MpvSubtitles>(client)),
      m_loads(std::make_unique<MpvLoadPacer>(client))
{
    connect(m_subtitles.get(), &MpvSubtitles::refused, this, &MpvOpen::refused);
}

MpvOpen::~MpvOpen() = default;

bool MpvOpen::open(const QString& path)
{
    const std::uint64_t generation = ++m_generation;
    m_file.lastError.clear();
    const MediaGate::Verdict verdict = MediaGate::admit(path);
    if (!m_client || !verdict.admitted()) {
        m_pending.reset();
        m_loads->dropHeld();
        m_client.commandAsync({QStringLiteral("stop")});
        commitClosed(m_client ? verdict.refusal : tr("The media engine could not start."));
        // A put waiting below this one reports the refusal.
        wakeWait();
        return false;
    }

    m_pending = std::make_unique<PendingOpen>();
    m_pending->generation = generation;
    m_pending->path = verdict.path;
    m_file.seekTarget.reset();
    setOpenState(OpenStates::Opening);
    if (m_generation != generation)
        return m_file.openState == OpenStates::Open;

    // A put starts playing, though mpv keeps the pause of the last file, whose end pauses it.
    // As an option of the file itself it cannot fall between that end and the new start.
    // The tracks chosen for one file are that file's: each starts from mpv's own choice, as a
    // sound track switched off would otherwise stay off for every file after it.
    QList<MpvClient::FileOption> options{{"pause", QStringLiteral("no")},
                                         {"aid", QStringLiteral("auto")},
                                         {"sid", QStringLiteral("auto")}};
    MpvSubtitles::Beside subtitles = MpvSubtitles::beside(verdict.path);
    for (const QString& subtitle : subtitles.admitted)
        options.append({"sub-files-append", subtitle});
    m_pending->subtitlesBeside = subtitles.admitted;
    m_pending->subtitleRefusals = std::move(subtitles.refusals);
    m_loads->send(verdict.path, std::move(options), generation);

    // One wait serves every put. A put from a timer or the bus while another waits only
    // replaces the request: a wait of its own would nest an event loop per put, and a flood of
    // "next" would overflow the stack.
    if (m_wait)
        return false;
    return waitForOpen();
}

bool MpvOpen::waitForOpen()
{
    const QPointer<MpvOpen> self(this);
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
        return m_file.openState == OpenStates::Open;

    if (quitting) {
        m_loads->dropHeld();
        m_client.commandAsync({QStringLiteral("stop")});
        commitClosed(tr("The program is closing."));
    } else if (m_pending->error) {
        commitClosed(cannotPlay(m_pending->path, *m_pending->error));
    } else if (!m_pending->hasPictureSize() && !*m_pending->hasAudio) {
        // mpv takes an empty file whose name promises a picture, and shows nothing.
        m_client.commandAsync({QStringLiteral("stop")});
        commitClosed(cannotPlay(m_pending->path, tr("it holds neither sound nor picture.")));
    } else {
        commitOpen();
    }
    return m_file.openState == OpenStates::Open;
}

bool MpvOpen::pendingResolved() const
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

void MpvOpen::wakeWait()
{
    if (m_wait)
        m_wait->quit();
}

void MpvOpen::eventsHandled()
{
    if (m_pending && pendingResolved())
        wakeWait();
    updatePlayState();
}

void MpvOpen::noteLoggedError(const QString& text)
{
    // The first error says most; later ones tend to repeat it in general terms.
    if (m_pending && m_pending->loggedError.isEmpty())
        m_pending->loggedError = text;
}

void MpvOpen::handleReply(std::uint64_t tag, int error, const QVariant& value)
{
    const Request request = requestOf(tag);
    const std::uint64_t generation = generationOf(tag);
    if (request == Request::None)
        return;
    if (request == Request::Load)
        m_loads->handleReply(generation, error, value);
    if (request == Request::Seek) {
        if (error < 0 && generation == m_generation)
            m_file.seekTarget.reset();
        return;
    }
    if (request == Request::Subtitle || request == Request::SubtitleTracks ||
        request == Request::BesideTracks) {
        m_subtitles->handleReply(tag, error, value, generation == m_generation);
        return;
    }
    if (request == Request::VideoWidth || request == Request::VideoHeight) {
        const int size = error < 0 ? 0 : value.toInt();
        if (m_pending && m_pending->generation == generation) {
            (request == Request::VideoWidth ? m_pending->videoWidth : m_pending->videoHeight) =
                size;
        } else if (!m_pending && generation == m_generation && size > 0 &&
                   m_file.openState == OpenStates::Open) {
            // The picture changed size while playing.
            (request == Request::VideoWidth ? m_file.width : m_file.height) = size;
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
    case Request::FileFormat:
        if (error >= 0 && isNetworkFormat(value.toString())) {
            m_client.commandAsync({QStringLiteral("stop")});
            p.error = tr("Not a media file.");
            wakeWait();
        }
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

void MpvOpen::handleStartFile(std::int64_t entryId)
{
    m_loads->handleStartFile(entryId);
    if (!m_pending || m_pending->entryId != entryId)
        return;
    m_pending->started = true;
    m_file.entryId = entryId;
    // What mpv reports from here on is the new file's; start from its beginning.
    m_file.position = 0;
    m_file.paused = false;
    m_file.eofReached = false;
    m_file.dropped = false;
    m_file.pausedForCache = false;
    m_file.seekTarget.reset();
}

void MpvOpen::handleFileLoaded()
{
    m_loads->handleFileLoaded();
    // mpv says "loaded" for the file it started last, which may be an older put's.
    if (!m_pending || !m_pending->started || m_file.entryId != m_pending->entryId)
        return;
    m_pending->loaded = true;
    const std::uint64_t generation = m_pending->generation;
    // Asked first, so that its answer comes before the open can settle.
    m_client.getPropertyAsync("file-format", MPV_FORMAT_STRING,
                              tagFor(Request::FileFormat, generation));
    m_client.getPropertyAsync("duration", MPV_FORMAT_DOUBLE, tagFor(Request::Duration, generation));
    m_client.getPropertyAsync("current-tracks/video/image", MPV_FORMAT_FLAG,
                              tagFor(Request::VideoTrack, generation));
    m_client.getPropertyAsync("current-tracks/audio/id", MPV_FORMAT_INT64,
                              tagFor(Request::AudioTrack, generation));
    m_client.getPropertyAsync("width", MPV_FORMAT_INT64,
                              tagFor(Request::ContainerWidth, generation));
    m_client.getPropertyAsync("height", MPV_FORMAT_INT64,
                              tagFor(Request::ContainerHeight, generation));
    // The decoded size may already be known; otherwise it comes with the video reconfig.
    handleVideoReconfig();
}

QString MpvOpen::addSubtitle(const QString& path)
{
    const MediaGate::Verdict verdict = MediaGate::admitSubtitle(path);
    if (!verdict.admitted())
        return verdict.refusal;
    if (m_pending || m_file.openState != OpenStates::Open)
        return tr("No film is open for the subtitle file: %1")
            .arg(MediaGate::printable(QFileInfo(verdict.path).fileName()));
    m_subtitles->add(m_generation, verdict.path);
    return {};
}

void MpvOpen::handleVideoReconfig()
{
    std::uint64_t generation = 0;
    if (m_pending && m_pending->loaded)
        generation = m_pending->generation;
    else if (!m_pending && m_file.openState == OpenStates::Open)
        generation = m_generation;
    else
        return;
    m_client.getPropertyAsync("video-params/w", MPV_FORMAT_INT64,
                              tagFor(Request::VideoWidth, generation));
    m_client.getPropertyAsync("video-params/h", MPV_FORMAT_INT64,
                              tagFor(Request::VideoHeight, generation));
}

void MpvOpen::handlePlaybackRestart()
{
    m_file.seekTarget.reset();
    if (!m_pending || !m_pending->loaded)
        return;
    // mpv starts playing once the first picture is out or the video has ended without one
    // (a decoder that fails on every frame): either way the size it knows now is final.
    handleVideoReconfig();
    m_client.getPropertyAsync("pause", MPV_FORMAT_FLAG,
                              tagFor(Request::Restarted, m_pending->generation));
}

void MpvOpen::handleEndFile(std::int64_t entryId, int reason, int error)
{
    m_loads->handleEndFile(entryId);
    if (m_pending) {
        if (!m_pending->entryId || *m_pending->entryId != entryId)
            return; // the file being replaced
        if (reason == MPV_END_FILE_REASON_ERROR) {
            m_pending->error = describeEndError(error, m_pending->path, m_pending->loggedError);
        } else if (reason == MPV_END_FILE_REASON_REDIRECT) {
            // A playlist or similar that mpv would expand into other files.
            m_client.commandAsync({QStringLiteral("stop")});
            m_pending->error = tr("Not a media file.");
        } else if (!m_pending->loaded) {
            m_pending->error = tr("Opening was stopped.");
        }
        wakeWait();
        return;
    }
    if (entryId != m_file.entryId || m_file.openState != OpenStates::Open)
        return;
    if (reason != MPV_END_FILE_REASON_EOF && reason != MPV_END_FILE_REASON_ERROR) {
        commitClosed(QString());
        return;
    }
    // A file that fails as soon as it opened (no sound output for a sound file, a decoder out
    // of memory) is refused, as if it had failed to open: ended as played through, a list of
    // one would open it again and again.
    if (reason == MPV_END_FILE_REASON_ERROR && m_file.position < kHardlyPlayedSeconds) {
        const QString text =
            cannotPlay(m_file.fileName, describeEndError(error, m_file.fileName, {}));
        commitClosed(text);
        emit refused(text);
        return;
    }
    // mpv let go of the open file by itself (the end is otherwise kept open, so a read
    // error, for instance): the entry has ended as one played to its end, and the player
    // goes on to the next.
    if (reason == MPV_END_FILE_REASON_ERROR)
        m_file.lastError = describeEndError(error, m_file.fileName, QString());
    m_file.dropped = true;
}

void MpvOpen::commitOpen()
{
    const std::unique_ptr<PendingOpen> p = std::move(m_pending);
    m_file.fileName = p->path;
    m_file.isImage = p->isImage;
    m_file.duration = m_file.isImage ? 0.0 : p->duration.value_or(0.0);
    const bool hasVideo = p->hasVideo.value_or(false);
    m_file.width = !hasVideo ? 0 : p->videoWidth > 0 ? p->videoWidth : p->containerWidth;
    m_file.height = !hasVideo ? 0 : p->videoHeight > 0 ? p->videoHeight : p->containerHeight;
    setOpenState(OpenStates::Open);
    updatePlayState();
    for (const QString& refusal : p->subtitleRefusals)
        emit refused(refusal);
    if (!p->subtitlesBeside.isEmpty())
        m_subtitles->checkBeside(p->generation, p->subtitlesBeside);
}

void MpvOpen::commitClosed(QString error)
{
    m_pending.reset();
    m_file.fileName.clear();
    m_file.duration = 0;
    m_file.width = 0;
    m_file.height = 0;
    m_file.isImage = false;
    m_file.position = 0;
    m_file.eofReached = false;
    m_file.dropped = false;
    m_file.seekTarget.reset();
    if (!error.isEmpty())
        m_file.lastError = std::move(error);
    setOpenState(OpenStates::Closed);
    updatePlayState();
}

void MpvOpen::setOpenState(int state)
{
    if (state == m_file.openState)
        return;
    const int old = m_file.openState;
    m_file.openState = state;
    emit openStateChanged(old, state);
}

void MpvOpen::updatePlayState()
{
    // While a put waits, the play state keeps its value and changes once, with the outcome.
    if (m_pending)
        return;
    int state = PlayStates::Playing;
    if (m_file.openState != OpenStates::Open)
        state = PlayStates::Closed;
    else if ((m_file.eofReached && m_file.paused) || m_file.dropped)
        // mpv pauses at the end to keep the last picture; only then is the end settled, and
        // a Play from a receiver cannot be overtaken by that pause.
        state = PlayStates::Stopped;
    else if (m_file.paused)
        state = PlayStates::Paused;
    else if (m_file.pausedForCache)
        state = PlayStates::Waiting;
    if (state == m_file.playState)
        return;
    const int old = m_file.playState;
    m_file.playState = state;
    emit playStateChanged(old, state);
}

std::uint64_t MpvOpen::loadsSent() const
{
    return m_loads->sent();
}
