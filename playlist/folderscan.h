// The folder scan behind "+DIR": the media files of one folder, pattern by pattern, each in
// the order the file system lists them, with the short display name a scan gives.
#pragma once

#include "playlist/playlist.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <array>

namespace FolderScan {

// All files of the first pattern come before all files of the second, and so on.
inline constexpr std::array<QLatin1StringView, 6> Patterns{
    QLatin1StringView("*.mpg"), QLatin1StringView("*.mpeg"), QLatin1StringView("*.avi"),
    QLatin1StringView("*.asf"), QLatin1StringView("*.divx"), QLatin1StringView("*.dat")};

// The matching files directly in folder: regular files and links to them (no pipe, device,
// socket or folder), hidden files left out, extensions compared without regard to case. Each
// entry's path is the folder, one separator and the name; its display name is the name up to its
// first dot. The listing stops once limit files match: a folder of a million files is not read
// whole for a list that has room for fewer (the order is then that of the files listed).
struct Found
{
    QList<PlaylistEntry> entries;
    // The listing stopped at the limit; more files may match.
    bool cut = false;
};
Found scan(const QString& folder, qsizetype limit = Playlist::MaxEntries);

} // namespace FolderScan
