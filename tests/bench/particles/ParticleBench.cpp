// One frame of a particle emitter with all 2000 slots alive: the update alone
// (ageing, moving, fading, the emission that finds the pool full), and the
// whole Render (update, vertex streaming in batches of 200 and the draws
// through the Direct3D 8 layer on the headless surface), so that the draw's
// share is their difference. Each reports the heap allocations of its warm
// frames, which should be none.

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <new>

#include "core/CScreen.h"
#include "objects/CParticleEmitter.h"
#include "support/CAllocationCounter.h"
#include "support/CHeadlessDevice.h"

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
    CAllocationCounter::Start();
    for (auto _ : state) {
        time += kFrameSeconds;
        emitter.Update(time, kFrameSeconds);
    }
    ReportAllocations(state, CAllocationCounter::Stop());
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
        CAllocationCounter::Start();
        for (auto _ : state) {
            time += kFrameSeconds;
            screen.SetTime(time);
            emitter.Render();
            if (++sinceFinish == kFramesBetweenFinishes) {
                glFinish();
                sinceFinish = 0;
            }
        }
        const long allocations = CAllocationCounter::Stop();
        glFinish();
        ReportAllocations(state, allocations);
        if (emitter.GetNumActiveParticles() != CParticleEmitter::kPoolSize) {
            state.SkipWithError("particles died during the run");
        }
    }
}
BENCHMARK(BM_ParticleUpdateAndRender2000);

}  // namespace

BENCHMARK_MAIN();
