// A playlist file read into the playlist window with its entry view on screen, and the view
// scrolled to its end and back, at 1,000 to 100,000 entries.
#include "playlist/orvformat.h"
#include "playlist/playlistwindow.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>
#include <benchmark/benchmark.h>

namespace {

QString playlistFile(QTemporaryDir& dir, int count)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/home/viewer/Movies/Holiday %1/clip number %2.avi")
                     .arg(i / 100)
                     .arg(i);
    const QString path = dir.filePath(QStringLiteral("list%1.orv").arg(count));
    return OrvFormat::save(path, paths).isEmpty() ? path : QString();
}

void readIntoTheWindow(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = playlistFile(dir, static_cast<int>(state.range(0)));
    if (file.isEmpty()) {
        state.SkipWithError("could not write the playlist file");
        return;
    }
    for (auto _ : state) {
        Playlist list;
        PlaylistWindow window(list);
        window.show();
        window.PullFromORV(file);
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.playlist().count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void scrollAndSelect(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = playlistFile(dir, static_cast<int>(state.range(0)));
    Playlist list;
    PlaylistWindow window(list);
    window.show();
    window.PullFromORV(file);
    QTreeView* view = window.listview1();
    const int last = window.playlist().count() - 1;
    for (auto _ : state) {
        view->scrollToBottom();
        view->setCurrentIndex(view->model()->index(last, 0));
        QApplication::processEvents();
        view->scrollToTop();
        view->setCurrentIndex(view->model()->index(0, 0));
        QApplication::processEvents();
    }
}

} // namespace

BENCHMARK(readIntoTheWindow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(scrollAndSelect)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
