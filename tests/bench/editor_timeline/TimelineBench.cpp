// One paint of the timeline's ruler, 1,600 pixels wide, with 1,000 keys all
// in view (one every 1.6 pixels at 10 pixels a second), into an image.
// Goal: under 5 ms.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <vector>

#include "common/QtTestApplication.h"
#include "panes/CTimelineRuler.h"

namespace {

void BM_PaintRulerWith1000Keys(benchmark::State& state) {
    lvxtest::TestApplication();
    CTimelineRuler ruler;
    ruler.resize(1600, 70);
    ruler.SetTotalTime(200.0f);
    ruler.SetCurrentTime(80.0f);
    std::vector<CTimelineRuler::SKey> keys;
    for (int i = 0; i < 1000; ++i) {
        keys.push_back({static_cast<float>(i) * 0.16f, i});
    }
    ruler.SetKeys(std::move(keys), 500);
    QImage image(ruler.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        ruler.Paint(painter);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PaintRulerWith1000Keys)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
