#include "playlist/orvformat.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <algorithm>

namespace OrvFormat {

namespace {

constexpr QLatin1StringView LineEnd{"\r\n"};
constexpr QChar Quote = u'"';

constexpr QLatin1StringView Header{
    "<ORV Version = \"1.1\" >\r\n"
    "\r\n"
    "<Param Name = \"Name\" Value = \"Orvella Playlist - ORV Format - \" />\r\n"
    "<Param Name = \"AllowShuffle\" Value = \"yes\" />\r\n"
    "\r\n"};
constexpr QLatin1StringView Closing{"</ORV>\r\n"};

QString refusedPathError(const QString& path)
{
    QString reason = QStringLiteral("the system's character encoding cannot hold it");
    if (path.contains(Quote))
        reason = QStringLiteral("it holds a double quote");
    else if (path.endsWith(PathMarker.chopped(1)))
        reason = QStringLiteral("it ends in the text that starts an entry's path");
    return QStringLiteral("The path %1 cannot be stored in a playlist file: %2.").arg(path, reason);
}

} // namespace

QString entryName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

bool canHold(const QString& path)
{
    // A path ending in the marker's text would make its own closing quote start a second entry.
    return !path.contains(Quote) && !path.endsWith(PathMarker.chopped(1)) &&
           QString::fromLocal8Bit(path.toLocal8Bit()) == path;
}

QByteArray serialize(const QStringList& paths)
{
    QString text;
    text.reserve(Header.size() + Closing.size() + paths.size() * 96);
    text += Header;
    for (const QString& path : paths) {
        text += QLatin1StringView("<Entry>\r\n");
        text += NameMarker + entryName(path) + QLatin1StringView("\" />\r\n");
        text += PathMarker + path + QLatin1StringView("\" />\r\n");
        text += QLatin1StringView("</Entry>\r\n");
        text += LineEnd;
    }
    text += Closing;
    return text.toLocal8Bit();
}

QString write(QIODevice& device, const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!canHold(path))
            return refusedPathError(path);
    }
    const QByteArray bytes = serialize(paths);
    // A short write carries no reason; writing the rest again fails with the system's one.
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return device.errorString();
        done += written;
    }
    return {};
}

QString save(const QString& fileName, const QStringList& paths)
{
    QSaveFile file(fileName);
    // Unbuffered: a write that fails while a buffer is flushed at commit can still be committed,
    // which would put a cut-off file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // Until commit the old file is untouched; leaving scope without it discards the new one.
    if (QString error = write(file, paths); !error.isEmpty())
        return error;
    if (file.error() != QFileDevice::NoError || !file.commit())
        return file.errorString();
    return {};
}

Values collect(QStringView text, QLatin1StringView marker)
{
    Values found;
    qsizetype at = text.indexOf(marker);
    while (at >= 0) {
        const qsizetype start = at + marker.size();
        const qsizetype end = text.indexOf(Quote, start);
        if (end < 0) {
            found.complete = false;
            break;
        }
        found.values.append(text.sliced(start, end - start).toString());
        at = text.indexOf(marker, at + 1);
    }
    return found;
}

PathsRead parsePaths(const QByteArray& content)
{
    const QString text = QString::fromLocal8Bit(content);
    Values found = collect(text, PathMarker);
    return {std::move(found.values), found.complete};
}

PathsRead readPaths(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {};
    file.close();
    return parsePaths(content);
}

NamesRead readNames(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    file.close();
    Values found = collect(QString::fromLocal8Bit(content), NameMarker);
    NamesRead read{std::move(found.values), {}};
    if (!found.complete)
        read.error = QStringLiteral("The last name has no closing double quote.");
    return read;
}

} // namespace OrvFormat
