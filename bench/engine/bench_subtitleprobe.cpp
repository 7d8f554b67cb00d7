// What looking for a film's subtitle files costs in a folder of 100,000 files: the player's
// probe by name against one listing of the folder (the least mpv's own search does at every
// open), and the whole put of FileName there against the same put in a folder of its own.
#include "engine/mpv/mpvengine.h"
#include "engine/subtitleprobe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kFiles = 100000;

struct Folders
{
    QTemporaryDir big;
    QTemporaryDir small;
    QString bigFilm;
    QString smallFilm;
};

// Empty files named as a large film collection's would be, a film and its subtitle file.
bool fill(const QString& folder, int files, QString& film)
{
    for (int i = 0; i < files; ++i) {
        const QByteArray name =
            QFile::encodeName(folder) + "/film" + QByteArray::number(i) + ".mkv";
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0)
            return false;
        ::close(fd);
    }
    film = folder + QStringLiteral("/film.avi");
    QFile subtitle(folder + QStringLiteral("/film.srt"));
    return QFile::link(QStringLiteral(ORVELLA_MEDIA_DIR "/clip.avi"), film) &&
           subtitle.open(QIODevice::WriteOnly) &&
           subtitle.write("1\n00:00:00,000 --> 00:00:01,000\nx\n") > 0;
}

Folders& folders()
{
    static const auto made = [] {
        auto f = std::make_unique<Folders>();
        if (!fill(f->big.path(), kFiles, f->bigFilm) || !fill(f->small.path(), 0, f->smallFilm))
            qFatal("cannot fill the benchmark's folders");
        return f;
    }();
    return *made;
}

void probe(benchmark::State& state)
{
    const QString film = folders().bigFilm;
    for (auto _ : state) {
        const auto found = SubtitleProbe::beside(film);
        if (found.size() != 1)
            state.SkipWithError("film.srt not found");
        benchmark::DoNotOptimize(found);
    }
}

void listFolder(benchmark::State& state)
{
    const QByteArray folder = QFile::encodeName(folders().big.path());
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.constData());
        int entries = 0;
        while (::readdir(dir))
            ++entries;
        ::closedir(dir);
        if (entries < kFiles)
            state.SkipWithError("folder not listed whole");
    }
}

MpvEngine& engine()
{
    static const auto instance = std::make_unique<MpvEngine>(
        MpvEngine::Options{.video = false, .audioOutput = QStringLiteral("null")});
    return *instance;
}

void openFilm(benchmark::State& state, bool big)
{
    const QString film = big ? folders().bigFilm : folders().smallFilm;
    for (auto _ : state) {
        if (!engine().setFileName(film))
            state.SkipWithError(qPrintable(engine().lastError()));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    folders();
    benchmark::RegisterBenchmark("probe film.avi among 100,000 files", probe)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("readdir of the 100,000 files", listFolder)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("open film.avi alone in its folder", openFilm, false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("open film.avi among 100,000 files", openFilm, true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
