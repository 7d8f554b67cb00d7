// The .orv playlist file: fixed header lines, five lines per entry, a closing tag, CRLF after
// every line, text in the system's locale encoding. Readers do not parse it as markup; they
// collect the text behind each occurrence of one marker up to the next double quote.
#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstddef>

class PathStore;
class QIODevice;

namespace OrvFormat {

// A playlist file may come from anywhere, so a reader takes no more than this: a million
// entries whose paths run to some 100 characters make about 220 MB, and fit. A file past
// either limit is refused whole, before it can fill the memory.
inline constexpr qint64 MaxFileBytes = qint64(256) * 1024 * 1024;
inline constexpr qsizetype MaxEntries = 1024 * 1024;
// The longest path the system takes (PATH_MAX less its closing NUL). A longer entry is no path:
// it is left out with a notice, and the reader never holds more than this of one entry.
inline constexpr std::size_t MaxPathBytes = 4095;

// A path is a playlist file when it ends in ".orv", lower case only.
bool isPlaylistPath(const QString& path);

// What precedes an entry's path; the only text the playlist reader looks for.
inline constexpr QLatin1StringView PathMarker{"<ref href = \""};
// What precedes an entry's name value.
inline constexpr QLatin1StringView NameMarker{"<Param Name = \"name\" Value = \""};

// The entry's name value: the path's text after its last slash or backslash.
QString entryName(const QString& path);

// Whether a path can be written so that it reads back unchanged: no double quote, not ending
// in the path marker's text, no longer than MaxPathBytes, and nothing the locale encoding loses.
bool canHold(const QString& path);

// The whole file for these paths, in the locale encoding. Paths that canHold refuses come out
// unreadable; write and save refuse them first.
QByteArray serialize(const QStringList& paths);

// Writes the file for paths to an open device. Returns the error description, "" on success.
[[nodiscard]] QString write(QIODevice& device, const QStringList& paths);

// Writes the whole file beside fileName and only then puts it in place, so that a failure
// leaves any earlier file as it was and no file open. Returns the error description, "" on
// success.
[[nodiscard]] QString save(const QString& fileName, const QStringList& paths);

struct Values
{
    QStringList values;
    // False when the last marker had no closing double quote: the values before it stay.
    bool complete = true;
};

// Every text that follows marker up to the next double quote, in file order. The next search
// starts one character after the marker found, so markers may overlap a value.
Values collect(QStringView text, QLatin1StringView marker);

struct PathsRead
{
    QStringList paths;
    // False when the file was refused or its last path was cut off.
    bool complete = false;
    // Why the file was refused whole, for the user; "" when it was read. A refused file gives
    // no paths.
    QString refusal;
    // Entries left out for being longer than MaxPathBytes, and what the user is told of them.
    qsizetype tooLong = 0;
    QString notice;
};

// Paths from a file's bytes, decoded from the locale encoding; more than MaxFileBytes or
// MaxEntries is refused.
PathsRead parsePaths(const QByteArray& content);
// Paths from the named file, each as the file spells it. Only a regular file is read (a pipe
// or a device is refused before any read could block or never end); one that cannot be read
// or passes a limit is refused.
PathsRead readPaths(const QString& fileName);

struct PathsTaken
{
    // As in PathsRead. A refused file may have packed paths before the refusal; drop them.
    bool complete = false;
    QString refusal;
    QString notice;
};

// As readPaths, each path resolved against folder (resolveEntry) and packed into paths as it
// is read: a list of a million paths is never held as strings.
PathsTaken readPathsInto(const QString& fileName, const QString& folder, PathStore& paths);

struct NamesRead
{
    QStringList names;
    // The failure's description; "" when the whole file was read.
    QString error;
};

// Entry names from the named file; on a failure, the names before it and the reason. A file
// readPaths refuses gives no names.
NamesRead readNames(const QString& fileName);

// Where an entry read from a playlist in folder points: a relative path is taken from that
// folder, not from the working one; an absolute path, a URL ("scheme://...") and an empty
// entry stay as written.
QString resolveEntry(const QString& entry, const QString& folder);

} // namespace OrvFormat
