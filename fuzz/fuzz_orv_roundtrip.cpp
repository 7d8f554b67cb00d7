// Any list of paths: a list the format can hold reads back unchanged, names included, and
// saves to exactly the written bytes; a list it cannot hold is refused by write and save,
// leaving the earlier file as it was and nothing beside it.
//
// The first byte picks how the rest becomes paths: bit 2 splits at NUL instead of line feed,
// the rest (modulo 3) decodes the pieces as the locale, as UTF-8 or as raw UTF-16.
#include "engine/mediagate.h"
#include "fuzzcheck.h"
#include "playlist/orvformat.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

namespace {

QStringList pathsFrom(const uint8_t* data, size_t size)
{
    if (size < 2)
        return {};
    const uint8_t mode = data[0];
    const char separator = (mode & 4) ? '\0' : '\n';
    const QByteArray rest(reinterpret_cast<const char*>(data + 1),
                          static_cast<qsizetype>(size - 1));
    QStringList paths;
    switch (mode % 3) {
    case 0:
        for (const QByteArray& piece : rest.split(separator))
            paths.append(QString::fromLocal8Bit(piece));
        break;
    case 1:
        for (const QByteArray& piece : rest.split(separator))
            paths.append(QString::fromUtf8(piece));
        break;
    default:
        paths = Fuzz::fromUtf16Bytes(rest.constData(), rest.size())
                    .split(QChar(static_cast<char16_t>(separator)));
        break;
    }
    return paths;
}

QByteArray fileBytes(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

// One folder for the whole run; the file in it always holds what the last successful save
// wrote.
struct SaveTarget
{
    QTemporaryDir dir;
    QString fileName = dir.filePath(QStringLiteral("list.orv"));
    QByteArray bytes;

    SaveTarget()
    {
        FUZZ_CHECK(dir.isValid());
        bytes = OrvFormat::serialize({QStringLiteral("/m/old.avi")});
        QFile file(fileName);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    bool alone() const
    {
        return QDir(dir.path())
                   .entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                              QDir::NoDotAndDotDot) == QStringList{QStringLiteral("list.orv")};
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    static SaveTarget target;
    const QStringList paths = pathsFrom(data, size);

    qsizetype refused = -1;
    for (qsizetype i = 0; i < paths.size() && refused < 0; ++i) {
        if (!OrvFormat::canHold(paths.at(i)))
            refused = i;
    }

    if (refused < 0) {
        const QByteArray bytes = OrvFormat::serialize(paths);
        const OrvFormat::PathsRead read = OrvFormat::parsePaths(bytes);
        FUZZ_CHECK(read.complete);
        FUZZ_CHECK(read.paths == paths);
        const OrvFormat::Values names =
            OrvFormat::collect(QString::fromLocal8Bit(bytes), OrvFormat::NameMarker);
        FUZZ_CHECK(names.complete);
        FUZZ_CHECK(names.values.size() == paths.size());
        for (qsizetype i = 0; i < paths.size(); ++i)
            FUZZ_CHECK(names.values.at(i) == OrvFormat::entryName(paths.at(i)));

        FUZZ_CHECK(OrvFormat::save(target.fileName, paths).isEmpty());
        target.bytes = bytes;
    } else {
        QBuffer buffer;
        FUZZ_CHECK(buffer.open(QIODevice::WriteOnly));
        const QString writeError = OrvFormat::write(buffer, paths);
        FUZZ_CHECK(!writeError.isEmpty());
        FUZZ_CHECK(buffer.data().isEmpty());

        const QString saveError = OrvFormat::save(target.fileName, paths);
        FUZZ_CHECK(saveError.contains(MediaGate::printable(paths.at(refused))));
    }
    FUZZ_CHECK(fileBytes(target.fileName) == target.bytes);
    FUZZ_CHECK(target.alone());
    return 0;
}
