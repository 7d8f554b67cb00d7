// The folder scan behind "+DIR": the media files of one folder, pattern by pattern, each
// pattern's files in the order a file manager shows them, with the short display name a scan
// gives.
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

// What else the engine plays, after the six above: the open dialog's "Other media files"
// choice is made from this list too, so the two never drift apart.
inline constexpr std::array<QLatin1StringView, 21> OtherPatterns{
    QLatin1StringView("*.mp4"),  QLatin1StringView("*.m4v"), QLatin1StringView("*.mkv"),
    QLatin1StringView("*.webm"), QLatin1StringView("*.mov"), QLatin1StringView("*.ogv"),
    QLatin1StringView("*.flv"),  QLatin1StringView("*.3gp"), QLatin1StringView("*.ts"),
    QLatin1StringView("*.m2ts"), QLatin1StringView("*.mts"), QLatin1StringView("*.vob"),
    QLatin1StringView("*.flac"), QLatin1StringView("*.ogg"), QLatin1StringView("*.opus"),
    QLatin1StringView("*.m4a"),  QLatin1StringView("*.aac"), QLatin1StringView("*.wav"),
    QLatin1StringView("*.mp3"),  QLatin1StringView("*.mka"), QLatin1StringView("*.wma")};

// OtherPatterns as a dialog filter lists them: "*.mp4;*.m4v;…".
QString otherPatternsFilter();

// The matching files directly in folder: regular files and links to them (no pipe, device,
// socket or folder), hidden files left out, extensions compared without regard to case. Within
// a pattern, names go in natural order (ep2 before ep10, case left aside), never in the order
// the file system happens to list them. Each entry's path is the folder, one separator and the
// name; its display name is the name up to its first dot. The listing stops once limit files
// match: a folder of a million files is not read whole for a list that has room for fewer.
struct Found
{
    QList<PlaylistEntry> entries;
    // The listing stopped at the limit; more files may match.
    bool cut = false;
};
Found scan(const QString& folder, qsizetype limit = Playlist::MaxEntries);

} // namespace FolderScan
