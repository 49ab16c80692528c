// How long the "Basic" page takes to show a box's values again (what it
// does after every edit, undo and keyframe change); it should stay well
// under a millisecond. Off screen, with the page shown in a sized pane.

#include <benchmark/benchmark.h>

#include "common/QtTestApplication.h"
#include "document/CEditorDocument.h"
#include "objects/CBoxObject.h"
#include "properties/CBasicPage.h"
#include "properties/CPropertiesPane.h"

namespace {

void BM_RefreshBasicPageOfABox(benchmark::State& state) {
    lvxtest::TestApplication();
    CEditorDocument document;
    auto* box = new CBoxObject();
    box->SetObjName("Box1");
    box->Init();
    box->SetPosition(1.5f, 2.0f, -3.25f);
    box->SetTexture("C:\\media\\wood.bmp", 0);
    document.Scene().AddObject(*box);
    CPropertiesPane pane(document);
    pane.resize(290, 380);
    pane.ShowObject(box, false);
    pane.show();
    CBasicPage& page = *pane.BasicPage();
    for (auto _ : state) {
        page.Refresh();
    }
}
BENCHMARK(BM_RefreshBasicPageOfABox)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
