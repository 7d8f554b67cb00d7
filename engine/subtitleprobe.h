// Subtitle files beside a film, found by name. mpv's own search reads the whole folder at every
// open, which costs tens of milliseconds in a folder of 100,000 files; this one only asks after
// the few names a subtitle for the film can have, so its cost is the same in any folder.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace SubtitleProbe {

// Whether a path names an existing regular file (a link counts as what it points to).
using IsRegularFile = std::function<bool(const QString& path)>;

// For /d/NAME.ext, the files among /d/NAME.srt, .ass, .ssa, .vtt, .sub (each extension in
// lower or upper case) and /d/NAME.LANG.srt for the language codes the player knows, in that
// order. Asks isRegularFile once per name and never lists the folder.
QStringList beside(const QString& mediaPath, const IsRegularFile& isRegularFile);
// The same against the file system.
QStringList beside(const QString& mediaPath);

// One stat: an existing regular file, or a link to one.
bool isRegularFile(const QString& path);

// Whether the name ends in one of the subtitle extensions above, in any case.
bool hasSubtitleExtension(const QString& path);

} // namespace SubtitleProbe
