// What the player does once at start: the command line as one path, the single-instance
// lock, and the start-up picture unpacked from the program's resources.
#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace Startup {

// All arguments joined with single spaces, every double quote removed.
QString MPathFrom(const QStringList& arguments);

// A path is a playlist file when it ends in ".orv", lower case only.
bool isPlaylistPath(const QString& path);

// True when a directory search for path finds an ordinary file.
bool fileExists(const QString& path);

// The folder the program writes beside itself: its own folder when writable, otherwise
// a per-user data folder (an installed program cannot write its folder).
QString writableProgramFolder(const QString& programFolder, const QString& userDataFolder);

struct ResourceResult
{
    QString path; // "" on failure
    int errorNumber = 0;
    QString errorText; // the message box text on failure
};

// Writes the bytes of a resource to a file. An empty folder means the program's folder, an
// empty base name "temp"; with fullPath the file is exactly that path.
ResourceResult GenFileFromRes(const QString& resourcePath, const QString& extension,
                              const QString& folder, const QString& baseName,
                              const QString& fullPath, const QString& programFolder);

// The start-up picture's path; written from the resource when missing. error is filled
// when writing it failed (the path is returned all the same).
QString startupPicturePath(const QString& folder, ResourceResult* error);

// Held for the life of the first instance. A lock left by a crashed instance is taken over.
class SingleInstanceGuard
{
public:
    explicit SingleInstanceGuard(const QString& lockPath);
    bool isFirst() const { return m_first; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
};

// Where the lock lives: the user's runtime folder, else the temp folder.
QString defaultLockPath();

} // namespace Startup
