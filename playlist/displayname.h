// Display names of paths: what the entry view, the titles and the tooltip show for a file.
#pragma once

#include <QChar>
#include <QString>

namespace Paths {

// The platform's own path separator, used for display names and joined paths.
#ifdef Q_OS_WIN
inline constexpr QChar separator = u'\\';
#else
inline constexpr QChar separator = u'/';
#endif

// The text after the last separator that stands before the final character: a/b.avi gives
// b.avi, a/Movies/ gives Movies/, a text without a separator gives itself.
QString nameAfterLastSeparator(const QString& path);

// The part of a file name before its first dot; the whole name when it has none.
QString nameBeforeFirstDot(const QString& fileName);

} // namespace Paths
