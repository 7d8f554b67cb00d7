// Any name the engine could be handed (a first byte 1 reads the rest as UTF-16, which reaches
// unpaired surrogates): what the gate admits is an absolute, clean, NUL-free path to a regular
// file, and what it refuses comes with a printable reason and no path.
#include "engine/mediagate.h"
#include "fuzzcheck.h"

#include <QDir>
#include <cstdint>
#include <sys/stat.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    const auto* bytes = reinterpret_cast<const char*>(data);
    const QString name = size > 0 && data[0] == 1
                             ? Fuzz::fromUtf16Bytes(bytes + 1, static_cast<qsizetype>(size - 1))
                             : QString::fromUtf8(bytes, static_cast<qsizetype>(size));

    const MediaGate::Verdict verdict = MediaGate::admit(name);
    if (!verdict.admitted()) {
        FUZZ_CHECK(verdict.path.isEmpty());
        for (qsizetype i = 0; i < verdict.refusal.size(); ++i) {
            const QChar c = verdict.refusal.at(i);
            FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7f);
            FUZZ_CHECK(c.category() != QChar::Other_Format);
            if (c.isHighSurrogate()) {
                FUZZ_CHECK(i + 1 < verdict.refusal.size() &&
                           verdict.refusal.at(i + 1).isLowSurrogate());
                ++i;
            } else {
                FUZZ_CHECK(!c.isLowSurrogate());
            }
        }
        return 0;
    }
    const QString& path = verdict.path;
    FUZZ_CHECK(path.startsWith(u'/'));
    FUZZ_CHECK(path == QDir::cleanPath(path));
    for (const QChar c : path)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7f);
    const QByteArray native = path.toUtf8();
    FUZZ_CHECK(QString::fromUtf8(native) == path);
    FUZZ_CHECK(!native.contains('\0'));
    struct stat info
    {
    };
    FUZZ_CHECK(::stat(native.constData(), &info) == 0 && S_ISREG(info.st_mode));
    return 0;
}
