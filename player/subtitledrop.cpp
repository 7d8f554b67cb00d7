#include "player/subtitledrop.h"

#include "engine/mediagate.h"
#include "engine/subtitleprobe.h"

#include <QFileInfo>

namespace SubtitleDrop {

Split split(const QStringList& dropped, bool filmOpen, const IsFolder& isFolder)
{
    Split result;
    QStringList subtitles;
    for (const QString& path : dropped) {
        if (SubtitleProbe::hasSubtitleExtension(path) && !isFolder(path))
            subtitles << path;
        else
            result.forPlaylist << path;
    }
    const auto refuse = [&](const char* why) {
        for (const QString& path : subtitles)
            result.refused << QString::fromUtf8(why) +
                                  MediaGate::printable(QFileInfo(path).fileName());
    };
    if (!result.forPlaylist.isEmpty())
        refuse("Dropped with other files, a subtitle file is left out: ");
    else if (!filmOpen)
        refuse("No film is playing to show the subtitle file: ");
    else
        result.forFilm = subtitles;
    return result;
}

Split split(const QStringList& dropped, bool filmOpen)
{
    return split(dropped, filmOpen, [](const QString& path) { return QFileInfo(path).isDir(); });
}

} // namespace SubtitleDrop
