// The sky box: each picture on its face whenever it was set, the box around
// the viewer wherever the camera goes, and the materials Init prepares.
#include <gtest/gtest.h>

#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CSkyBoxObject.h"
#include "platform/headless/CHeadlessWindow.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

class SkyBoxTest : public testing::Test {
protected:
    void SetUp() override {
        planetest::PrepareScreen();
        right = (CTempFolder::EnterPrivateWorkingFolder() / "right.bmp").string();
        left = (CTempFolder::EnterPrivateWorkingFolder() / "left.bmp").string();
        front = (CTempFolder::EnterPrivateWorkingFolder() / "front.bmp").string();
        planetest::WriteBandedBmp(right, 8, 8, {kRed});
        planetest::WriteBandedBmp(left, 8, 8, {kGreen});
        planetest::WriteBandedBmp(front, 8, 8, {kBlue});
    }

    // The centre pixel of each frame, after the frame function ran.
    template <class TBody>
    std::vector<std::uint32_t> CentrePixels(int frames, TBody body) {
        CHeadlessWindow window(32, 32);
        CScreenRunner runner(window);
        std::unique_ptr<CSkyBoxObject> sky;
        std::vector<std::uint32_t> centres;
        const bool ran = runner.RunFrames(frames, [&](int frame) {
            if (frame == 0)
                sky = std::make_unique<CSkyBoxObject>();
            body(*sky, frame);
            sky->Render();
            centres.push_back(runner.ReadBackBuffer()[16 * 32 + 16] & 0xFFFFFF);
            if (frame == frames - 1)
                sky.reset();
        });
        EXPECT_TRUE(ran);
        return centres;
    }

    static void Look(const D3DXVECTOR3& eye, const D3DXVECTOR3& direction) {
        CScreen::Instance().SetCamera(eye, direction, D3DXVECTOR3(0, 1, 0));
    }

    std::string right, left, front;
};

}  // namespace

TEST_F(SkyBoxTest, RightPictureLandsOnThePlusXFaceBeforeOrAfterInit) {
    const auto before = CentrePixels(2, [&](CSkyBoxObject& sky, int frame) {
        if (frame == 0) {
            sky.SetRightPicture(right);
            sky.SetLeftPicture(left);
            Look(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0));
        } else {
            Look(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(-1, 0, 0));
        }
    });
    EXPECT_EQ(before, (std::vector<std::uint32_t>{kRed, kGreen}));

    const auto after = CentrePixels(2, [&](CSkyBoxObject& sky, int frame) {
        Look(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 0, 0));
        if (frame == 1)
            sky.SetRightPicture(right);
    });
    // The picture set after Init replaces the bare face at once.
    EXPECT_NE(after[0], kRed);
    EXPECT_EQ(after[1], kRed);
}

TEST_F(SkyBoxTest, BoxFollowsTheCamera) {
    const auto centres = CentrePixels(3, [&](CSkyBoxObject& sky, int frame) {
        if (frame == 0) {
            sky.SetRightPicture(right);
            sky.SetFrontPicture(front);
        }
        // Far beyond the box's half edge of 250 units: still inside it.
        const float x = 1000.0f * static_cast<float>(frame);
        Look(D3DXVECTOR3(x, 40.0f, -3000.0f), frame == 2 ? D3DXVECTOR3(0, 0, 1) : D3DXVECTOR3(1, 0, 0));
    });
    EXPECT_EQ(centres, (std::vector<std::uint32_t>{kRed, kRed, kBlue}));
}

TEST_F(SkyBoxTest, InitPreparesSixUnlitFacesAroundTheViewer) {
    CSkyBoxObject sky;
    sky.SetBackPicture("back.png");
    EXPECT_EQ(sky.GetBackPicture(), "back.png");
    CString type;
    int materials = 0;
    float width = 0, height = 0, depth = 0;
    bool lighting = true, culling = true;
    int faceEnds[6] = {};
    D3DXVECTOR3 position;
    CentrePixels(1, [&](CSkyBoxObject& box, int) {
        Look(D3DXVECTOR3(3, 4, 5), D3DXVECTOR3(0, 0, 1));
        box.Render();
        type = box.GetObjType();
        materials = box.GetNumberMaterials();
        box.GetSize(width, height, depth);
        lighting = box.GetLighting();
        culling = box.GetCulling();
        for (int k = 0; k < 6; ++k)
            faceEnds[k] = box.GetMaterialIndex(k);
        position = box.GetPosition();
    });
    EXPECT_EQ(type, "CBoxObject");
    EXPECT_EQ(materials, 6);
    EXPECT_EQ(width, 500.0f);
    EXPECT_EQ(depth, 500.0f);
    EXPECT_FALSE(lighting);
    EXPECT_FALSE(culling);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(faceEnds[k], 2 * k + 2);
    EXPECT_EQ(position, D3DXVECTOR3(3, 4, 5));
}
