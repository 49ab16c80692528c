// The two measures of the player:
// - from start to the first presented frame of the packed demo: in this
//   process (output, device, loading the package, first frame) and as a
//   whole program run with one frame (exec and clean-up included);
// - frames per second of the demo at 640 x 480 on the headless surface.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "CPlaybackSession.h"
#include "CScenePlayer.h"
#include "common/ChildProcess.h"
#include "core/CScreen.h"
#include "scene/CScene.h"
#include "support/CTempFolder.h"

namespace {

const std::string kBin = LVX_BIN_DIR;

// The demo packed into a screensaver, once per run of the benchmark, in a
// temporary folder that goes when the benchmark ends.
struct SPackedDemo {
    CTempFolder folder;
    std::string path = folder.Path("demo.scr");

    SPackedDemo() {
        const lvxtest::SChildResult result =
            lvxtest::RunChild({kBin + "/lumivexis", "pack", kBin + "/media/demo/demo.bgs", path, "--resolution", "1"},
                              {{"XDG_STATE_HOME", folder.Root().string()}});
        if (result.exitCode != 0)
            std::fprintf(stderr, "bench_player: packing the demo failed: %s\n", result.err.c_str());
    }
};

const std::string& PackedDemo() {
    static const SPackedDemo demo;
    return demo.path;
}

SOutputChoice Headless640() {
    SOutputChoice output;
    output.kind = TOutputKind::Headless;
    output.width = 640;
    output.height = 480;
    return output;
}

void BM_PackedDemoStartToFirstFrame(benchmark::State& state) {
    const std::string& demo = PackedDemo();
    for (auto _ : state) {
        CScene scene;
        SPlaybackSettings settings;
        settings.scenePath = demo;
        settings.packed = true;
        settings.frameLimit = 1;
        CScenePlayer player(scene, settings);
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        if (!CPlaybackSession::Run(Headless640(), player, error) || !player.FirstPresentTime()) {
            state.SkipWithError("the demo did not play");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(*player.FirstPresentTime() - start).count());
    }
}
BENCHMARK(BM_PackedDemoStartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PackedDemoProgramWithOneFrame(benchmark::State& state) {
    const std::string& demo = PackedDemo();
    const std::string shot = demo + ".png";
    for (auto _ : state) {
        const lvxtest::SChildResult result = lvxtest::RunChild(
            {demo, "--screenshot", shot}, {{"DISPLAY", std::nullopt},
                                           {"WAYLAND_DISPLAY", std::nullopt},
                                           {"XSCREENSAVER_WINDOW", std::nullopt},
                                           {"XDG_STATE_HOME", std::filesystem::path(demo).parent_path().string()},
                                           {"SDL_AUDIODRIVER", "dummy"}});
        if (result.exitCode != 0) {
            state.SkipWithError("the packed demo failed");
            return;
        }
    }
}
BENCHMARK(BM_PackedDemoProgramWithOneFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DemoFramesAt640x480(benchmark::State& state) {
    const std::string& demo = PackedDemo();
    const int frames = static_cast<int>(state.range(0));
    double fps = 0.0;
    for (auto _ : state) {
        CScene scene;
        SPlaybackSettings settings;
        settings.scenePath = demo;
        settings.packed = true;
        settings.frameLimit = frames + 1;
        std::chrono::steady_clock::time_point first;
        std::chrono::steady_clock::time_point last;
        settings.afterPresent = [&](int frame) { (frame == 0 ? first : last) = std::chrono::steady_clock::now(); };
        CScenePlayer player(scene, settings);
        std::string error;
        if (!CPlaybackSession::Run(Headless640(), player, error) || player.FramesRun() != frames + 1) {
            state.SkipWithError("the demo did not play");
            return;
        }
        // From the end of the first frame to the end of the last: frames
        // drawn while playing, without start-up.
        const double seconds = std::chrono::duration<double>(last - first).count();
        state.SetIterationTime(seconds);
        fps = frames / seconds;
    }
    state.counters["fps"] = fps;
}
BENCHMARK(BM_DemoFramesAt640x480)->Arg(60)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
