// Warm per-frame rendering of planes, animated planes, sky boxes, terrains
// and texts allocates nothing on the heap.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CAnimPlaneObject.h"
#include "objects/CBmpFonts.h"
#include "objects/CHeightMapObject.h"
#include "objects/CPlaneObject.h"
#include "objects/CSkyBoxObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/CAllocationCounter.h"

TEST(WarmRendering, AllocatesNothing) {
    if (!CAllocationCounter::IsAvailable())
        GTEST_SKIP() << "allocations are not counted under the sanitizers";
    planetest::PrepareScreen();
    CHeadlessWindow window(32, 32);
    CScreenRunner runner(window);
    std::unique_ptr<CPlaneObject> plane;
    std::unique_ptr<CAnimPlaneObject> anim;
    std::unique_ptr<CSkyBoxObject> sky;
    std::unique_ptr<CHeightMapObject> terrain;
    std::unique_ptr<CBmpFonts> text;
    long counted = -1;
    ASSERT_TRUE(runner.RunFrames(4, [&](int frame) {
        if (frame == 0) {
            plane = std::make_unique<CPlaneObject>();
            plane->SetSubdivision(4, 4);
            plane->Effect(4);
            anim = std::make_unique<CAnimPlaneObject>();
            anim->SetNumberImages(4);
            anim->Play();
            sky = std::make_unique<CSkyBoxObject>();
            terrain = std::make_unique<CHeightMapObject>();
            text = std::make_unique<CBmpFonts>();
            // Short enough for the string's own buffer: the text curve hands
            // out copies, so a longer text costs one allocation per frame.
            text->SetText("short text");
        }
        CScreen::Instance().SetTime(0.3f * frame);
        CAllocationCounter::Start();
        plane->Render();
        anim->Render();
        sky->Render();
        terrain->Render();
        text->Render();
        const long allocations = CAllocationCounter::Stop();
        if (frame == 3) {
            counted = allocations;
            plane.reset();
            anim.reset();
            sky.reset();
            terrain.reset();
            text.reset();
        }
    }));
    EXPECT_EQ(counted, 0);
}
