// Evaluating a curve: the key lookup is a binary search, so the time per
// evaluation should grow with the logarithm of the key count, not with it.
// (That the search finds what a walk from the first key finds is checked by
// the curve lookup tests.)
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "animation/CInterpolation.h"

namespace {

void BM_CurveGetValue(benchmark::State& state) {
    const int keys = static_cast<int>(state.range(0));
    const auto mode = static_cast<TInterpolationMode>(state.range(1));
    CInterpolation curve;
    curve.SetMode(mode);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> value(-10.0f, 10.0f);
    for (int i = 0; i < keys; ++i)
        curve.Insert(value(random), 0.5f * static_cast<float>(i), -1);

    // Times spread over the whole curve, in an order no predictor can learn.
    const float last = 0.5f * static_cast<float>(keys - 1);
    std::uniform_real_distribution<float> anywhere(0.0f, last);
    std::vector<float> times(4096);
    for (float& t : times)
        t = anywhere(random);

    size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(curve.GetValue(times[next]));
        next = (next + 1) & (times.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(mode == IM_LINEAR ? "linear" : "hermite");
}

}  // namespace

BENCHMARK(BM_CurveGetValue)->ArgsProduct({{10, 100, 1000, 10000}, {IM_LINEAR, IM_HSPLINE}});

BENCHMARK_MAIN();
