#include "player/infooption.h"

namespace InfoOption {

Asked asked(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return Asked::Nothing;
    const QString& argument = arguments.front();
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
        return Asked::Help;
    if (argument == QLatin1String("--version"))
        return Asked::Version;
    // "-" alone is a name, as most programs read it.
    if (argument.startsWith(u'-') && argument.size() > 1)
        return Asked::Unknown;
    return Asked::Nothing;
}

QString text(Asked what)
{
    switch (what) {
    case Asked::Help:
        return QStringLiteral(
            "Usage: orvella [FILE...]\n"
            "Plays movies, folders of them and Orvella playlists (.orv) in a borderless\n"
            "window, the first FILE first. A name with blanks needs no quotes. A file named\n"
            "like an option is given with its folder, as in ./--help.\n"
            "\n"
            "  -h, --help show this help and exit\n"
            "  --version  show the version and exit\n");
    case Asked::Version:
        return QStringLiteral("Orvella %1.%2.%3\n")
            .arg(ORVELLA_VERSION_MAJOR)
            .arg(ORVELLA_VERSION_MINOR)
            .arg(ORVELLA_VERSION_PATCH);
    case Asked::Unknown:
        return QStringLiteral("Usage: orvella [FILE...]   (orvella --help tells more)\n");
    case Asked::Nothing:
        break;
    }
    return {};
}

int exitCode(Asked what)
{
    return what == Asked::Unknown ? 2 : 0;
}

} // namespace InfoOption
