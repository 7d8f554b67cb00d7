#include "engine/mediagate.h"

#include "engine/subtitleprobe.h"

#include <QDir>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <sys/stat.h>

namespace MediaGate {

namespace {

// Long enough for a folder and a name, short enough for one line on the picture.
constexpr qsizetype printableLength = 96;

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0);
}

bool hasControl(const QString& text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

Verdict refuse(const QString& why, const QString& name)
{
    return {{}, why + QStringLiteral(": ") + printable(name)};
}

} // namespace

// mpv reads "scheme://" at the start of a name as a protocol; so does every other player.
bool hasScheme(const QString& name)
{
    const qsizetype colon = name.indexOf(QLatin1StringView("://"));
    if (colon < 1 || !name.at(0).isLetter() || name.at(0).unicode() > 0x7f)
        return false;
    return std::all_of(name.begin(), name.begin() + colon, [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.');
    });
}

QString printable(const QString& name)
{
    // Cut first: a name may be any length, and only its two ends are shown.
    QString text = name;
    if (name.size() > printableLength) {
        const qsizetype half = (printableLength - 1) / 2;
        // Never between the two halves of a surrogate pair.
        const qsizetype head = half - (name.at(half - 1).isHighSurrogate() ? 1 : 0);
        const qsizetype tail = half - (name.at(name.size() - half).isLowSurrogate() ? 1 : 0);
        text = name.first(head) + QChar(0x2026) + name.last(tail);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        // Direction marks too: a name must not turn the message around.
        if (isControl(c) || c.isSurrogate() || c.category() == QChar::Other_Format)
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

Verdict admit(const QString& name)
{
    if (name.isEmpty())
        return {{}, QStringLiteral("No file name given.")};
    // The system takes no longer path; a name of megabytes is refused before any work on it.
    if (name.size() >= PATH_MAX)
        return refuse(QStringLiteral("Name too long"), name);
    // A NUL would cut the name short on its way to the system: the list would show one file
    // and the engine play another.
    if (hasControl(name))
        return refuse(QStringLiteral("Not a file name"), name);

    QString path = name;
    if (name.startsWith(QLatin1StringView("file:"), Qt::CaseInsensitive)) {
        QUrl url(name);
        const QString host = url.host();
        if (!url.isValid() || !url.isLocalFile() ||
            !(host.isEmpty() || host == QLatin1StringView("localhost")))
            return refuse(QStringLiteral("Not a local file"), name);
        // "file://localhost/x" is /x on this machine, not a network share named localhost.
        url.setHost(QString());
        path = url.toLocalFile();
        if (path.isEmpty() || hasControl(path))
            return refuse(QStringLiteral("Not a file name"), name);
    } else if (hasScheme(name)) {
        return refuse(QStringLiteral("Not a local file"), name);
    }
    path = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    // The engine gets the name as UTF-8: a name that does not survive the trip is another name.
    const QByteArray bytes = path.toUtf8();
    if (QString::fromUtf8(bytes) != path)
        return refuse(QStringLiteral("Not a file name"), name);
    if (bytes.size() >= PATH_MAX)
        return refuse(QStringLiteral("Name too long"), path);

    struct stat info
    {
    };
    if (::stat(bytes.constData(), &info) != 0) {
        if (errno == EACCES)
            return refuse(QStringLiteral("No permission to read"), path);
        return refuse(QStringLiteral("No such file"), path);
    }
    if (S_ISDIR(info.st_mode))
        return refuse(QStringLiteral("A folder, not a file"), path);
    if (!S_ISREG(info.st_mode))
        return refuse(QStringLiteral("Not a regular file"), path);
    return {path, {}};
}

Verdict admitSubtitle(const QString& name)
{
    Verdict verdict = admit(name);
    if (!verdict.admitted())
        return verdict;
    if (!SubtitleProbe::hasSubtitleExtension(verdict.path))
        return refuse(QStringLiteral("Not a subtitle file"), verdict.path);
    struct stat info
    {
    };
    if (::stat(verdict.path.toUtf8().constData(), &info) != 0 || info.st_size > MaxSubtitleBytes)
        return refuse(QStringLiteral("Subtitle file too large (over %1 MiB)")
                          .arg(MaxSubtitleBytes / (1024 * 1024)),
                      verdict.path);
    return verdict;
}

} // namespace MediaGate
