// Warm per-frame rendering of planes, animated planes, sky boxes, terrains
// and texts allocates nothing on the heap.
#include <gtest/gtest.h>

#include <atomic>
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

// The sanitizers bring their own allocator: the count is taken in plain
// builds only.
#if defined(__SANITIZE_ADDRESS__)
#define LVX_COUNT_ALLOCATIONS 0
#else
#define LVX_COUNT_ALLOCATIONS 1
#endif

namespace {
thread_local bool t_counting = false;
std::atomic<int> g_allocations{0};
}  // namespace

#if LVX_COUNT_ALLOCATIONS

// Every allocation of the test program goes through these; the counting is
// switched on for the render thread only while a warm frame draws. (GCC
// cannot see that these two pair with each other.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    if (t_counting)
        ++g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#endif

TEST(WarmRendering, AllocatesNothing) {
    if (!LVX_COUNT_ALLOCATIONS)
        GTEST_SKIP() << "allocations are not counted under the sanitizers";
    planetest::PrepareScreen();
    CHeadlessWindow window(32, 32);
    CScreenRunner runner(window);
    std::unique_ptr<CPlaneObject> plane;
    std::unique_ptr<CAnimPlaneObject> anim;
    std::unique_ptr<CSkyBoxObject> sky;
    std::unique_ptr<CHeightMapObject> terrain;
    std::unique_ptr<CBmpFonts> text;
    int counted = -1;
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
        t_counting = frame == 3;
        g_allocations = 0;
        plane->Render();
        anim->Render();
        sky->Render();
        terrain->Render();
        text->Render();
        t_counting = false;
        if (frame == 3) {
            counted = g_allocations;
            plane.reset();
            anim.reset();
            sky.reset();
            terrain.reset();
            text.reset();
        }
    }));
    EXPECT_EQ(counted, 0);
}
