// Any command line (arguments split at NUL bytes, decoded as the program's arguments are):
// the path taken from it, whether it is a playlist, and its display names.
#include "namechecks.h"
#include "player/startup.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    QStringList arguments;
    if (size > 0) {
        const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
        for (const QByteArray& argument : bytes.split('\0'))
            arguments.append(QString::fromLocal8Bit(argument));
    }

    const QString path = Startup::MPathFrom(arguments);
    FUZZ_CHECK(!path.contains(u'"'));
    qsizetype length = arguments.isEmpty() ? 0 : arguments.size() - 1;
    QStringList unquoted;
    for (const QString& argument : arguments) {
        length += argument.size() - argument.count(u'"');
        unquoted.append(QString(argument).remove(u'"'));
    }
    FUZZ_CHECK(path.size() == length);
    FUZZ_CHECK(path == unquoted.join(u' '));

    const bool playlist = OrvFormat::isPlaylistPath(path);
    FUZZ_CHECK(playlist == (path.size() >= 4 && QStringView(path).last(4) == u".orv"));
    if (playlist)
        FUZZ_CHECK(OrvFormat::isPlaylistPath(Paths::nameAfterLastSeparator(path)));
    Fuzz::checkDisplayNames(path);
    return 0;
}
