// What a drop on the picture holds: subtitle files for the film that plays, and everything else
// for the playlist. A subtitle file is never a playlist entry.
#pragma once

#include <QStringList>
#include <functional>

namespace SubtitleDrop {

struct Split
{
    // Subtitle files for the open film, in the drop's order.
    QStringList forFilm;
    // Everything else, in the drop's order.
    QStringList forPlaylist;
    // One line for each subtitle file that goes nowhere, saying why.
    QStringList refused;
};

using IsFolder = std::function<bool(const QString& path)>;

// A subtitle file is a name with a subtitle extension that is not a folder. Subtitle files
// dropped alone go to the film when one is open, and are refused when none is; dropped with
// other files they are left out and told, as the film they belong to is in the drop, not on
// screen (it finds them beside itself when it plays, if they share its name).
Split split(const QStringList& dropped, bool filmOpen, const IsFolder& isFolder);
// The same against the file system.
Split split(const QStringList& dropped, bool filmOpen);

} // namespace SubtitleDrop
