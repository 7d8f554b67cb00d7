// Subtitle files on their way to mpv. The ones beside a film go with the film itself, as its
// sub-files, so mpv loads them while it opens the film and shows the first as it shows what
// its own search finds. One the user gives later is added, then selected.
#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>

class MpvClient;

class MpvSubtitles : public QObject
{
    Q_OBJECT
public:
    // client must outlive this.
    explicit MpvSubtitles(MpvClient& client);

    struct Beside
    {
        QStringList admitted;
        // Why each file found but not admitted was refused, for the user.
        QStringList refusals;
    };
    // The subtitle files beside a film (SubtitleProbe::beside), each through the same kind of
    // gate as the film itself (MediaGate::admitSubtitle).
    static Beside beside(const QString& film);

    // Once the film of generation is open: the files beside it that mpv could not read (a
    // "subtitle" that is something else) are refused.
    void checkBeside(std::uint64_t generation, const QStringList& paths);
    // An admitted subtitle file the user gave to the open film of generation: shown once mpv
    // has read it.
    void add(std::uint64_t generation, const QString& path);
    // mpv's reply to one of the requests above; current: it is about the open film.
    void handleReply(std::uint64_t tag, int error, const QVariant& value, bool current);

signals:
    // mpv could not read a file the user gave, or one beside the film.
    void refused(const QString& text);

private:
    MpvClient& m_client;
    // The last file the user gave: named should mpv fail to read it, found in the track list.
    QString m_asked;
    QStringList m_beside;
};
