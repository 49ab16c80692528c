// The demo scene exported as a screensaver: the editor's export (the engine
// writes the packed file; the log's steps run from the event loop) against
// `lumivexis pack` on the same scene with the same settings (a process of
// its own that also loads the package back to check that it plays).

#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QString>
#include <filesystem>
#include <string>

#include "common/QtTestApplication.h"
#include "document/CEditorDocument.h"
#include "export/CExportRun.h"
#include "player/common/ChildProcess.h"
#include "support/CTempFolder.h"

namespace {

const std::string kBin = LVX_BIN_DIR;

// The packages are written below the build's folder, as the tests do.
std::filesystem::path ScratchParent() {
    return std::filesystem::path(kBin).parent_path();
}

bool RunToEnd(CExportRun& run) {
    QEventLoop loop;
    QObject::connect(&run, &CExportRun::Finished, &loop, &QEventLoop::quit);
    run.Start();
    if (!run.IsFinished()) {
        loop.exec();
    }
    return run.Succeeded();
}

void BM_ExportDemoAsScreensaver(benchmark::State& state) {
    lvxtest::TestApplication();
    CTempFolder::EnterPrivateWorkingFolder();
    CTempFolder folder(ScratchParent());
    CEditorDocument document;
    SExportRequest request;
    request.chosenPath = QString::fromStdString(folder.Path("demo.scr"));
    for (auto _ : state) {
        // Opened afresh each time, untimed: an export makes the written file
        // the scene's path, from which the next would look for its files.
        state.PauseTiming();
        QString error;
        if (!document.Open(LVX_DEMO_SCENE, false, &error)) {
            state.SkipWithError(("cannot open the demo: " + error.toStdString()).c_str());
            return;
        }
        state.ResumeTiming();
        CExportRun run(document.Scene(), request);
        if (!RunToEnd(run)) {
            state.SkipWithError("the export failed");
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(folder.Path("demo.scr")));
}
BENCHMARK(BM_ExportDemoAsScreensaver)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_LumivexisPackDemo(benchmark::State& state) {
    CTempFolder folder(ScratchParent());
    const std::vector<std::string> argv = {
        kBin + "/lumivexis", "pack", LVX_DEMO_SCENE, folder.Path("demo.scr"), "--screensaver",
        "--resolution",      "0",    "--title",      "Brennox Skyloom"};
    const std::map<std::string, std::optional<std::string>> env = {
        {"HOME", folder.Root().string()}, {"XDG_STATE_HOME", folder.Path("state")}, {"DISPLAY", std::nullopt}};
    for (auto _ : state) {
        const lvxtest::SChildResult result = lvxtest::RunChild(argv, env, std::chrono::seconds(120));
        if (result.exitCode != 0) {
            state.SkipWithError(("lumivexis pack failed: " + result.err).c_str());
            return;
        }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(folder.Path("demo.scr")));
}
BENCHMARK(BM_LumivexisPackDemo)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
