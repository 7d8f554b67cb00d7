// Subtitle files on their way to mpv: the ones found beside a film, handed over in order once
// the film has loaded, and the ones the user gives. Each goes as its own sub-add, with every
// part a node of its own: a name holding commas, colons or "=" stays one name, as mpv splits
// nothing.
#pragma once

#include "engine/subtitleprobe.h"

#include <QObject>
#include <QVariantList>
#include <cstdint>

class MpvClient;

class MpvSubtitles : public QObject
{
    Q_OBJECT
public:
    // client must outlive this.
    explicit MpvSubtitles(MpvClient& client);

    // The subtitle files beside a film (SubtitleProbe::beside), each through the same kind of
    // gate as the film itself (MediaGate::admitSubtitle).
    static QList<SubtitleProbe::Candidate> beside(const QString& film);

    // The film of generation has loaded: gives mpv its subtitle files, one after the other so
    // their tracks keep the probe's order; the first is shown, as mpv shows what it finds.
    void filmLoaded(std::uint64_t generation, QList<SubtitleProbe::Candidate> subtitles);
    // An admitted subtitle file the user gave to the open film of generation: shown at once.
    void add(std::uint64_t generation, const QString& path);
    // mpv's reply to one of the requests above; current: it was about the open film.
    void handleReply(std::uint64_t tag, int error, bool current);

signals:
    // mpv could not read a file the user gave.
    void refused(const QString& text);

private:
    void sendNext(std::uint64_t generation, bool select);

    MpvClient& m_client;
    QList<SubtitleProbe::Candidate> m_queue;
    // The last file the user gave, named should mpv fail to read it.
    QString m_asked;
};
