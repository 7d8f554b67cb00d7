#include "playlist/displayname.h"

namespace Paths {

QString nameAfterLastSeparator(const QString& path)
{
    if (path.size() < 2)
        return path;
    // The final character always belongs to the name, even when it is a separator.
    const qsizetype cut = path.lastIndexOf(separator, path.size() - 2);
    return cut < 0 ? path : path.mid(cut + 1);
}

QString nameBeforeFirstDot(const QString& fileName)
{
    const qsizetype dot = fileName.indexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

} // namespace Paths
