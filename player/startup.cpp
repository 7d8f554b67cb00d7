#include "player/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Startup {

QString MPathFrom(const QStringList& arguments)
{
    QString joined = arguments.join(u' ');
    joined.remove(u'"');
    return joined;
}

bool isPlaylistPath(const QString& path)
{
    return path.endsWith(QLatin1String(".orv"), Qt::CaseSensitive);
}

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

QString writableProgramFolder(const QString& programFolder, const QString& userDataFolder)
{
    const QFileInfo folder(programFolder);
    if (folder.isDir() && folder.isWritable())
        return programFolder;
    QDir().mkpath(userDataFolder);
    return userDataFolder;
}

ResourceResult GenFileFromRes(const QString& resourcePath, const QString& extension,
                              const QString& folder, const QString& baseName,
                              const QString& fullPath, const QString& programFolder)
{
    const auto fail = [](int number, const QString& description) {
        return ResourceResult{{},
                              number,
                              QString::number(number) +
                                  QStringLiteral(":Error in GenFileFromRes.  Error Message: ") +
                                  description};
    };
    QString target = fullPath;
    if (target.isEmpty()) {
        const QString dir = folder.isEmpty() ? programFolder : folder;
        const QString base = baseName.isEmpty() ? QStringLiteral("temp") : baseName;
        target = dir + u'/' + base + u'.' + extension;
    }
    QFile resource(resourcePath);
    if (!resource.open(QIODevice::ReadOnly))
        return fail(resource.error(), resource.errorString());
    const QByteArray bytes = resource.readAll();
    // Written beside the target and moved into place, so a second instance starting at the
    // same moment never shows a half-written picture.
    QFile out(target + QStringLiteral(".part"));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(out.error(), out.errorString());
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        const ResourceResult r = fail(out.error(), out.errorString());
        out.close();
        out.remove();
        return r;
    }
    out.close();
    QFile::remove(target);
    if (!out.rename(target)) {
        const ResourceResult r = fail(out.error(), out.errorString());
        out.remove();
        return r;
    }
    return {target, 0, {}};
}

QString startupPicturePath(const QString& folder, ResourceResult* error)
{
    const QString path = folder + QStringLiteral("/default.jpg");
    if (fileExists(path))
        return path;
    const ResourceResult written =
        GenFileFromRes(QStringLiteral(":/default.jpg"), {}, {}, {}, path, folder);
    if (error)
        *error = written;
    return path;
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // Age alone never makes a lock stale; a lock whose process is gone always is.
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
}

QString defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/orvella.lock");
}

} // namespace Startup
