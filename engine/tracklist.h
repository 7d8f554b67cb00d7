// The tracks and audio devices mpv lists (its track-list and audio-device-list properties, as
// Qt holds them), turned into the choices the options dialog offers.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
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
// mpv's audio devices that one output reaches, labelled by their description, after mpv's own
// "auto". mpv lists every output's devices, and a device of another output plays on the one in
// use; outputs: the one in use, or those mpv may try, in order: the first that lists a device
// is taken.
QList<Choice> devices(const QVariant& deviceList, const QStringList& outputs);

// The index in choices of the one whose value is current; -1 when none is.
qsizetype indexOf(const QList<Choice>& choices, const QVariant& current);

} // namespace TrackList
