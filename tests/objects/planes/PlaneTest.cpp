// Planes: the grid a plane builds, its texture coordinates and window, the
// texture wave, rebuilding when the size curves change, and what a plane
// draws on the headless surface.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CPlaneObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "support/PixelProbe.h"

using planetest::Indices;
using planetest::Vertices;

namespace {

class CTestPlane : public CPlaneObject {
public:
    using CPlaneObject::Resize;
    using CPlaneObject::SetCurrentSize;
};

class PlaneTest : public testing::Test {
protected:
    void SetUp() override { planetest::PrepareScreen(); }

    // Runs `frames` frames on a 64 x 48 surface; the plane lives from the
    // first frame to the last, inside the run.
    template <class TBody>
    bool Run(int frames, TBody body) {
        CHeadlessWindow window(64, 48);
        runner = std::make_unique<CScreenRunner>(window);
        std::unique_ptr<CTestPlane> plane;
        return runner->RunFrames(frames, [&](int frame) {
            if (frame == 0)
                plane = std::make_unique<CTestPlane>();
            body(*plane, frame);
            if (frame == frames - 1)
                plane.reset();
        });
    }

    std::unique_ptr<CScreenRunner> runner;
};

}  // namespace

TEST_F(PlaneTest, NewPlaneIsAUnitSquareShowingTheWholeTexture) {
    CTestPlane fresh;
    float width = 0, height = 0;
    fresh.GetSize(width, height);
    EXPECT_EQ(width, 1.0f);
    EXPECT_EQ(height, 1.0f);
    EXPECT_FALSE(fresh.GetCulling());
    EXPECT_EQ(fresh.GetProjectionMode(), PM_SCREEN_OVERLAY);
    const D3DCOLORVALUE colour = fresh.GetDiffuseColor(0);
    EXPECT_EQ(colour.r + colour.g + colour.b + colour.a, 4.0f);

    std::vector<S3DVERTEX> vertices;
    std::vector<WORD> indices;
    CString type, description;
    ASSERT_TRUE(Run(1, [&](CTestPlane& plane, int) {
        plane.Render();
        vertices = Vertices(plane);
        indices = Indices(plane);
        type = plane.GetObjType();
        description = plane.GetObjDescription();
    }));
    EXPECT_EQ(type, "CPlaneObject");
    EXPECT_EQ(description, "Plane");
    ASSERT_EQ(vertices.size(), 4u);
    EXPECT_EQ(indices, (std::vector<WORD>{0, 1, 3, 0, 3, 2}));
    // Top-left, top-right, bottom-left, bottom-right.
    const float expected[4][4] = {{-0.5f, 0.5f, 0, 0}, {0.5f, 0.5f, 1, 0}, {-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 1, 1}};
    for (int n = 0; n < 4; ++n) {
        EXPECT_FLOAT_EQ(vertices[n].x, expected[n][0]) << n;
        EXPECT_FLOAT_EQ(vertices[n].y, expected[n][1]) << n;
        EXPECT_EQ(vertices[n].z, 0.0f) << n;
        EXPECT_EQ(vertices[n].nz, 1.0f) << n;
        EXPECT_EQ(vertices[n].tu1, expected[n][2]) << n;
        EXPECT_EQ(vertices[n].tv1, expected[n][3]) << n;
        EXPECT_EQ(vertices[n].tu2, expected[n][2]) << n;
        EXPECT_EQ(vertices[n].tv2, expected[n][3]) << n;
    }
}

TEST_F(PlaneTest, SubdivisionRepeatsTheSecondTexturePairOncePerCell) {
    std::vector<S3DVERTEX> vertices;
    std::vector<WORD> indices;
    int builtX = 0, builtY = 0;
    ASSERT_TRUE(Run(1, [&](CTestPlane& plane, int) {
        plane.SetSubdivision(4, 2);
        plane.Render();
        vertices = Vertices(plane);
        indices = Indices(plane);
        plane.GetBuiltSubdivision(builtX, builtY);
    }));
    EXPECT_EQ(builtX, 4);
    EXPECT_EQ(builtY, 2);
    ASSERT_EQ(vertices.size(), 15u);
    ASSERT_EQ(indices.size(), 16u * 3u);
    // Row 1, column 2 is the centre; the last vertex the bottom-right corner.
    EXPECT_FLOAT_EQ(vertices[7].x, 0.0f);
    EXPECT_FLOAT_EQ(vertices[7].y, 0.0f);
    EXPECT_FLOAT_EQ(vertices[7].tu1, 0.5f);
    EXPECT_FLOAT_EQ(vertices[7].tv1, 0.5f);
    EXPECT_FLOAT_EQ(vertices[7].tu2, 2.0f);
    EXPECT_FLOAT_EQ(vertices[7].tv2, 1.0f);
    EXPECT_FLOAT_EQ(vertices[14].tu2, 4.0f);
    EXPECT_FLOAT_EQ(vertices[14].tv2, 2.0f);
    EXPECT_EQ(vertices[0].tu2, 0.0f);
    EXPECT_EQ(vertices[0].tv2, 0.0f);
    // The second cell of the second row: a = 6, b = 11.
    EXPECT_EQ(std::vector<WORD>(indices.begin() + 30, indices.begin() + 36), (std::vector<WORD>{6, 7, 12, 6, 12, 11}));
}

TEST_F(PlaneTest, SubdivisionChangesTakeEffectAtTheNextInitOnly) {
    size_t before = 0, after = 0;
    int builtX = 0, builtY = 0;
    std::vector<S3DVERTEX> waved;
    ASSERT_TRUE(Run(3, [&](CTestPlane& plane, int frame) {
        if (frame == 0) {
            plane.SetSubdivision(2, 2);
            plane.Render();
            // A later count must not make a rebuild write past the buffers.
            plane.SetSubdivision(6, 5);
            plane.SetSize(2.0f, 2.0f);
            plane.Render();
            before = Vertices(plane).size();
        } else if (frame == 1) {
            plane.CleanUp();
            plane.Init();
            plane.GetBuiltSubdivision(builtX, builtY);
            after = Vertices(plane).size();
        } else {
            // The wave's rest table follows the new grid.
            plane.Effect(1);
            CScreen::Instance().SetTime(0.5f);
            plane.Render();
            waved = Vertices(plane);
        }
    }));
    EXPECT_EQ(before, 9u);
    EXPECT_EQ(after, 42u);
    EXPECT_EQ(builtX, 6);
    EXPECT_EQ(builtY, 5);
    ASSERT_EQ(waved.size(), 42u);
    const int n = 4 * 7 + 5;  // row 4, column 5: the last inner vertex
    EXPECT_NEAR(waved[n].tu1, 5.0f / 6.0f + std::sin(1.1f * 0.5f + 4.0f), 1e-5f);
    EXPECT_NEAR(waved[n].tv1, 4.0f / 5.0f + std::sin(0.8f * 0.5f + 5.0f + 1.0f), 1e-5f);
}

TEST_F(PlaneTest, TextureWindowShowsItsPartAcrossThePlane) {
    const auto bands = CTempFolder::EnterPrivateWorkingFolder() / "bands.bmp";
    // Red, green, blue, white quarters.
    planetest::WriteBandedBmp(bands, 64, 8, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    std::vector<S3DVERTEX> vertices;
    std::vector<std::uint32_t> whole;
    ASSERT_TRUE(Run(2, [&](CTestPlane& plane, int frame) {
        if (frame == 0) {
            plane.SetLighting(false);
            plane.SetTexture(bands.string(), 0);
            plane.Render();
            whole = runner->ReadBackBuffer();
            plane.SetTextureOffset(0.25f, 0.0f, 0.5f, 1.0f);
            plane.Resize(false, true);
            vertices = Vertices(plane);
        } else {
            plane.Render();
        }
    }));
    ASSERT_EQ(whole.size(), 64u * 48u);
    // The whole texture across the screen: red on the left, white on the right.
    EXPECT_EQ(whole[24 * 64 + 4] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(whole[24 * 64 + 60] & 0xFFFFFF, 0xFFFFFFu);
    ASSERT_EQ(vertices.size(), 4u);
    EXPECT_FLOAT_EQ(vertices[0].tu1, 0.25f);
    EXPECT_FLOAT_EQ(vertices[3].tu1, 0.5f);
    // The second quarter fills the screen.
    for (int x : {2, 20, 44, 61}) {
        for (int y : {2, 24, 45}) {
            const std::uint32_t pixel = runner->Pixel(x, y);
            EXPECT_LE(Red(pixel), 8u) << x << "," << y;
            EXPECT_GE(Green(pixel), 240u) << x << "," << y;
            EXPECT_LE(Blue(pixel), 8u) << x << "," << y;
        }
    }
}

TEST_F(PlaneTest, WaveAlongRowsMovesOnlyTheInnerHorizontalCoordinates) {
    std::vector<S3DVERTEX> rest, waved;
    ASSERT_TRUE(Run(2, [&](CTestPlane& plane, int frame) {
        plane.SetSubdivision(4, 4);
        if (frame == 0) {
            plane.Render();
            rest = Vertices(plane);
        } else {
            plane.Effect(2);
            plane.SetEffectSpeed(2.0f);
            plane.SetEffectAmplitude(0.1f);
            CScreen::Instance().SetTime(0.75f);
            plane.Render();
            waved = Vertices(plane);
        }
    }));
    ASSERT_EQ(rest.size(), 25u);
    ASSERT_EQ(waved.size(), 25u);
    for (int i = 0; i <= 4; ++i) {
        for (int j = 0; j <= 4; ++j) {
            const int n = i * 5 + j;
            EXPECT_EQ(waved[n].tv1, rest[n].tv1) << n;
            EXPECT_EQ(waved[n].tu2, rest[n].tu2) << n;
            EXPECT_EQ(waved[n].x, rest[n].x) << n;
            const bool border = i == 0 || j == 0 || i == 4 || j == 4;
            if (border) {
                EXPECT_EQ(waved[n].tu1, rest[n].tu1) << n;
            } else {
                EXPECT_NEAR(waved[n].tu1, rest[n].tu1 + 0.1f * std::sin(0.75f * 2.0f + static_cast<float>(i)), 1e-6f)
                    << n;
            }
        }
    }
}

TEST_F(PlaneTest, SizeCurvesRebuildTheGridAtTheNextRenderAndKeepHeights) {
    std::vector<S3DVERTEX> beforeRender, afterRender, keyed;
    float keyedWidth = 0, keyedHeight = 0;
    ASSERT_TRUE(Run(2, [&](CTestPlane& plane, int frame) {
        if (frame == 0) {
            plane.Render();
            // A height written into the buffer survives rebuilds.
            DWORD count = 0;
            plane.LockVB(count)[3].z = 0.25f;
            plane.UnlockVB(false, false);
            plane.SetSize(3.0f, 2.0f);
            beforeRender = Vertices(plane);
            plane.Render();
            afterRender = Vertices(plane);
        } else {
            const int key = plane.AddKeyFrame(2.0f);
            plane.SetCurrentKeyFrame(key);
            plane.SetSize(5.0f, 1.0f);
            plane.GetSize(keyedWidth, keyedHeight);
            CScreen::Instance().SetTime(2.0f);
            plane.Render();
            keyed = Vertices(plane);
        }
    }));
    ASSERT_EQ(afterRender.size(), 4u);
    EXPECT_FLOAT_EQ(beforeRender[3].x, 0.5f);
    EXPECT_FLOAT_EQ(afterRender[3].x, 1.5f);
    EXPECT_FLOAT_EQ(afterRender[3].y, -1.0f);
    EXPECT_EQ(afterRender[3].z, 0.25f);
    EXPECT_EQ(keyedWidth, 5.0f);
    EXPECT_EQ(keyedHeight, 1.0f);
    ASSERT_EQ(keyed.size(), 4u);
    // The curves evaluated at the key's time (the spline lands within a hair).
    EXPECT_NEAR(keyed[0].x, -2.5f, 1e-3f);
    EXPECT_NEAR(keyed[0].y, 0.5f, 1e-3f);
}

TEST_F(PlaneTest, CurrentSizeBypassesTheCurvesAndKeepsTheScale) {
    std::vector<S3DVERTEX> vertices;
    ASSERT_TRUE(Run(1, [&](CTestPlane& plane, int) {
        plane.Render();
        plane.SetScale(2.0f);
        plane.SetCurrentSize(1.0f, 0.5f);
        vertices = Vertices(plane);
    }));
    ASSERT_EQ(vertices.size(), 4u);
    // 1 x 0.5 at scale 2.
    EXPECT_FLOAT_EQ(vertices[3].x, 1.0f);
    EXPECT_FLOAT_EQ(vertices[3].y, -0.5f);
}
