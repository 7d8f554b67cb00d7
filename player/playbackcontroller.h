// The one owner of playback: the play glyph, the progress timer, the end of a file and the step
// to the next, the opening of a file, every jump in position and the volume. The glyphs, the
// bars, the menu and the desktop's media controls send it what the user wants; the windows and
// the bus show what it reports.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class MediaEngine;

class PlaybackController : public QObject
{
    Q_OBJECT
public:
    // What it asks of the playlist.
    struct Playlist
    {
        std::function<void()> next;
        std::function<void()> previous;
        // The entry count as the playlist window shows it: the glyphs step only past 1.
        std::function<QString()> countCaption;
        // The count is shown afresh at every change of play state.
        std::function<void()> refreshCount;
    };

    explicit PlaybackController(MediaEngine& engine, QObject* parent = nullptr);

    void setPlaylist(Playlist playlist) { m_playlist = std::move(playlist); }
    // `Timerscroll`: moves the seek fill every 500 ms while a file plays.
    QTimer& Timerscroll() { return m_timerscroll; }

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
    // As far into the file as a fill of fillWidth is along a bar of barWidth.
    void seekAlong(double fillWidth, double barWidth);
    // A press on a bar holds the progress; a press on the seek bar also halts playback, and
    // letting go of it always plays.
    void holdProgress(bool halt);
    void resumeProgress(bool play);
    // Hundredths of a decibel; the only way the volume changes.
    void setVolume(int hundredthsOfDecibel);

signals:
    void playButtonChanged(const QString& caption, const QString& toolTip);
    // Each tick of the progress timer.
    void progress(double position, double duration);
    // A file was opened or closed: the seek fill starts again.
    void fileChanged();
    void volumeChanged(int hundredthsOfDecibel);
    // Every seek, whoever asked for it.
    void positionJumped(double seconds);

private:
    void onPlayStateChange(int newState);

    MediaEngine& m_engine;
    QTimer m_timerscroll;
    Playlist m_playlist;
};
