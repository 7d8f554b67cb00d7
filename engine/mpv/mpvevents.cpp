#include "engine/mpv/mpvevents.h"

#include "engine/mpv/mpvclient.h"
#include "engine/mpv/mpvfile.h"
#include "engine/mpv/mpvopen.h"

#include <QPointer>

struct MpvEvents::PropertyHandler
{
    const char* name;
    mpv_format format;
    void (MpvEvents::*onChange)(const QVariant& value);
    // Followed only once followOnDemand() asks.
    bool onDemand = false;
};

// Every mpv property the engine follows; the index + 1 is the observation's id. Values land in
// m_values; those the engine's members depend on also go to their handler.
const MpvEvents::PropertyHandler MpvEvents::kProperties[] = {
    {"duration", MPV_FORMAT_DOUBLE, &MpvEvents::onDuration},
    {"time-pos", MPV_FORMAT_DOUBLE, &MpvEvents::onTimePos},
    {"pause", MPV_FORMAT_FLAG, &MpvEvents::onPause},
    {"eof-reached", MPV_FORMAT_FLAG, &MpvEvents::onEofReached},
    {"paused-for-cache", MPV_FORMAT_FLAG, &MpvEvents::onPausedForCache},
    {"volume", MPV_FORMAT_DOUBLE, nullptr},
    // Shown in the options dialog, which follows them as it follows the tracks: a dialog
    // opened before mpv's first report shows the values that come after.
    {"mute", MPV_FORMAT_FLAG, &MpvEvents::onMute},
    {"hwdec", MPV_FORMAT_STRING, &MpvEvents::onTracks},
    {"deinterlace", MPV_FORMAT_FLAG, &MpvEvents::onTracks},
    {"video-aspect-override", MPV_FORMAT_DOUBLE, &MpvEvents::onTracks},
    {"osd-level", MPV_FORMAT_INT64, nullptr},
    {"script-opts", MPV_FORMAT_STRING, nullptr},
    {"track-list", MPV_FORMAT_NODE, &MpvEvents::onTracks},
    {"aid", MPV_FORMAT_NODE, &MpvEvents::onTracks},
    {"sid", MPV_FORMAT_NODE, &MpvEvents::onTracks},
    {"audio-device", MPV_FORMAT_STRING, &MpvEvents::onTracks},
    // The output in use: the dialog lists its devices, and the null one means no sound.
    {"current-ao", MPV_FORMAT_STRING, &MpvEvents::onAudioOutput},
    // What the keys turn and read back; the dialog and the desktop follow some of them.
    {"speed", MPV_FORMAT_DOUBLE, &MpvEvents::onTracks},
    {"sub-delay", MPV_FORMAT_DOUBLE, &MpvEvents::onTracks},
    {"audio-delay", MPV_FORMAT_DOUBLE, &MpvEvents::onTracks},
    {"ab-loop-a", MPV_FORMAT_NODE, nullptr},
    {"ab-loop-b", MPV_FORMAT_NODE, nullptr},
    {"loop-file", MPV_FORMAT_NODE, nullptr},
    {"chapter", MPV_FORMAT_INT64, nullptr},
    {"chapters", MPV_FORMAT_INT64, nullptr},
    {"sub-visibility", MPV_FORMAT_FLAG, nullptr},
    {"brightness", MPV_FORMAT_INT64, &MpvEvents::onTracks},
    {"contrast", MPV_FORMAT_INT64, &MpvEvents::onTracks},
    {"saturation", MPV_FORMAT_INT64, &MpvEvents::onTracks},
    {"gamma", MPV_FORMAT_INT64, &MpvEvents::onTracks},
    // Listing the devices wakes every audio output's device watch (a server connection for
    // some): not worth it before anyone asks.
    {"audio-device-list", MPV_FORMAT_NODE, &MpvEvents::onTracks, true},
};

MpvEvents::MpvEvents(MpvClient& client, MpvOpen& open, MpvFile& file)
    : m_client(client), m_open(open), m_file(file)
{
}

void MpvEvents::start()
{
    mpv_handle* mpv = m_client.handle();
    mpv_request_log_messages(mpv, "error");
    for (std::size_t i = 0; i < std::size(kProperties); ++i) {
        if (!kProperties[i].onDemand)
            mpv_observe_property(mpv, i + 1, kProperties[i].name, kProperties[i].format);
    }
    mpv_set_wakeup_callback(
        mpv,
        [](void* self) {
            auto* events = static_cast<MpvEvents*>(self);
            if (!events->m_drainQueued.exchange(true))
                QMetaObject::invokeMethod(events, &MpvEvents::drain, Qt::QueuedConnection);
        },
        this);
}

void MpvEvents::followOnDemand()
{
    if (m_followingOnDemand || !m_client)
        return;
    m_followingOnDemand = true;
    for (std::size_t i = 0; i < std::size(kProperties); ++i) {
        if (kProperties[i].onDemand)
            mpv_observe_property(m_client.handle(), i + 1, kProperties[i].name,
                                 kProperties[i].format);
    }
}

void MpvEvents::stop()
{
    if (m_client)
        mpv_set_wakeup_callback(m_client.handle(), nullptr, nullptr);
}

void MpvEvents::drain()
{
    m_drainQueued = false;
    const QPointer<MpvEvents> self(this);
    while (self && m_client) {
        const mpv_event* event = mpv_wait_event(m_client.handle(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        // Handlers may emit, and a receiver may open another file, which drains further
        // events and invalidates this one: nothing reads the event after its handler.
        handle(*event);
    }
    if (!self)
        return;
    m_open.eventsHandled();
}

void MpvEvents::handle(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        const std::uint64_t index = event.reply_userdata - 1;
        if (index >= std::size(kProperties))
            return;
        const QVariant value = fromMpv(property->format, property->data);
        const PropertyHandler& handler = kProperties[index];
        m_values.insert(QByteArray(handler.name), value);
        if (handler.onChange)
            (this->*handler.onChange)(value);
        return;
    }
    case MPV_EVENT_GET_PROPERTY_REPLY: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        m_open.handleReply(event.reply_userdata, event.error,
                           event.error < 0 ? QVariant()
                                           : fromMpv(property->format, property->data));
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
        m_open.handleReply(event.reply_userdata, event.error, entry);
        return;
    }
    case MPV_EVENT_START_FILE:
        m_open.handleStartFile(
            static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id);
        return;
    case MPV_EVENT_FILE_LOADED:
        m_open.handleFileLoaded();
        return;
    case MPV_EVENT_END_FILE: {
        const auto* end = static_cast<const mpv_event_end_file*>(event.data);
        m_open.handleEndFile(end->playlist_entry_id, end->reason, end->error);
        return;
    }
    case MPV_EVENT_VIDEO_RECONFIG:
        m_open.handleVideoReconfig();
        return;
    case MPV_EVENT_PLAYBACK_RESTART:
        m_open.handlePlaybackRestart();
        return;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto* message = static_cast<const mpv_event_log_message*>(event.data);
        const QString text = QString::fromUtf8(message->text).trimmed();
        qCInfo(lcMpv).noquote() << message->prefix << text;
        if (message->log_level <= MPV_LOG_LEVEL_ERROR)
            m_open.noteLoggedError(text);
        return;
    }
    default:
        return;
    }
}

void MpvEvents::onDuration(const QVariant& value)
{
    // The length of some files is estimated at first and refined while they play.
    if (!m_open.pending() && m_file.openState == OpenStates::Open && !m_file.isImage &&
        value.toDouble() > 0)
        m_file.duration = value.toDouble();
}

void MpvEvents::onTimePos(const QVariant& value)
{
    if (value.isValid())
        m_file.position = value.toDouble();
}

void MpvEvents::onPause(const QVariant& value)
{
    m_file.paused = value.toBool();
}

void MpvEvents::onEofReached(const QVariant& value)
{
    m_file.eofReached = value.toBool();
}

void MpvEvents::onPausedForCache(const QVariant& value)
{
    m_file.pausedForCache = value.toBool();
}

void MpvEvents::onTracks(const QVariant&)
{
    emit tracksChanged();
}

void MpvEvents::onMute(const QVariant& value)
{
    emit tracksChanged();
    emit muteChanged(value.toBool());
}

void MpvEvents::onAudioOutput(const QVariant& value)
{
    emit tracksChanged();
    emit audioOutputChanged(value.toString());
}
