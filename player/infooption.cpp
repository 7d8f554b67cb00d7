#include "player/infooption.h"

namespace InfoOption {

Asked asked(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return Asked::Nothing;
    if (arguments.front() == QLatin1String("--help"))
        return Asked::Help;
    if (arguments.front() == QLatin1String("--version"))
        return Asked::Version;
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
            "  --help     show this help and exit\n"
            "  --version  show the version and exit\n");
    case Asked::Version:
        return QStringLiteral("Orvella %1.%2.%3\n")
            .arg(ORVELLA_VERSION_MAJOR)
            .arg(ORVELLA_VERSION_MINOR)
            .arg(ORVELLA_VERSION_PATCH);
    case Asked::Nothing:
        break;
    }
    return {};
}

} // namespace InfoOption
