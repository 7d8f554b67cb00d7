#include "playlist/folderscan.h"

#include "playlist/displayname.h"

#include <QDirIterator>

namespace FolderScan {

QList<PlaylistEntry> scan(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    // A root folder already ends in a separator; a second one would only look odd.
    const QString prefix = folder.endsWith(Paths::separator) ? folder : folder + Paths::separator;

    // One listing, sorted into one bucket per pattern, keeps the file system's order within
    // each pattern without listing the folder six times.
    std::array<QStringList, Patterns.size()> buckets;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        for (std::size_t i = 0; i < Patterns.size(); ++i) {
            // A link may lead to a pipe or a device, which would block the player or never
            // end; whether it is a regular file takes a stat, never an open.
            if (name.endsWith(Patterns[i].sliced(1), Qt::CaseInsensitive) && it.fileInfo().isFile())
                buckets[i].append(name);
        }
    }

    QList<PlaylistEntry> found;
    for (const QStringList& bucket : buckets) {
        for (const QString& name : bucket)
            found.append({prefix + name, Paths::nameBeforeFirstDot(name)});
    }
    return found;
}

} // namespace FolderScan
