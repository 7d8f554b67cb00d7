#include "playlist/folderscan.h"

#include "playlist/displayname.h"

#include <QDirIterator>

namespace FolderScan {

Found scan(const QString& folder, qsizetype limit)
{
    Found found;
    if (folder.isEmpty())
        return found;
    // A root folder already ends in a separator; a second one would only look odd.
    const QString prefix = folder.endsWith(Paths::separator) ? folder : folder + Paths::separator;

    // One listing, sorted into one bucket per pattern, keeps the file system's order within
    // each pattern without listing the folder six times.
    std::array<QStringList, Patterns.size()> buckets;
    qsizetype matched = 0;
    QDirIterator it(folder, QDir::Files);
    while (it.hasNext()) {
        if (matched == limit) {
            found.cut = true;
            break;
        }
        it.next();
        const QString name = it.fileName();
        for (std::size_t i = 0; i < Patterns.size(); ++i) {
            // A link may lead to a pipe or a device, which would block the player or never
            // end; whether it is a regular file takes a stat, never an open.
            if (name.endsWith(Patterns[i].sliced(1), Qt::CaseInsensitive) &&
                it.fileInfo().isFile()) {
                buckets[i].append(name);
                ++matched;
                break;
            }
        }
    }

    found.entries.reserve(matched);
    for (const QStringList& bucket : buckets) {
        for (const QString& name : bucket)
            found.entries.append({prefix + name, Paths::nameBeforeFirstDot(name)});
    }
    return found;
}

} // namespace FolderScan
