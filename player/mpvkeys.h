// What the keys mpv's users know ask of playback, and the short line the picture shows for each
// key: pure functions, so that the keys' arithmetic and words need no window and no engine.
#pragma once

#include <QString>
#include <QVariant>

namespace MpvKeys {

inline constexpr double minSpeed = 0.25;
inline constexpr double maxSpeed = 4.0;
// Seconds per press of the subtitle and audio delay keys.
inline constexpr double delayStep = 0.1;

enum class SpeedStep
{
    Slower, // -10 %
    Faster, // +10 %
    Half,
    Double,
    Normal,
};

// The speed after one step, kept between minSpeed and maxSpeed.
double steppedSpeed(double speed, SpeedStep step);

// 0:12 under an hour, 1:02:03 from an hour on; hours forces the hour field.
QString clock(double seconds, bool hours = false);

// The lines over the picture.
// hundredthsOfDecibel from -7500 (silent) to 0 (full), as a share of the volume bar.
QString volumeLine(int hundredthsOfDecibel, bool muted);
QString speedLine(double speed);
QString subtitleDelayLine(double seconds);
QString audioDelayLine(double seconds);
// "0:12:34 / 1:30:00": the hour field on both once the length reaches an hour.
QString positionLine(double position, double length);

// One step through the tracks of a kind ("audio" or "sub") of mpv's track-list; subtitles pass
// through "off" after the last track. id: the track id to set, or "no".
struct TrackStep
{
    QVariant id;
    QString line;
};
TrackStep nextTrack(const QVariantList& trackList, const QString& type, const QVariant& current);

// The A-B loop key: A at the position, then B, then neither. a and b as mpv reports them
// (a number, or "no").
struct LoopStep
{
    QVariant a;
    QVariant b;
    QString line;
};
LoopStep abLoopStep(const QVariant& a, const QVariant& b, double position);

// chapter: the current one from 0; the one steps away, kept inside the file, and its line.
struct ChapterStep
{
    qint64 chapter;
    QString line;
};
ChapterStep chapterStep(qint64 chapter, qint64 count, int steps);

// A file name from a film's name and a position: no '/', no leading '.', no control characters.
QString screenshotName(const QString& film, double position);
// The user's Pictures folder: XDG_PICTURES_DIR, else `xdg-user-dir PICTURES`, else ~/Pictures.
QString picturesFolder();
// Makes a new empty file for the screenshot in folder, never one that exists or a link's
// target; returns its path, "" when none could be made.
QString freshScreenshotFile(const QString& folder, const QString& film, double position);
// "Screenshot: ~/Pictures/…png", the home folder as ~.
QString screenshotLine(const QString& path);

} // namespace MpvKeys
