// One frame of a particle emitter with all 2000 slots alive: the update alone
// (ageing, moving, fading, the emission that finds the pool full), and the
// whole Render (update, vertex streaming in batches of 200 and the draws
// through the Direct3D 8 layer on the headless surface), so that the draw's
// share is their difference. Each reports the heap allocations of its warm
// frames, which should be none.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "core/CScreen.h"
#include "objects/CParticleEmitter.h"
#include "support/CHeadlessDevice.h"

// The sanitizers bring their own allocator: the count is taken in plain
// builds only.
#if defined(__SANITIZE_ADDRESS__)
#define LVX_COUNT_ALLOCATIONS 0
#else
#define LVX_COUNT_ALLOCATIONS 1
#endif

namespace {
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
}  // namespace

#if LVX_COUNT_ALLOCATIONS
// Every allocation of the program goes through these; they count only while
// the timed frames run. (GCC cannot see that these two pair with each other.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (g_counting.load(std::memory_order_relaxed)) {
        g_allocations.fetch_add(1, std::memory_order_relaxed);
    }
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#endif

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kFrameSeconds = 1.0f / 60.0f;
constexpr int kFramesBetweenFinishes = 64;

// Long-lived particles in front of a camera at the origin, emitted until
// the pool is full.
void FillPool(CParticleEmitter& emitter) {
    emitter.SetLifetime(CMinMax<float>(1.0e6f, 1.0e6f));
    emitter.SetEmitRate(CMinMax<float>(1.0e6f, 1.0e6f));
    emitter.SetPos(D3DXVECTOR3(0.0f, 0.0f, 20.0f));
    emitter.SetEmitRadius(D3DXVECTOR3(5.0f, 5.0f, 1.0f));
    emitter.SetSize(CMinMax<float>(0.05f, 0.2f));
    emitter.SetGravity(D3DXVECTOR3(0.0f, -0.01f, 0.0f));
    emitter.SetStartColor1(D3DXCOLOR(1.0f, 0.5f, 0.2f, 1.0f));
    emitter.SetEndColor1(D3DXCOLOR(0.2f, 0.0f, 0.0f, 0.0f));
    emitter.Update(0.0f, 1.0f);
}

void ReportAllocations(benchmark::State& state, long allocations) {
    state.counters["allocs/frame"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    state.counters["particles"] = CParticleEmitter::kPoolSize;
}

void BM_ParticleUpdate2000(benchmark::State& state) {
    CParticleEmitter emitter;
    FillPool(emitter);
    if (emitter.GetNumActiveParticles() != CParticleEmitter::kPoolSize) {
        state.SkipWithError("the pool did not fill");
        return;
    }
    float time = 1.0f;
    g_allocations = 0;
    g_counting = true;
    for (auto _ : state) {
        time += kFrameSeconds;
        emitter.Update(time, kFrameSeconds);
    }
    g_counting = false;
    ReportAllocations(state, g_allocations.load());
}
BENCHMARK(BM_ParticleUpdate2000);

void BM_ParticleUpdateAndRender2000(benchmark::State& state) {
    CHeadlessDevice device(kWidth, kHeight);
    if (!device.Valid()) {
        state.SkipWithError("no Direct3D device on the headless surface");
        return;
    }
    CScreen& screen = CScreen::Instance();
    screen.Stop();
    screen.SetTime(0.0f);
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.785f, 4.0f / 3.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    {
        CParticleEmitter emitter;
        emitter.Init();  // no run: the screen has no device to give
        emitter.RestoreDeviceObjects(device.Get());
        FillPool(emitter);
        float time = 0.0f;
        emitter.Render();  // the first frame builds the program
        glFinish();
        int sinceFinish = 0;
        g_allocations = 0;
        g_counting = true;
        for (auto _ : state) {
            time += kFrameSeconds;
            screen.SetTime(time);
            emitter.Render();
            if (++sinceFinish == kFramesBetweenFinishes) {
                glFinish();
                sinceFinish = 0;
            }
        }
        g_counting = false;
        glFinish();
        ReportAllocations(state, g_allocations.load());
        if (emitter.GetNumActiveParticles() != CParticleEmitter::kPoolSize) {
            state.SkipWithError("particles died during the run");
        }
    }
}
BENCHMARK(BM_ParticleUpdateAndRender2000);

}  // namespace

BENCHMARK_MAIN();
