// The tracks and audio devices mpv lists (its track-list and audio-device-list properties, as
// Qt holds them), turned into the choices the options dialog offers.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace TrackList {

struct Choice
{
    QString label;
    // What mpv is given to pick it: a track id, "no" for no track, a device name.
    QVariant value;
};

// The tracks of one type ("audio", "sub", "video") in mpv's order, labelled by id, title,
// language and codec.
QList<Choice> tracks(const QVariant& trackList, const QString& type);
// mpv's audio devices, labelled by their description.
QList<Choice> devices(const QVariant& deviceList);

// The index in choices of the one whose value is current; -1 when none is.
qsizetype indexOf(const QList<Choice>& choices, const QVariant& current);

} // namespace TrackList
