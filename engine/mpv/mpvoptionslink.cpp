#include "engine/mpv/mpvoptionslink.h"

#include "engine/mpv/engineoptionsdialog.h"
#include "engine/mpv/mpvclient.h"
#include "engine/mpv/mpvevents.h"
#include "engine/mpv/mpvfile.h"
#include "engine/mpv/mpvoptions.h"

namespace {
using Option = EngineOptionsDialog::Option;

// The mpv property behind each setting of the dialog.
const char* propertyOf(Option option)
{
    switch (option) {
    case Option::HardwareDecoding:
        return "hwdec";
    case Option::Deinterlace:
        return "deinterlace";
    case Option::Aspect:
        return "video-aspect-override";
    case Option::Mute:
        return "mute";
    case Option::AudioTrack:
        return "aid";
    case Option::SubtitleTrack:
        return "sid";
    case Option::AudioDevice:
        return "audio-device";
    case Option::Speed:
        return "speed";
    case Option::SubtitleDelay:
        return "sub-delay";
    case Option::AudioDelay:
        return "audio-delay";
    case Option::Brightness:
        return "brightness";
    case Option::Contrast:
        return "contrast";
    case Option::Saturation:
        return "saturation";
    case Option::Gamma:
        return "gamma";
    }
    return nullptr;
}
} // namespace

MpvOptionsLink::MpvOptionsLink(MpvClient& client, MpvEvents& events, const MpvFile& file,
                               QStringList outputs,
                               std::function<void(const QString& path)> addSubtitle)
    : m_client(client), m_events(events), m_file(file), m_outputs(std::move(outputs)),
      m_addSubtitle(std::move(addSubtitle))
{
    connect(&m_events, &MpvEvents::tracksChanged, this, &MpvOptionsLink::update);
}

MpvOptionsLink::~MpvOptionsLink() = default;

void MpvOptionsLink::show(const QRect& over)
{
    if (!m_dialog) {
        m_dialog = std::make_unique<EngineOptionsDialog>();
        connect(m_dialog.get(), &EngineOptionsDialog::optionChanged, this,
                [this](Option option, const QVariant& value) {
                    const char* name = propertyOf(option);
                    if (option == Option::HardwareDecoding)
                        m_client.setPropertyAsync(name, value.toBool()
                                                            ? MpvOptions::hardwareDecoding()
                                                            : QStringLiteral("no"));
                    else if (option == Option::Mute)
                        emit muteChosen(value.toBool());
                    else if (option == Option::Aspect)
                        m_client.setPropertyAsync(name, QString::number(value.toDouble(), 'g', 10));
                    else
                        m_client.setPropertyAsync(name, value);
                });
        connect(m_dialog.get(), &EngineOptionsDialog::subtitleFileChosen, this,
                [this](const QString& path) { m_addSubtitle(path); });
        m_events.followOnDemand();
    }
    refresh();
    if (over.isValid()) {
        m_dialog->adjustSize();
        m_dialog->move(over.center() - m_dialog->rect().center());
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void MpvOptionsLink::close()
{
    if (m_dialog)
        m_dialog->close();
}

void MpvOptionsLink::update()
{
    if (m_dialog && m_dialog->isVisible())
        refresh();
}

void MpvOptionsLink::refresh()
{
    const auto value = [this](Option option) { return m_events.value(propertyOf(option)); };
    EngineOptionsDialog::Values values;
    const QString hwdec = value(Option::HardwareDecoding).toString();
    values.hardwareDecoding = !hwdec.isEmpty() && hwdec != QLatin1String("no");
    values.deinterlace = value(Option::Deinterlace).toBool();
    values.aspect = value(Option::Aspect).toDouble();
    values.mute = value(Option::Mute).toBool();
    // mpv keeps the last file's tracks listed until the next one loads.
    if (m_file.openState == OpenStates::Open) {
        const QVariant tracks = m_events.value("track-list");
        values.audioTracks = TrackList::tracks(tracks, QStringLiteral("audio"));
        values.audioTrack = value(Option::AudioTrack);
        values.subtitleTracks = TrackList::tracks(tracks, QStringLiteral("sub"));
        values.subtitleTrack = value(Option::SubtitleTrack);
        // No track reads back as false; the dialog offers it as "no", which mpv takes.
        if (values.subtitleTrack.typeId() == QMetaType::Bool)
            values.subtitleTrack = QStringLiteral("no");
        values.film = m_file.fileName;
    }
    // The devices of the output in use; before one is open, of the first that has any.
    const QString output = m_events.value("current-ao").toString();
    values.audioDevices = TrackList::devices(m_events.value("audio-device-list"),
                                             output.isEmpty() ? m_outputs : QStringList{output});
    values.audioDevice = value(Option::AudioDevice).toString();
    if (const QVariant speed = value(Option::Speed); speed.isValid())
        values.speed = speed.toDouble();
    values.subtitleDelay = value(Option::SubtitleDelay).toDouble();
    values.audioDelay = value(Option::AudioDelay).toDouble();
    const Option picture[] = {Option::Brightness, Option::Contrast, Option::Saturation,
                              Option::Gamma};
    for (std::size_t i = 0; i < values.picture.size(); ++i)
        values.picture[i] = value(picture[i]).toInt();
    m_dialog->setValues(values);
}
