#include "player/startup.h"

#include "engine/mediagate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Startup {

namespace {

bool isRegularFile(const QString& path)
{
    struct stat st
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isOwnFile(const struct stat& st)
{
    return S_ISREG(st.st_mode) && st.st_uid == ::getuid();
}

struct LockFile
{
    FileDescriptor fd;
    QString problem; // why there is none
};

// The lock file, opened as a regular file of the user's. Anything else in its place is removed
// and a fresh file made: a pipe is never waited on, a link never followed, and a folder goes
// only when empty.
LockFile openLockFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    constexpr int flags = O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC;
    for (int attempt = 0; attempt < 2; ++attempt) {
        FileDescriptor fd(::open(name.constData(), flags, S_IRUSR | S_IWUSR));
        const int openError = fd.isOpen() ? 0 : errno;
        struct stat st
        {
        };
        if (fd.isOpen() && ::fstat(fd.get(), &st) == 0 && isOwnFile(st))
            return {std::move(fd), {}};
        fd = FileDescriptor();
        if (::lstat(name.constData(), &st) != 0)
            return {{}, qt_error_string(openError ? openError : errno)};
        if (isOwnFile(st)) {
            if (openError)
                return {{}, qt_error_string(openError)};
            // Made by an instance starting beside us since: that one is the lock.
            continue;
        }
        if ((S_ISDIR(st.st_mode) ? ::rmdir(name.constData()) : ::unlink(name.constData())) != 0)
            return {{}, qt_error_string(errno)};
    }
    return {{}, QStringLiteral("something other than a file keeps coming back in its place")};
}

} // namespace

QString MPathFrom(const QStringList& arguments)
{
    QString joined = arguments.join(u' ');
    joined.remove(u'"');
    return joined;
}

Named pathsFrom(const QStringList& arguments)
{
    const QString joined = MPathFrom(arguments);
    const QFileInfo whole(joined);
    if (whole.exists() && !whole.isDir())
        return {};
    if (whole.isDir())
        return {{QDir::cleanPath(whole.absoluteFilePath())}, {}};
    Named named;
    for (QString name : arguments) {
        name.remove(u'"');
        if (name.isEmpty())
            continue;
        const QFileInfo info(name);
        if (info.exists())
            named.paths << QDir::cleanPath(info.absoluteFilePath());
        else
            named.refusals << MediaGate::admit(name).refusal;
    }
    // Nothing there at all: the joined path stands, and is refused as one name.
    if (named.paths.isEmpty())
        return {};
    return named;
}

QString privateFolderProblem(const QString& folder)
{
    if (folder.isEmpty())
        return QStringLiteral("no folder");
    struct stat st
    {
    };
    // Cleaned first: a trailing slash would make lstat follow a link.
    if (::lstat(QFile::encodeName(QDir::cleanPath(folder)).constData(), &st) != 0)
        return folder + QStringLiteral(": ") + qt_error_string(errno);
    if (S_ISLNK(st.st_mode))
        return folder + QStringLiteral(": a link, not a folder");
    if (!S_ISDIR(st.st_mode))
        return folder + QStringLiteral(": not a folder");
    if (st.st_uid != ::getuid())
        return folder + QStringLiteral(": owned by another user");
    if (st.st_mode & (S_IRWXG | S_IRWXO))
        return folder + QStringLiteral(": open to other users");
    return {};
}

QString makePrivateFolder(const QString& folder)
{
    if (folder.isEmpty())
        return QStringLiteral("no folder");
    const QString clean = QDir::cleanPath(folder);
    QDir().mkpath(QFileInfo(clean).path());
    if (::mkdir(QFile::encodeName(clean).constData(), S_IRWXU) != 0 && errno != EEXIST) {
        const int error = errno;
        return folder + QStringLiteral(": ") + qt_error_string(error);
    }
    return privateFolderProblem(clean);
}

QString userFolder()
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    // A relative cache home is invalid by the XDG rules: it would land in whatever folder the
    // player was started from.
    if (!QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/orvella");
}

LockFolder lockFolder(const QString& runtimeFolder, const QString& userFolder)
{
    if (QDir::isAbsolutePath(runtimeFolder) && privateFolderProblem(runtimeFolder).isEmpty())
        return {runtimeFolder, {}};
    const QString problem = makePrivateFolder(userFolder);
    if (!problem.isEmpty())
        return {{}, problem};
    return {userFolder, {}};
}

ResourceResult GenFileFromRes(const QString& resourcePath, const QString& target)
{
    const auto fail = [](int number, const QString& description) {
        return ResourceResult{{},
                              number,
                              QString::number(number) +
                                  QStringLiteral(":Error in GenFileFromRes.  Error Message: ") +
                                  description};
    };
    QFile resource(resourcePath);
    if (!resource.open(QIODevice::ReadOnly))
        return fail(resource.error(), resource.errorString());
    const QByteArray bytes = resource.readAll();
    // A new file of our own (created exclusively, so no planted link is followed), moved over
    // the target in one step: a link there is replaced, never written through, and a second
    // instance starting at the same moment never shows a half-written picture.
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return fail(out.error(), out.errorString());
    if (out.write(bytes) != bytes.size() || !out.flush())
        return fail(out.error(), out.errorString());
    if (::rename(QFile::encodeName(out.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        return fail(error, qt_error_string(error));
    }
    out.setAutoRemove(false);
    return {target, 0, {}};
}

QString startupPicturePath(const QString& folder, ResourceResult* error)
{
    const QString path = folder + QStringLiteral("/default.jpg");
    if (isRegularFile(path))
        return path;
    const ResourceResult written = GenFileFromRes(QStringLiteral(":/default.jpg"), path);
    if (error)
        *error = written;
    return path;
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath)
{
    if (lockPath.isEmpty()) {
        m_first = true;
        return;
    }
    LockFile lock = openLockFile(lockPath);
    if (lock.fd.isOpen()) {
        if (::flock(lock.fd.get(), LOCK_EX | LOCK_NB) == 0) {
            m_lock = std::move(lock.fd);
            m_first = true;
            return;
        }
        // Only a lock held by another process means another instance.
        if (errno == EWOULDBLOCK)
            return;
        lock.problem = qt_error_string(errno);
    }
    // A lock that cannot be made at all must not keep the player from starting.
    std::fprintf(stderr,
                 "Orvella: cannot make the single-instance lock %s (%s); starting without it.\n",
                 qPrintable(MediaGate::printable(lockPath)), qPrintable(lock.problem));
    m_first = true;
}

QString defaultLockPath()
{
    const LockFolder folder = lockFolder(qEnvironmentVariable("XDG_RUNTIME_DIR"), userFolder());
    if (folder.path.isEmpty()) {
        std::fprintf(stderr,
                     "Orvella: no private folder for the single-instance lock (%s); starting "
                     "without one.\n",
                     qPrintable(folder.problem));
        return {};
    }
    return folder.path + QStringLiteral("/orvella.lock");
}

StartupPicture startupPicture(const QString& folder)
{
    const QString problem = makePrivateFolder(folder);
    if (!problem.isEmpty())
        return {{},
                QStringLiteral("%1:Error in Main.  Error Message: ").arg(ENOENT) +
                    QStringLiteral("No folder for the start-up picture: ") + problem};
    ResourceResult written;
    const QString path = startupPicturePath(folder, &written);
    return {path, written.errorText};
}

} // namespace Startup
