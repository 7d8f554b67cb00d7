// How long a put of FileName takes to return, per committed clip, on the engine without a
// display (null video and audio outputs). Each iteration opens the clip again, replacing the
// copy that is playing.
#include "engine/mpv/mpvengine.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

MpvEngine& engine()
{
    static const auto instance = std::make_unique<MpvEngine>(
        MpvEngine::Options{.video = false, .audioOutput = QStringLiteral("null")});
    return *instance;
}

void openClip(benchmark::State& state, const char* name, bool opens)
{
    const QString path = QStringLiteral(ORVELLA_MEDIA_DIR "/") + QLatin1String(name);
    for (auto _ : state) {
        if (engine().setFileName(path) != opens) {
            state.SkipWithError(qPrintable(engine().lastError()));
            return;
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    for (const char* name : {"clip.avi", "clip.divx", "clip.mpg", "clip.dat", "clip.wmv",
                             "clip.asf", "sound.mp3", "still.jpg", "uhd.avi"})
        benchmark::RegisterBenchmark(name, openClip, name, true)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    benchmark::RegisterBenchmark("missing.avi (refused)", openClip, "missing.avi", false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
