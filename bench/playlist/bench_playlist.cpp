// Playlist files and folder scans at 1,000 to 100,000 entries (a million packed), and a 100 MB file
// whose one entry never ends. Inputs are made once per size in a temporary folder, outside the
// timed loops.
#include "playlist/folderscan.h"
#include "playlist/orvformat.h"
#include "playlist/pathstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

QStringList makePaths(int count)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/home/viewer/Movies/Holiday %1/clip number %2.avi")
                     .arg(i / 100)
                     .arg(i);
    return paths;
}

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

const QString& playlistFile(int count)
{
    static std::map<int, QString> files;
    auto [it, added] = files.try_emplace(count);
    if (added) {
        it->second = scratch().filePath(QStringLiteral("read%1.orv").arg(count));
        if (!OrvFormat::save(it->second, makePaths(count)).isEmpty())
            it->second.clear();
    }
    return it->second;
}

// A folder of count files: five in six carry one of the scan's extensions, in all cases.
const QString& mediaFolder(int count)
{
    static const char* const extensions[] = {".mpg", ".MPEG", ".avi", ".asf", ".DivX", ".dat",
                                             ".wmv", ".txt",  ".avi", ".mpg", ".srt",  ".mkv"};
    static std::map<int, QString> folders;
    auto [it, added] = folders.try_emplace(count);
    if (added) {
        it->second = scratch().filePath(QStringLiteral("scan%1").arg(count));
        QDir().mkpath(it->second);
        for (int i = 0; i < count; ++i) {
            QFile file(it->second +
                       QStringLiteral("/clip%1%2")
                           .arg(i)
                           .arg(QLatin1StringView(extensions[i % std::size(extensions)])));
            if (!file.open(QIODevice::WriteOnly)) {
                it->second.clear();
                break;
            }
        }
    }
    return it->second;
}

void BM_Serialize(benchmark::State& state)
{
    const QStringList paths = makePaths(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(OrvFormat::serialize(paths));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Save(benchmark::State& state)
{
    const QStringList paths = makePaths(static_cast<int>(state.range(0)));
    const QString fileName = scratch().filePath(QStringLiteral("save.orv"));
    for (auto _ : state) {
        if (!OrvFormat::save(fileName, paths).isEmpty()) {
            state.SkipWithError("save failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ReadPaths(benchmark::State& state)
{
    const QString& fileName = playlistFile(static_cast<int>(state.range(0)));
    if (fileName.isEmpty()) {
        state.SkipWithError("could not write the playlist");
        return;
    }
    for (auto _ : state) {
        const OrvFormat::PathsRead read = OrvFormat::readPaths(fileName);
        if (read.paths.size() != state.range(0)) {
            state.SkipWithError("wrong entry count");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// As the playlist window reads a file: each path packed as it is read. Reports what the packed
// list holds per entry.
void BM_ReadIntoStore(benchmark::State& state)
{
    const QString& fileName = playlistFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PathStore store;
        const OrvFormat::PathsTaken read =
            OrvFormat::readPathsInto(fileName, QStringLiteral("/"), store);
        if (store.size() != state.range(0) || !read.complete) {
            state.SkipWithError("wrong entry count");
            break;
        }
        state.counters["bytes_per_entry"] = double(store.heapBytes()) / double(store.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// 100 MB after one marker that no double quote ever closes; with a non-ASCII byte or without.
const QString& unclosedFile(bool ascii)
{
    static std::map<bool, QString> files;
    auto [it, added] = files.try_emplace(ascii);
    if (added) {
        it->second = scratch().filePath(ascii ? QStringLiteral("unclosed-ascii.orv")
                                              : QStringLiteral("unclosed-utf8.orv"));
        QFile file(it->second);
        const QByteArray start =
            QByteArray(OrvFormat::PathMarker.data(), OrvFormat::PathMarker.size()) +
            (ascii ? "/m/" : "/m/\xc3\xa9");
        const QByteArray block(1 << 20, 'x');
        bool written = file.open(QIODevice::WriteOnly) && file.write(start) == start.size();
        for (int i = 0; written && i < 100; ++i)
            written = file.write(block) == block.size();
        if (!written)
            it->second.clear();
    }
    return it->second;
}

void BM_ReadUnclosedMarker(benchmark::State& state)
{
    const bool ascii = state.range(0) == 0;
    state.SetLabel(ascii ? "ASCII" : "non-ASCII");
    const QString& fileName = unclosedFile(ascii);
    if (fileName.isEmpty()) {
        state.SkipWithError("could not write the file");
        return;
    }
    for (auto _ : state) {
        const OrvFormat::PathsRead read = OrvFormat::readPaths(fileName);
        if (!read.paths.isEmpty() || read.complete || !read.refusal.isEmpty()) {
            state.SkipWithError("not read as one cut-off entry");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(fileName).size());
}

void BM_ScanFolder(benchmark::State& state)
{
    const QString& folder = mediaFolder(static_cast<int>(state.range(0)));
    if (folder.isEmpty()) {
        state.SkipWithError("could not make the folder");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(FolderScan::scan(folder));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Serialize)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPaths)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntoStore)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadUnclosedMarker)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanFolder)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
