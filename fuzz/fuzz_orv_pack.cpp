// Any bytes as a playlist file, read as the player reads one: each path resolved beside the file
// and packed as it is read. The pack must hold exactly what the plain reader returns, resolved,
// and give back each path as it went in.
#include "fuzzcheck.h"
#include "playlist/orvformat.h"
#include "playlist/pathstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    static const QTemporaryDir dir;
    FUZZ_CHECK(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("input.orv"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(fileName);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    const QString folder = QStringLiteral("/base/d\u00e9j\u00e0");
    PathStore packed;
    const OrvFormat::PathsTaken taken = OrvFormat::readPathsInto(fileName, folder, packed);
    const OrvFormat::PathsRead read = OrvFormat::parsePaths(bytes);
    FUZZ_CHECK(taken.refusal.isEmpty() == read.refusal.isEmpty());
    if (!taken.refusal.isEmpty())
        return 0;
    FUZZ_CHECK(taken.complete == read.complete);
    FUZZ_CHECK(taken.notice.isEmpty() == (read.tooLong == 0));

    QStringList resolved;
    for (const QString& path : read.paths)
        resolved.append(OrvFormat::resolveEntry(path, folder));
    FUZZ_CHECK(packed.size() == resolved.size());
    for (qsizetype i = 0; i < resolved.size(); ++i)
        FUZZ_CHECK(packed.at(i) == resolved.at(i));

    // The pack appended to another gives both, in order.
    PathStore joined;
    joined.append(QStringLiteral("/first"));
    joined.append(packed);
    FUZZ_CHECK(joined.toList() == QStringList{QStringLiteral("/first")} + resolved);
    return 0;
}
