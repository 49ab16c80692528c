// One frame of a scene of 10,000 boxes seen through one camera trajectory, on
// a 64 x 64 headless surface: the whole of CScene::Render, and its two parts
// apart, the drawing order (camera choice and ReorderList) and the drawing.
// Every allocation on the render thread is counted, so that the report shows
// how many a warm frame makes (the aim: none).
//
// The benchmarks run inside the one frame of a screen run, on its render
// thread, where the device lives.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <string>

#include "animation/CCameraTrajectoryObject.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "objects/CBoxObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CScene.h"
#include "support/CAllocationCounter.h"
#include "support/CTempFolder.h"

// ---------------------------------------------------------------- the scene

// The two halves of a frame, as Render runs them.
class CSceneFrameProbe {
public:
    static void Order(CScene& scene) {
        std::lock_guard<CMutex> guard(scene.m_SceneLock);
        scene.SelectCurrentCamera();
        scene.SetCamera();
        scene.ReorderList();
    }
    static void Draw(CScene& scene) {
        std::lock_guard<CMutex> guard(scene.m_SceneLock);
        for (CObjects* object : scene.m_Objects)
            object->Render();
    }
};

namespace {

constexpr int kBoxes = 10000;
CScene* g_scene = nullptr;

// Boxes scattered in front of the camera: most opaque, a fifth transparent,
// a tenth overlays, so that every group of the drawing order has members.
void BuildScene(CScene& scene) {
    std::mt19937 random(3);
    std::uniform_real_distribution<float> across(-20.0f, 20.0f);
    std::uniform_real_distribution<float> deep(0.0f, 60.0f);
    for (int i = 0; i < kBoxes; ++i) {
        auto* box = new CBoxObject();
        box->SetObjName("box " + std::to_string(i));
        box->SetPosition(across(random), across(random), deep(random));
        if (i % 5 == 1)
            box->SetAlpha(0.5f);
        if (i % 10 == 2)
            box->SetProjectionMode(PM_SCREEN_OVERLAY);
        scene.AddObject(*box);
    }
    auto* camera = new CCameraTrajectoryObject();
    camera->SetPosition(D3DXVECTOR3(0.0f, 0.0f, -30.0f));
    camera->SetWeight(1);
    scene.AddObject(*camera);
    scene.SetFreeCamera(false);
}

// Runs body once to warm up, then times it, counting allocations.
template <class TBody>
void TimeFrames(benchmark::State& state, TBody body) {
    body();
    std::size_t allocations = 0;
    for (auto _ : state) {
        CAllocationCounter::Start();
        body();
        allocations += static_cast<std::size_t>(CAllocationCounter::Stop());
    }
    state.counters["allocations_per_frame"] =
        static_cast<double>(allocations) /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void BM_RenderFrame(benchmark::State& state) {
    TimeFrames(state, [] { g_scene->Render(); });
}

void BM_DrawingOrder(benchmark::State& state) {
    TimeFrames(state, [] { CSceneFrameProbe::Order(*g_scene); });
}

void BM_Drawing(benchmark::State& state) {
    TimeFrames(state, [] { CSceneFrameProbe::Draw(*g_scene); });
}

}  // namespace

BENCHMARK(BM_DrawingOrder)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Drawing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CTempFolder::EnterPrivateWorkingFolder();  // the engine log goes here

    CScreen& screen = CScreen::Instance();
    screen.ViewInfo(false);
    screen.SetShowFPS(false);
    CHeadlessWindow window(64, 64);
    CScreenRunner runner(window);
    runner.SetTimeout(24 * 60 * 60);
    const bool ran = runner.RunFrames(1, [](int) {
        auto scene = std::make_unique<CScene>();
        g_scene = scene.get();
        BuildScene(*scene);
        benchmark::RunSpecifiedBenchmarks();
        g_scene = nullptr;
    });
    screen.SetWindow(nullptr);
    benchmark::Shutdown();
    return ran ? 0 : 1;
}
