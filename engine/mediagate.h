// The one gate before the engine. Whatever names a file (the command line, a playlist entry, a
// drop, the desktop's media controls), only an existing regular local file, as an absolute
// path, is handed to the engine; mpv would otherwise take a name such as "av://lavfi:..." or
// "http://..." for one of its protocols, and a hostile playlist could write files, reach the
// network or read the screen.
#pragma once

#include <QString>

namespace MediaGate {

struct Verdict
{
    // Absolute and clean; what the engine may open. Empty when refused.
    QString path;
    // Why not, in a short sentence for the user; empty when admitted.
    QString refusal;

    bool admitted() const { return refusal.isEmpty(); }
};

// A "file:" URI is taken as its local path first, and a relative path from the current folder.
// Refused: an empty name, one of PATH_MAX bytes or more, a control character anywhere, any other
// "scheme://", a name that is missing, a folder, a device, a FIFO or a socket (a link counts as
// what it points to).
Verdict admit(const QString& name);

// The largest subtitle file taken. A film's .srt runs to some 100 KiB and a richly styled .ass to
// a few hundred; mpv holds a subtitle file whole and draws it on the picture, where a hostile one
// of a few MiB took gigabytes and seconds a frame.
inline constexpr qint64 MaxSubtitleBytes = qint64(4) * 1024 * 1024;

// The same for a subtitle file handed to the engine beside a film; its name must also end in
// one of the subtitle extensions (SubtitleProbe::hasSubtitleExtension), so nothing else is
// read as one, and it may be no larger than MaxSubtitleBytes.
Verdict admitSubtitle(const QString& name);

// Whether name begins "scheme://", as a URL that mpv would take for one of its protocols.
bool hasScheme(const QString& name);

// name as one line of safe text for a message: control characters shown as U+FFFD and a long
// name shortened in the middle.
QString printable(const QString& name);

} // namespace MediaGate
