#include "playlist/orvformat.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <algorithm>
#include <string_view>

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

namespace {

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// collect for text that every locale encoding spells alike, plain ASCII, fed block by block
// so that a list of many thousand entries is never decoded or held whole.
class AsciiCollector
{
public:
    explicit AsciiCollector(QLatin1StringView marker)
        : m_key(marker.data(), static_cast<std::size_t>(marker.size()))
    {
    }

    // False once the text turns out not to be ASCII; nothing is collected then.
    bool feed(std::string_view block)
    {
        if (!isAscii(block))
            return false;
        m_pending.append(block);
        const std::string_view text(m_pending);
        std::size_t from = 0;
        std::size_t keep = text.size() - std::min(text.size(), m_key.size() - 1);
        for (std::size_t at = text.find(m_key); at != std::string_view::npos;
             at = text.find(m_key, from)) {
            const std::size_t start = at + m_key.size();
            const std::size_t end = text.find('"', start);
            if (end == std::string_view::npos) {
                // The value goes on in the next block: keep its marker.
                keep = at;
                break;
            }
            m_found.values.append(
                QLatin1StringView(text.data() + start, static_cast<qsizetype>(end - start)));
            from = at + 1;
            keep = std::max(from, keep);
        }
        m_pending.erase(0, keep);
        return true;
    }

    Values finish()
    {
        // A marker left over without its closing quote cuts the last value off.
        if (m_pending.find(m_key) != std::string::npos)
            m_found.complete = false;
        return std::move(m_found);
    }

private:
    std::string m_key;
    std::string m_pending;
    Values m_found;
};

} // namespace

PathsRead parsePaths(const QByteArray& content)
{
    AsciiCollector ascii(PathMarker);
    Values found = ascii.feed({content.constData(), static_cast<std::size_t>(content.size())})
                       ? ascii.finish()
                       : collect(QString::fromLocal8Bit(content), PathMarker);
    return {std::move(found.values), found.complete};
}

PathsRead readPaths(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    AsciiCollector ascii(PathMarker);
    QByteArray block(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return {};
        if (got == 0) {
            Values found = ascii.finish();
            return {std::move(found.values), found.complete};
        }
        if (!ascii.feed({block.constData(), static_cast<std::size_t>(got)}))
            break;
    }
    // Not plain ASCII: the whole text is decoded from the locale encoding first.
    if (!file.seek(0))
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
