// Two measures of the music's waveform on a five-minute MP3 (a hundred
// copies of a 3-second tone burst):
// - from SetFile to the Ready signal and the columns of the first zoom,
//   which is how long the timeline shows no waveform after a file is chosen;
// - reducing the envelope to the columns of the closest zoom (320 pixels per
//   second), which the timeline does on every zoom change.

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <memory>

#include "CBurstMusic.h"
#include "common/QtTestApplication.h"
#include "panes/CMusicWaveform.h"
#include "support/CTempFolder.h"

namespace {

// The five-minute MP3, made on first use; empty when lame is missing.
const QString& FiveMinuteMusic() {
    static CTempFolder folder;
    static const QString path = [] {
        const std::string burst = folder.Path("burst.mp3");
        const std::string music = folder.Path("five minutes.mp3");
        if (!CBurstMusic::WriteBurst(burst) || !CBurstMusic::WriteRepeated(burst, music, 100)) {
            return QString();
        }
        return QString::fromStdString(music);
    }();
    return path;
}

// A waveform of the five-minute music, decoded.
std::unique_ptr<CMusicWaveform> Decoded(const QString& path) {
    auto waveform = std::make_unique<CMusicWaveform>();
    QEventLoop loop;
    QObject::connect(waveform.get(), &CMusicWaveform::Ready, &loop, &QEventLoop::quit);
    waveform->SetFile(path);
    loop.exec();
    return waveform;
}

void BM_DecodeFiveMinutesAndReduce(benchmark::State& state) {
    lvxtest::TestApplication();
    const QString& path = FiveMinuteMusic();
    if (path.isEmpty()) {
        state.SkipWithError("the lame encoder is needed to make the music");
        return;
    }
    for (auto _ : state) {
        const std::unique_ptr<CMusicWaveform> waveform = Decoded(path);
        benchmark::DoNotOptimize(waveform->ColumnsForZoom(10.0f).data());
    }
}
BENCHMARK(BM_DecodeFiveMinutesAndReduce)->Unit(benchmark::kMillisecond);

void BM_ReduceFiveMinutesAtTheClosestZoom(benchmark::State& state) {
    lvxtest::TestApplication();
    const QString& path = FiveMinuteMusic();
    if (path.isEmpty()) {
        state.SkipWithError("the lame encoder is needed to make the music");
        return;
    }
    const std::unique_ptr<CMusicWaveform> waveform = Decoded(path);
    float zoom = 320.0f;
    for (auto _ : state) {
        // Two zooms in turn: the same zoom twice would cost nothing.
        zoom = zoom == 320.0f ? 160.0f : 320.0f;
        benchmark::DoNotOptimize(waveform->ColumnsForZoom(zoom).data());
    }
}
BENCHMARK(BM_ReduceFiveMinutesAtTheClosestZoom)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
