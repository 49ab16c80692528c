// Evaluating a movement path at a distance: the segment is found by a binary
// search over the arc-length tables, so the time per evaluation should grow
// with the logarithm of the point count (16, 64, 256), not with it.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "animation/CMove.h"

namespace {

void BM_MoveGetPosition(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    CMove move;
    move.SetMode(static_cast<tMoveMode>(state.range(1)));
    move.SetLoop(false);
    for (int i = 0; i < points; ++i) {
        const float angle = 0.3f * static_cast<float>(i);
        move.AddPoint(20.0f * std::cos(angle), 0.1f * static_cast<float>(i), 20.0f * std::sin(angle), 0, 0, 1, 5, 0, 1,
                      0, 0.8f);
    }

    // Distances spread over the whole path, in an order no predictor can learn.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> anywhere(0.0f, move.GetTotalDistance());
    std::vector<float> distances(4096);
    for (float& d : distances) {
        d = anywhere(random);
    }

    float v[11];
    size_t next = 0;
    for (auto _ : state) {
        move.GetPosition(distances[next], v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]);
        benchmark::DoNotOptimize(v);
        next = (next + 1) & (distances.size() - 1);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(1) == MM_LINEAR ? "linear" : "hermite");
}

}  // namespace

BENCHMARK(BM_MoveGetPosition)->ArgsProduct({{16, 64, 256}, {MM_LINEAR, MM_HSPLINE}});

BENCHMARK_MAIN();
