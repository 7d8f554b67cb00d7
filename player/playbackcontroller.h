// The one owner of playback: the play glyph, the progress timer, the end of a file and the step
// to the next, the opening of a file, every jump in position and the volume. The glyphs, the
// bars, the menu, the keys and the desktop's media controls send it what the user wants; the
// windows and the bus show what it reports.
#pragma once

#include "playlist/playlist.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class MediaEngine;

class PlaybackController : public QObject, public Playlist::Player
{
    Q_OBJECT
public:
    // The controller opens the playlist's entries and steps through it.
    PlaybackController(MediaEngine& engine, Playlist& playlist, QObject* parent = nullptr);

    // Moves the seek fill every 500 ms while a file plays.
    QTimer& progressTimer() { return m_progressTimer; }

    int entries() const { return m_playlist.count(); }
    void playNow(const QString& path) { m_playlist.playNow(path); }
    // A playlist entry: quotes dropped, opened; true when the engine took it.
    bool openEntry(const QString& path) override;
    bool playing() const override;
    // A file the user chose is open (not the start-up picture, not nothing).
    bool hasTrack() const;
    // Counts the files opened: it names what plays, for as long as it plays.
    quint64 trackSerial() const { return m_trackSerial; }

    // A tick of the progress timer: where playback is now.
    void tick();
    // Opens path in the engine; a refusal is told. Returns whether the engine took it.
    bool open(const QString& path);
    // A drop on the picture: its subtitle files go to the film that plays, or are refused with
    // a word (SubtitleDrop::split). Returns the rest, for the playlist.
    QStringList takeSubtitles(const QStringList& dropped);
    // Says why a file or list was not taken: one line on standard error, a few seconds over
    // the picture.
    void tellRefusal(const QString& text);

    // The play glyph: halts while playing, plays otherwise; nothing while no length is known.
    void togglePlay();
    // The previous and next glyphs: only with more than one entry.
    void stepPrevious();
    void stepNext();
    // To seconds, from any source.
    void seek(double seconds);
    // seconds on from where playback is (back when negative), kept inside the file.
    void seekBy(double seconds);
    // As far into the file as a fill of fillWidth is along a bar of barWidth.
    void seekAlong(double fillWidth, double barWidth);
    // A press on a bar holds the progress; a press on the seek bar also halts playback, and
    // letting go of it always plays.
    void holdProgress(bool halt);
    void resumeProgress(bool play);
    // Hundredths of a decibel; the only way the volume changes. Reaching for the volume while
    // muted brings the sound back.
    void setVolume(int hundredthsOfDecibel);
    // Whole volume steps up (down when negative), between silent and full.
    void stepVolume(int steps);
    // Mute on and off; the volume is kept for when the sound comes back.
    void toggleMute();
    void setMute(bool mute);

signals:
    void playButtonChanged(const QString& caption, const QString& toolTip);
    // Each tick of the progress timer, and each jump.
    void progress(double position, double duration);
    // A file was opened or closed: the seek fill starts again.
    void fileChanged();
    // What the volume bar shows: the volume, or silence while muted.
    void volumeChanged(int hundredthsOfDecibel);
    // Every seek, whoever asked for it.
    void positionJumped(double seconds);
    // open() took a file: what plays is another track.
    void trackChanged();
    // openEntry() took an entry; the window sizes itself to it.
    void entryOpened();

private:
    void onPlayStateChange(int newState);
    void showVolume();

    MediaEngine& m_engine;
    QTimer m_progressTimer;
    Playlist& m_playlist;
    QString m_opened;
    quint64 m_trackSerial = 0;
};
