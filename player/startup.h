// What the player does once at start: the command line as one path, the single-instance
// lock, and the start-up picture unpacked from the program's resources.
#pragma once

#include "common/filedescriptor.h"

#include <QString>
#include <QStringList>

namespace Startup {

// All arguments joined with single spaces, every double quote removed.
QString MPathFrom(const QStringList& arguments);

// The files and folders the command line names one by one, as absolute paths in their order;
// none when the joined path is to be taken as it stands. The joined path comes first: only when
// it names no file (nothing at all, or a folder) and some argument names a file or folder are
// the arguments a list. A folder is added as a scanned folder is.
struct Named
{
    QStringList paths;
    // The gate's refusal for each argument in the list that names nothing, in order.
    QStringList refusals;
};
Named pathsFrom(const QStringList& arguments);

// Why folder cannot hold the player's own files, "" when it can: it must be a folder itself
// (not a link to one), owned by the user and closed to group and others.
QString privateFolderProblem(const QString& folder);

// Makes folder with mode 0700 when it is missing, then checks it as above. A folder that was
// open to others is refused, not tightened: it may already hold their files.
QString makePrivateFolder(const QString& folder);

// The player's folder of its own: "orvella" in the user's cache folder.
QString userFolder();

struct LockFolder
{
    QString path; // "" when no private folder could be had
    QString problem;
};

// Where the single-instance lock goes: the runtime folder when it is absolute and private,
// otherwise userFolder, made private.
LockFolder lockFolder(const QString& runtimeFolder, const QString& userFolder);

struct ResourceResult
{
    QString path; // "" on failure
    int errorNumber = 0;
    QString errorText; // the message box text on failure
};

// Writes the bytes of a resource to target, replacing whatever is there (a link included)
// without ever writing through a link.
ResourceResult GenFileFromRes(const QString& resourcePath, const QString& target);

// The start-up picture's path in folder; written from the resource unless a regular file is
// already there. error is filled when writing it failed (the path is returned all the same).
QString startupPicturePath(const QString& folder, ResourceResult* error);

struct StartupPicture
{
    QString path;    // "" when there is none to show
    QString warning; // the message box text, "" when all went well
};

// Makes folder private when needed, then gives the start-up picture's path in it.
StartupPicture startupPicture(const QString& folder);

// Held for the life of the first instance: an flock on a regular file of the user's, which the
// kernel lets go when the process ends, however it ends. What the file holds is never read.
// Without a lock path, or when no lock can be made, every instance is the first.
class SingleInstanceGuard
{
public:
    explicit SingleInstanceGuard(const QString& lockPath);
    bool isFirst() const { return m_first; }

private:
    FileDescriptor m_lock;
    bool m_first = false;
};

// The lock's path, from XDG_RUNTIME_DIR and userFolder(); "" (said once on standard error)
// when neither is a private folder.
QString defaultLockPath();

} // namespace Startup
