#include "player/mpvkeys.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace MpvKeys {

double steppedSpeed(double speed, SpeedStep step)
{
    double to = 1.0;
    switch (step) {
    case SpeedStep::Slower:
        to = speed - 0.1;
        break;
    case SpeedStep::Faster:
        to = speed + 0.1;
        break;
    case SpeedStep::Half:
        to = speed / 2;
        break;
    case SpeedStep::Double:
        to = speed * 2;
        break;
    case SpeedStep::Normal:
        break;
    }
    // Whole hundredths, so that ten steps up and ten down come back to where they began.
    return std::clamp(std::round(to * 100) / 100, minSpeed, maxSpeed);
}

QString clock(double seconds, bool hours)
{
    const qint64 whole = std::max<qint64>(0, qint64(std::floor(seconds)));
    const QString minSec =
        QStringLiteral("%1:%2").arg(whole / 60 % 60).arg(whole % 60, 2, 10, QLatin1Char('0'));
    if (!hours && whole < 3600)
        return minSec;
    return QStringLiteral("%1:%2")
        .arg(whole / 3600)
        .arg(minSec.rightJustified(5, QLatin1Char('0')));
}

QString volumeLine(int hundredthsOfDecibel, bool muted)
{
    if (muted)
        return QStringLiteral("Mute");
    const int percent = std::clamp(int(std::lround((hundredthsOfDecibel + 7500) / 75.0)), 0, 100);
    return QStringLiteral("Volume %1 %").arg(percent);
}

QString speedLine(double speed)
{
    return QStringLiteral("Speed %1×").arg(speed, 0, 'g', 4);
}

namespace {
QString signedSeconds(double seconds)
{
    const double tenths = std::round(seconds * 10) / 10;
    return (tenths > 0 ? QStringLiteral("+") : QString()) + QString::number(tenths + 0.0, 'f', 1) +
           QStringLiteral(" s");
}
} // namespace

QString subtitleDelayLine(double seconds)
{
    return QStringLiteral("Subtitle delay ") + signedSeconds(seconds);
}

QString audioDelayLine(double seconds)
{
    return QStringLiteral("Audio delay ") + signedSeconds(seconds);
}

QString positionLine(double position, double length)
{
    const bool hours = length >= 3600;
    return clock(position, hours) + QStringLiteral(" / ") + clock(length, hours);
}

TrackStep nextTrack(const QVariantList& trackList, const QString& type, const QVariant& current)
{
    QList<QVariantMap> tracks;
    for (const QVariant& entry : trackList)
        if (entry.toMap().value(QStringLiteral("type")).toString() == type)
            tracks << entry.toMap();
    const QString kind =
        type == QLatin1String("sub") ? QStringLiteral("Subtitles") : QStringLiteral("Audio");
    qsizetype at = -1;
    for (qsizetype i = 0; i < tracks.size(); ++i)
        if (current.canConvert<qlonglong>() && current.toString() != QLatin1String("no") &&
            tracks[i].value(QStringLiteral("id")).toLongLong() == current.toLongLong())
            at = i;
    const qsizetype next = at + 1;
    // Audio goes round its tracks; subtitles go off after the last.
    if (tracks.isEmpty() || (next >= tracks.size() && type == QLatin1String("sub")))
        return {QStringLiteral("no"), kind + QStringLiteral(" off")};
    const QVariantMap& track = tracks[next % tracks.size()];
    QString line =
        QStringLiteral("%1 %2/%3").arg(kind).arg(next % tracks.size() + 1).arg(tracks.size());
    const QString name = track.value(QStringLiteral("lang")).toString();
    const QString title = track.value(QStringLiteral("title")).toString();
    if (!name.isEmpty() || !title.isEmpty())
        line += QStringLiteral(": ") + (name.isEmpty() ? title : name);
    return {track.value(QStringLiteral("id")), line};
}

namespace {
bool isSet(const QVariant& point)
{
    return point.isValid() && point.toString() != QLatin1String("no") && point.canConvert<double>();
}
} // namespace

LoopStep abLoopStep(const QVariant& a, const QVariant& b, double position)
{
    const QString no = QStringLiteral("no");
    if (!isSet(a))
        return {position, no, QStringLiteral("A-B loop: A ") + clock(position)};
    if (!isSet(b))
        return {a, position,
                QStringLiteral("A-B loop: A %1 B %2").arg(clock(a.toDouble()), clock(position))};
    return {no, no, QStringLiteral("A-B loop off")};
}

ChapterStep chapterStep(qint64 chapter, qint64 count, int steps)
{
    if (count <= 0)
        return {chapter, QStringLiteral("No chapters")};
    const qint64 to = std::clamp<qint64>(chapter + steps, 0, count - 1);
    return {to, QStringLiteral("Chapter %1/%2").arg(to + 1).arg(count)};
}

QString screenshotName(const QString& film, double position)
{
    QString name = QFileInfo(film).completeBaseName();
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c.category() == QChar::Other_Control ||
            c.category() == QChar::Other_Format)
            c = QLatin1Char('_');
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    name = name.left(120);
    if (name.isEmpty())
        name = QStringLiteral("orvella");
    return name + QLatin1Char(' ') +
           clock(position, true).replace(QLatin1Char(':'), QLatin1Char('.'));
}

QString picturesFolder()
{
    const QString fromEnv = qEnvironmentVariable("XDG_PICTURES_DIR");
    if (QDir::isAbsolutePath(fromEnv))
        return fromEnv;
    const QString home = QDir::homePath();
    QProcess ask;
    ask.start(QStringLiteral("xdg-user-dir"), {QStringLiteral("PICTURES")});
    if (ask.waitForFinished(2000) && ask.exitCode() == 0) {
        const QString folder = QString::fromLocal8Bit(ask.readAllStandardOutput()).trimmed();
        // xdg-user-dir answers the home folder itself when no Pictures folder is set.
        if (QDir::isAbsolutePath(folder) && QDir(folder) != QDir(home))
            return folder;
    }
    return home + QStringLiteral("/Pictures");
}

QString freshScreenshotFile(const QString& folder, const QString& film, double position)
{
    if (!QDir().mkpath(folder))
        return {};
    const QString base = QDir(folder).filePath(screenshotName(film, position));
    for (int n = 1; n < 1000; ++n) {
        const QString path =
            base + (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + QStringLiteral(".png");
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

QString screenshotLine(const QString& path)
{
    const QString home = QDir::homePath() + QLatin1Char('/');
    return QStringLiteral("Screenshot: ") +
           (path.startsWith(home) ? QStringLiteral("~/") + path.mid(home.size()) : path);
}

} // namespace MpvKeys
