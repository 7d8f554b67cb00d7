#include "playlist/orvformat.h"

#include "common/filedescriptor.h"
#include "engine/mediagate.h"
#include "playlist/pathstore.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

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
    else if (std::size_t(path.toLocal8Bit().size()) > MaxPathBytes)
        reason = QStringLiteral("it is longer than any path");
    else if (path.endsWith(PathMarker.chopped(1)))
        reason = QStringLiteral("it ends in the text that starts an entry's path");
    return QStringLiteral("The path %1 cannot be stored in a playlist file: %2.")
        .arg(MediaGate::printable(path), reason);
}

} // namespace

bool isPlaylistPath(const QString& path)
{
    return path.endsWith(QLatin1StringView(".orv"), Qt::CaseSensitive);
}

QString entryName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

bool canHold(const QString& path)
{
    // A path ending in the marker's text would make its own closing quote start a second entry.
    if (path.contains(Quote) || path.endsWith(PathMarker.chopped(1)))
        return false;
    const QByteArray bytes = path.toLocal8Bit();
    return std::size_t(bytes.size()) <= MaxPathBytes && QString::fromLocal8Bit(bytes) == path;
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

constexpr qsizetype BlockBytes = 1 << 16;

// A value's bytes, and whether they are plain ASCII (then they are their own UTF-8).
using RawTake = std::function<void(std::string_view bytes, bool ascii)>;

// Values in the locale encoding to text.
class Decoder
{
public:
    QString operator()(std::string_view bytes, bool ascii)
    {
        // Plain ASCII, as most paths are, needs no decoder.
        return ascii ? QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
                     : m_decode(bytes);
    }

private:
    // A byte order mark inside the file is a character of its value, not one to drop.
    QStringDecoder m_decode{QStringDecoder::System, QStringDecoder::Flag::Stateless |
                                                        QStringDecoder::Flag::ConvertInitialBom};
};

// collect over the file's bytes, fed block by block. The markers and the quote are ASCII, and
// the locale encoding (UTF-8 here) spells an ASCII character with its own byte and with no
// other, so each value's bytes are decoded alone and the rest never is. Every search goes on
// where the last block left it, so a value that spans many blocks is searched once, not again
// from its start at every block, and only the unfinished value is held.
class Collector
{
public:
    Collector(QLatin1StringView marker, const RawTake& take)
        : m_key(marker.data(), static_cast<std::size_t>(marker.size())), m_take(take)
    {
    }

    // False once there are more than MaxEntries values; the rest is not looked at.
    bool feed(std::string_view block)
    {
        constexpr std::size_t none = std::string_view::npos;
        m_pending.append(block);
        const std::string_view text(m_pending);
        for (;;) {
            if (m_marker == none) {
                const std::size_t at = text.find(m_key, m_from);
                if (at == none) {
                    // The last few bytes may begin a marker that the next block completes.
                    m_from =
                        std::max(m_from, text.size() - std::min(text.size(), m_key.size() - 1));
                    break;
                }
                m_marker = at;
                // No quote was found before m_quoteFree: a value refused as too long is not
                // searched again for the markers inside it.
                m_from = std::max(at + m_key.size(), m_quoteFree);
            }
            const std::size_t start = m_marker + m_key.size();
            const std::size_t end = text.find('"', m_from);
            m_quoteFree = end == none ? text.size() : end;
            if (m_quoteFree - start > MaxPathBytes) {
                // No path is that long: the entry is left out, and only a path's worth of
                // bytes is ever held for one.
                ++m_tooLong;
                m_from = m_marker + 1;
                m_marker = none;
                continue;
            }
            if (end == none) {
                m_from = text.size();
                break;
            }
            if (m_taken == MaxEntries)
                return false;
            const std::string_view bytes = text.substr(start, end - start);
            m_take(bytes, std::all_of(bytes.begin(), bytes.end(),
                                      [](char c) { return static_cast<unsigned char>(c) < 0x80; }));
            ++m_taken;
            // As collect: the next marker may begin inside the value just taken.
            m_from = m_marker + 1;
            m_marker = none;
        }
        const std::size_t done = std::min(m_from, m_marker);
        m_pending.erase(0, done);
        m_from -= done;
        m_quoteFree -= std::min(m_quoteFree, done);
        if (m_marker != none)
            m_marker -= done;
        return true;
    }

    // False when a marker still waits for its closing quote: the last value is cut off.
    bool finish() const { return m_marker == std::string_view::npos; }
    // Values left out for being longer than any path.
    qsizetype tooLong() const { return m_tooLong; }

private:
    std::string m_key;
    std::string m_pending;
    // Where the marker of the unfinished value starts in m_pending; npos between values.
    std::size_t m_marker = std::string_view::npos;
    // Where the search for the next marker, or for the unfinished value's quote, goes on.
    std::size_t m_from = 0;
    // The end of the last stretch searched for a quote: there is none before it from there.
    std::size_t m_quoteFree = 0;
    const RawTake& m_take;
    qsizetype m_taken = 0;
    qsizetype m_tooLong = 0;
};

enum class Trouble
{
    None,
    Unreadable,
    NotAFile,
    TooLarge,
    TooManyEntries,
};

struct Outcome
{
    bool complete = false;
    qsizetype tooLong = 0;
    Trouble trouble = Trouble::None;
    // The system's error number when unreadable; the file type when not a file.
    int error = 0;
    mode_t type = 0;
};

Outcome troubled(Trouble trouble, int error = 0, mode_t type = 0)
{
    Outcome outcome;
    outcome.trouble = trouble;
    outcome.error = error;
    outcome.type = type;
    return outcome;
}

// Values of marker in the bytes fill gives: fill(offset, buffer, size) copies up to size bytes
// from offset and returns their number, 0 at the end, -1 on a failure.
template <typename Fill>
Outcome collectFrom(const Fill& fill, QLatin1StringView marker, const RawTake& take)
{
    QByteArray block(BlockBytes, Qt::Uninitialized);
    Collector collector(marker, take);
    for (qint64 offset = 0;;) {
        const qint64 got = fill(offset, block.data(), block.size());
        if (got < 0)
            return troubled(Trouble::Unreadable, errno);
        if (got == 0)
            return {collector.finish(), collector.tooLong()};
        offset += got;
        // The size was checked before; a file may still grow, or report no size at all.
        if (offset > MaxFileBytes)
            return troubled(Trouble::TooLarge);
        if (!collector.feed({block.constData(), static_cast<std::size_t>(got)}))
            return troubled(Trouble::TooManyEntries);
    }
}

Outcome collectBytes(const QByteArray& content, QLatin1StringView marker, const RawTake& take)
{
    if (content.size() > MaxFileBytes)
        return troubled(Trouble::TooLarge);
    return collectFrom(
        [&content](qint64 offset, char* buffer, qint64 size) {
            const qint64 got = std::min(size, content.size() - offset);
            std::memcpy(buffer, content.constData() + offset, static_cast<std::size_t>(got));
            return got;
        },
        marker, take);
}

Outcome collectFile(const QString& fileName, QLatin1StringView marker, const RawTake& take)
{
    const QByteArray name = QFile::encodeName(fileName);
    struct stat info = {};
    // Looked at before opening, so that a device or a pipe is never even opened...
    if (::stat(name.constData(), &info) != 0)
        return troubled(Trouble::Unreadable, errno);
    if (!S_ISREG(info.st_mode))
        return troubled(Trouble::NotAFile, 0, info.st_mode);
    // ...and once open, what was opened, since the name may point elsewhere by now. Without
    // blocking, a pipe swapped in meanwhile cannot hold the open up.
    const FileDescriptor file(
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return troubled(Trouble::Unreadable, errno);
    if (::fstat(file.get(), &info) != 0)
        return troubled(Trouble::Unreadable, errno);
    if (!S_ISREG(info.st_mode))
        return troubled(Trouble::NotAFile, 0, info.st_mode);
    if (info.st_size > MaxFileBytes)
        return troubled(Trouble::TooLarge);
    return collectFrom(
        [&file](qint64 offset, char* buffer, qint64 size) {
            ssize_t got;
            do
                got = ::pread(file.get(), buffer, static_cast<std::size_t>(size), offset);
            while (got < 0 && errno == EINTR);
            return static_cast<qint64>(got);
        },
        marker, take);
}

QString typeName(mode_t type)
{
    if (S_ISDIR(type))
        return QStringLiteral("a folder");
    if (S_ISFIFO(type))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(type))
        return QStringLiteral("a socket");
    if (S_ISCHR(type) || S_ISBLK(type))
        return QStringLiteral("a device");
    return QStringLiteral("something else");
}

// What the user is told; fileName is null for bytes that came from no file.
QString refusal(const QString& fileName, const Outcome& outcome)
{
    const QString file =
        fileName.isNull() ? QStringLiteral("The playlist")
                          : QStringLiteral("The playlist file ") + MediaGate::printable(fileName);
    switch (outcome.trouble) {
    case Trouble::None:
        break;
    case Trouble::Unreadable:
        return file + QStringLiteral(" cannot be read: ") + qt_error_string(outcome.error) + u'.';
    case Trouble::NotAFile:
        return file + QStringLiteral(" cannot be read: it is ") + typeName(outcome.type) +
               QStringLiteral(", not a file.");
    case Trouble::TooLarge:
        return file +
               QStringLiteral(" is too large: more than %1 MiB.").arg(MaxFileBytes / (1024 * 1024));
    case Trouble::TooManyEntries:
        return file + QStringLiteral(" is too large: more than %1 entries.").arg(MaxEntries);
    }
    return {};
}

QString tooLongNotice(const QString& fileName, qsizetype count)
{
    if (count == 0)
        return {};
    const QString file =
        fileName.isNull() ? QStringLiteral("the playlist")
                          : QStringLiteral("the playlist file ") + MediaGate::printable(fileName);
    return QStringLiteral("Left out %1 %2 of %3: longer than any path (%4 bytes).")
        .arg(count)
        .arg(count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"), file)
        .arg(MaxPathBytes);
}

template <typename Collect> PathsRead pathsFrom(const Collect& collect, const QString& fileName)
{
    PathsRead read;
    Decoder decode;
    const Outcome outcome = collect(
        [&](std::string_view bytes, bool ascii) { read.paths.append(decode(bytes, ascii)); });
    if (outcome.trouble != Trouble::None)
        return {{}, false, refusal(fileName, outcome), 0, {}};
    read.complete = outcome.complete;
    read.tooLong = outcome.tooLong;
    read.notice = tooLongNotice(fileName, outcome.tooLong);
    return read;
}

} // namespace

PathsRead parsePaths(const QByteArray& content)
{
    return pathsFrom(
        [&content](const RawTake& take) { return collectBytes(content, PathMarker, take); },
        QString());
}

PathsRead readPaths(const QString& fileName)
{
    return pathsFrom(
        [&fileName](const RawTake& take) { return collectFile(fileName, PathMarker, take); },
        fileName);
}

PathsTaken readPathsInto(const QString& fileName, const QString& folder, PathStore& paths)
{
    Decoder decode;
    const Outcome outcome =
        collectFile(fileName, PathMarker, [&](std::string_view bytes, bool ascii) {
            // An absolute ASCII path stays as written (resolveEntry) and is its own UTF-8.
            if (ascii && !bytes.empty() && bytes.front() == '/')
                paths.appendUtf8(bytes);
            else
                paths.append(resolveEntry(decode(bytes, ascii), folder));
        });
    if (outcome.trouble != Trouble::None)
        return {false, refusal(fileName, outcome), {}};
    return {outcome.complete, {}, tooLongNotice(fileName, outcome.tooLong)};
}

NamesRead readNames(const QString& fileName)
{
    NamesRead read;
    Decoder decode;
    const Outcome outcome =
        collectFile(fileName, NameMarker, [&](std::string_view bytes, bool ascii) {
            read.names.append(decode(bytes, ascii));
        });
    if (outcome.trouble != Trouble::None)
        return {{}, refusal(fileName, outcome)};
    if (!outcome.complete)
        read.error = QStringLiteral("The last name has no closing double quote.");
    return read;
}

QString resolveEntry(const QString& entry, const QString& folder)
{
    if (entry.isEmpty() || entry.startsWith(u'/') || MediaGate::hasScheme(entry))
        return entry;
    return QDir::cleanPath(QDir(folder).filePath(entry));
}

} // namespace OrvFormat
