// Two measures of the editor, off screen:
// - Rebuild of the object list with 1,000 boxes in the scene;
// - the longest time the user-interface thread waits for the scene lock
//   while the render thread draws the demo scene (reported as a counter in
//   milliseconds, beside the mean wait).

#include <benchmark/benchmark.h>

#include <QString>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include "common/QtTestApplication.h"
#include "document/CEditorDocument.h"
#include "document/CHeadlessEngine.h"
#include "objects/CBoxObject.h"
#include "panes/CObjectListPane.h"
#include "support/CTempFolder.h"

namespace {

void BM_RebuildObjectListOf1000Objects(benchmark::State& state) {
    lvxtest::TestApplication();
    CEditorDocument document;
    for (int i = 0; i < 1000; ++i) {
        auto* box = new CBoxObject();
        box->SetObjName(("box_" + std::to_string(i)).c_str());
        box->Init();
        document.Scene().AddObject(*box);
    }
    CObjectListPane pane(document);
    for (auto _ : state) {
        pane.Rebuild(true, false);
    }
}
BENCHMARK(BM_RebuildObjectListOf1000Objects)->Unit(benchmark::kMillisecond);

void BM_SceneLockWaitWhileTheDemoRenders(benchmark::State& state) {
    lvxtest::TestApplication();
    CTempFolder folder;
    CEditorDocument document;
    CHeadlessEngine engine(&document.Scene(), 800, 600);
    if (!engine.Start()) {
        state.SkipWithError("the engine has no device");
        return;
    }
    QString error;
    if (!document.Open(LVX_DEMO_SCENE, false, &error)) {
        state.SkipWithError(("cannot open the demo: " + error.toStdString()).c_str());
        return;
    }
    engine.WaitFrames(2);
    double longest = 0.0;
    double total = 0.0;
    long count = 0;
    for (auto _ : state) {
        const auto before = std::chrono::steady_clock::now();
        {
            CSceneLock lock(document.Scene());
            const std::chrono::duration<double, std::milli> waited = std::chrono::steady_clock::now() - before;
            longest = std::max(longest, waited.count());
            total += waited.count();
            ++count;
        }
        // A user's edits come now and then, not back to back.
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    state.counters["longest_wait_ms"] = longest;
    state.counters["mean_wait_ms"] = count > 0 ? total / static_cast<double>(count) : 0.0;
    state.counters["frames"] = static_cast<double>(engine.Frames());
    engine.Stop();
}
BENCHMARK(BM_SceneLockWaitWhileTheDemoRenders)->Unit(benchmark::kMillisecond)->Iterations(400);

}  // namespace

BENCHMARK_MAIN();
