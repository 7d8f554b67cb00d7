// Any bytes as a playlist file: the paths read must be exactly the texts between each marker
// and the next double quote of the decoded file, whatever else the bytes hold.
#include "fuzzcheck.h"
#include "playlist/orvformat.h"

#include <cstdint>

namespace {

// Where the marker occurs, overlaps included, found without the reader's own search.
QList<qsizetype> markerPositions(QStringView text, QLatin1StringView marker)
{
    QList<qsizetype> found;
    for (qsizetype at = 0; at + marker.size() <= text.size(); ++at) {
        if (text.sliced(at, marker.size()) == marker)
            found.append(at);
    }
    return found;
}

void checkCollect(const QString& text, QLatin1StringView marker)
{
    const OrvFormat::Values found = OrvFormat::collect(text, marker);
    const QList<qsizetype> markers = markerPositions(text, marker);
    FUZZ_CHECK(found.values.size() <= markers.size());
    for (qsizetype i = 0; i < found.values.size(); ++i) {
        const QString& value = found.values.at(i);
        const qsizetype start = markers.at(i) + marker.size();
        FUZZ_CHECK(!value.contains(u'"'));
        FUZZ_CHECK(QStringView(text).sliced(start).startsWith(value));
        FUZZ_CHECK(start + value.size() < text.size() && text.at(start + value.size()) == u'"');
    }
    if (found.complete) {
        FUZZ_CHECK(found.values.size() == markers.size());
    } else {
        // Reading stops at the first marker without a quote after it; no later one has one.
        FUZZ_CHECK(found.values.size() < markers.size());
        FUZZ_CHECK(text.indexOf(u'"', markers.at(found.values.size()) + marker.size()) < 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::setUpOnce();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromLocal8Bit(bytes);

    const OrvFormat::PathsRead read = OrvFormat::parsePaths(bytes);
    const OrvFormat::Values expected = OrvFormat::collect(text, OrvFormat::PathMarker);
    checkCollect(text, OrvFormat::PathMarker);
    checkCollect(text, OrvFormat::NameMarker);
    if (!read.refusal.isEmpty()) {
        // Refused whole, and only past a limit.
        FUZZ_CHECK(read.paths.isEmpty() && !read.complete);
        FUZZ_CHECK(bytes.size() > OrvFormat::MaxFileBytes ||
                   expected.values.size() > OrvFormat::MaxEntries);
        return 0;
    }
    if (read.tooLong > 0) {
        // Entries longer than a path are left out; what is read comes in the file's order.
        qsizetype next = 0;
        for (const QString& path : read.paths) {
            while (next < expected.values.size() && expected.values.at(next) != path)
                ++next;
            FUZZ_CHECK(next < expected.values.size());
            ++next;
        }
        return 0;
    }
    FUZZ_CHECK(read.paths == expected.values);
    FUZZ_CHECK(read.complete == expected.complete);

    // Decoding settles: the decoded text written back in the locale encoding reads the same.
    const QByteArray encoded = text.toLocal8Bit();
    if (encoded.size() > OrvFormat::MaxFileBytes)
        return 0;
    const OrvFormat::PathsRead again = OrvFormat::parsePaths(encoded);
    FUZZ_CHECK(again.paths == read.paths);
    FUZZ_CHECK(again.complete == read.complete);
    return 0;
}
