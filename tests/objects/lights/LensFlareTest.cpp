// Where a lens flare draws its spots, how bright, and when it draws nothing.
#include <gtest/gtest.h>

#include <memory>

#include "FlareTestSupport.h"

using flaretest::CTestFlare;
using flaretest::kHeight;
using flaretest::kWidth;

namespace {

const D3DXCOLOR kRed(1.0f, 0.0f, 0.0f, 1.0f);
const D3DXCOLOR kGreen(0.0f, 1.0f, 0.0f, 1.0f);
const D3DXCOLOR kBlue(0.0f, 0.0f, 1.0f, 1.0f);
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr float kSmall = 0.05f;  // 16 pixels either side on a 640-pixel screen

class LensFlares : public flaretest::FlareFixture {
protected:
    // A flare with one green spot at the screen centre (line position 0),
    // for a light at pixel (x, y), drawn with the given intensity range.
    std::function<void()> CentreSpotFrame(float x, float y, CMinMax<float> intensity) {
        return [this, x, y, intensity] {
            CTestFlare flare;
            SetUpFlare(flare);
            flare.AddSpot(0, kSmall, 0.0f, kGreen);
            flare.SetIntensity(intensity);
            const D3DXVECTOR3 light = WorldAtPixel(x, y);
            flare.SetLightPosition(light.x, light.y, light.z);
            flare.Render();
        };
    }
};

}  // namespace

TEST_F(LensFlares, TheLightsScreenPositionIsInWholePixels) {
    int x = 0, y = 0, w = 0;
    Draw({[&] {
        CTestFlare flare;
        flare.Init();
        flare.CalcLightSourceScreenCoords(WorldAtPixel(100.7f, 50.2f), kWidth, kHeight, x, y, w);
    }});
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    EXPECT_GT(w, 0);
}

TEST_F(LensFlares, ALightAtTheCentreDrawsEverySpotAtTheCentre) {
    const auto frames = Draw({[this] {
        CTestFlare flare;
        SetUpFlare(flare);
        flare.AddSpot(0, kSmall, 1.0f, kRed);
        flare.AddSpot(0, kSmall, 0.0f, kGreen);
        flare.AddSpot(0, kSmall, -0.5f, kBlue);
        const D3DXVECTOR3 light = WorldAtPixel(320.5f, 240.5f);
        flare.SetLightPosition(light.x, light.y, light.z);
        flare.Render();
    }});
    const auto& pixels = frames[0];
    ASSERT_EQ(pixels.size(), static_cast<size_t>(kWidth * kHeight));
    // Red, green and blue add up to white where all three lie on each other.
    EXPECT_COLOR_NEAR(At(pixels, 320, 240), 0xFFFFFFFFu, 3);
    EXPECT_COLOR_NEAR(At(pixels, 306, 226), 0xFFFFFFFFu, 3);
    const SPixelBox lit = Silhouette(pixels, kBlack, kWidth, 3);
    EXPECT_NEAR(lit.left, 304, 1);
    EXPECT_NEAR(lit.right, 335, 1);
    EXPECT_NEAR(lit.top, 224, 1);
    EXPECT_NEAR(lit.bottom, 255, 1);
}

TEST_F(LensFlares, ALightAtACornerSpreadsTheSpotsOnTheDiagonalThroughTheCentre) {
    const auto frames = Draw({[this] {
        CTestFlare flare;
        SetUpFlare(flare);
        flare.AddSpot(0, kSmall, 1.0f, kRed);    // on the light
        flare.AddSpot(0, kSmall, 0.0f, kGreen);  // at the centre
        flare.AddSpot(0, kSmall, -1.0f, kBlue);  // mirrored through the centre
        flare.AddSpot(0, kSmall, 0.5f, kGreen);  // half way to the light
        const D3DXVECTOR3 light = WorldAtPixel(64.5f, 48.5f);
        flare.SetLightPosition(light.x, light.y, light.z);
        flare.Render();
    }});
    const auto& pixels = frames[0];
    EXPECT_COLOR_NEAR(At(pixels, 64, 48), 0xFFFF0000u, 3);
    EXPECT_COLOR_NEAR(At(pixels, 320, 240), 0xFF00FF00u, 3);
    EXPECT_COLOR_NEAR(At(pixels, 576, 432), 0xFF0000FFu, 3);
    EXPECT_COLOR_NEAR(At(pixels, 192, 144), 0xFF00FF00u, 3);
    // Nothing between the spots nor off the diagonal.
    EXPECT_COLOR_NEAR(At(pixels, 448, 336), kBlack, 3);
    EXPECT_COLOR_NEAR(At(pixels, 576, 48), kBlack, 3);
    EXPECT_COLOR_NEAR(At(pixels, 64, 432), kBlack, 3);
}

TEST_F(LensFlares, TheBrightnessFadesOverTheBorderToTheMinimum) {
    const CMinMax<float> standard(0.0f, 1.0f);
    const CMinMax<float> atLeastHalf(0.5f, 1.0f);
    const auto frames = Draw({
        CentreSpotFrame(-399.5f, 240.5f, standard),     // 399 pixels out: the minimum, 0
        CentreSpotFrame(-399.5f, 240.5f, atLeastHalf),  // the minimum, 0.5
        CentreSpotFrame(-150.5f, 240.5f, standard),     // half the border: 0.5
        CentreSpotFrame(-100.5f, 680.5f, standard),     // the larger distance (200) counts: 1/3
        CentreSpotFrame(639.5f, 479.5f, standard),      // on the screen: 1
    });
    EXPECT_EQ(MaxBrightness(frames[0]), 0);
    EXPECT_EQ(Silhouette(frames[0], kBlack, kWidth, 0).Empty(), true);
    EXPECT_NEAR(Green(At(frames[1], 320, 240)), 128, 3);
    EXPECT_NEAR(Green(At(frames[2], 320, 240)), 128, 3);
    EXPECT_NEAR(Green(At(frames[3], 320, 240)), 85, 3);
    EXPECT_NEAR(Green(At(frames[4], 320, 240)), 255, 1);
}

TEST_F(LensFlares, ALightBehindTheCameraDrawsNothing) {
    const auto frames = Draw({
        [this] {
            CTestFlare flare;
            SetUpFlare(flare);
            flare.AddSpot(0, kSmall, 0.0f, kGreen);
            flare.SetLightPosition(0.0f, 0.0f, -20.0f);  // the camera is at z = -5, looking along +z
            flare.Render();
        },
        CentreSpotFrame(320.5f, 240.5f, CMinMax<float>(0.0f, 1.0f)),
    });
    EXPECT_TRUE(Silhouette(frames[0], kBlack, kWidth, 0).Empty());
    EXPECT_COLOR_NEAR(At(frames[1], 320, 240), 0xFF00FF00u, 3);  // the same spot in front
}

TEST_F(LensFlares, AFlareWithoutSpotsDrawsNothingAndHoldsNoBuffer) {
    bool bufferAfterSpot = false;
    bool bufferAfterDelete = true;
    const auto frames = Draw({[&] {
        CTestFlare flare;
        SetUpFlare(flare);
        flare.AddSpot(0, kSmall, 0.0f, kGreen);
        bufferAfterSpot = flare.GetVB() != nullptr;
        flare.DeleteSpots();
        bufferAfterDelete = flare.GetVB() != nullptr;
        flare.SetLightPosition(0.0f, 0.0f, 20.0f);
        flare.Render();
    }});
    EXPECT_TRUE(bufferAfterSpot);
    EXPECT_FALSE(bufferAfterDelete);
    EXPECT_TRUE(Silhouette(frames[0], kBlack, kWidth, 0).Empty());
}

TEST_F(LensFlares, ATextureThatFailsToLoadTakesNoIndex) {
    const std::string red = m_folder.Write("red.bmp", EncodeBmp24(4, 4, [](int, int) { return 0xFF0000u; }));
    const std::string blue = m_folder.Write("blue.bmp", EncodeBmp24(4, 4, [](int, int) { return 0x0000FFu; }));
    int textures = 0;
    const auto frames = Draw({[&] {
        CTestFlare flare;
        flare.Init();
        flare.AddTexture(m_folder.Path("missing.png").c_str());
        flare.AddTexture(red.c_str());
        flare.AddTexture(blue.c_str());
        textures = flare.GetTextureNumber();
        flare.AddSpot(1, kSmall, 0.0f, D3DXCOLOR(1.0f, 1.0f, 1.0f, 1.0f));
        flare.SetLightPosition(0.0f, 0.0f, 20.0f);
        flare.Render();
        flare.DeleteTextures();
        EXPECT_EQ(flare.GetTextureNumber(), 0);
    }});
    EXPECT_EQ(textures, 2);
    EXPECT_COLOR_NEAR(At(frames[0], 320, 240), 0xFF0000FFu, 3);  // texture 1 is the blue one
}
