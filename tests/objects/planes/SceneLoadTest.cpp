// Whole scenes holding text objects and terrains: descriptors and height
// files come from the scene file while it loads, in plain and packed mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CBmpFonts.h"
#include "objects/CHeightMapObject.h"
#include "platform/headless/CHeadlessWindow.h"
#include "scene/CScene.h"

namespace {

class SceneLoadTest : public testing::Test {
protected:
    void SetUp() override {
        planetest::PrepareScreen();
        folder = CTempFolder::EnterPrivateWorkingFolder() / "scenes";
        std::filesystem::create_directories(folder);
        // The last line has no line feed.
        const std::string descriptor = "A 0,0 0.5,0.5\nB 0.5,0.5 1,1";
        planetest::WriteBytes(folder / "font.bnf", std::vector<unsigned char>(descriptor.begin(), descriptor.end()));
        planetest::WriteBandedBmp(folder / "font.png", 4, 4, {0xFFFFFF});
        planetest::WriteBytes(folder / "hills.raw", std::vector<unsigned char>(10000, 64));
    }

    // Saves a scene holding one text object "words" and one terrain "hills".
    void SaveScene(const std::filesystem::path& path, bool packed) {
        CScene scene;
        auto* font = new CBmpFonts();
        font->SetObjName("words");
        font->SetTexture((folder / "font.png").string(), 0);
        scene.AddObject(*font);
        auto* terrain = new CHeightMapObject();
        terrain->SetObjName("hills");
        terrain->SetMaxAmplitude(8.0f);
        terrain->SetHeightMapFilename((folder / "hills.raw").string());
        scene.AddObject(*terrain);
        // The type names a record is stored under are set by Init, which a
        // host's first render runs.
        font->Init();
        terrain->Init();
        ASSERT_TRUE(scene.Save(path.string(), packed));
    }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(SceneLoadTest, DescriptorFromAPlainSceneFileLosesItsUnterminatedLastLine) {
    // Read directly from disk the last line counts.
    CBmpFonts direct;
    direct.SetTexture((folder / "font.png").string(), 0);
    EXPECT_EQ(direct.GetGlyph('B').left, 0.5f);

    const auto path = folder / "plain.bgs";
    SaveScene(path, false);
    CScene loaded;
    ASSERT_TRUE(loaded.Load(path.string(), false));
    auto* font = dynamic_cast<CBmpFonts*>(loaded.GetObjectA(CString("words")));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetTexture(0), (folder / "font.png").string());
    EXPECT_EQ(font->GetGlyph('A').right, 0.5f);
    EXPECT_EQ(font->GetGlyph('B').left, CBmpFonts::kDefaultGlyph.left);
}

TEST_F(SceneLoadTest, PackedSceneCarriesDescriptorAndHeights) {
    const auto path = folder / "packed.bgs";
    SaveScene(path, true);
    // Neither file is on disk any more: both must come from the scene.
    std::filesystem::remove(folder / "font.bnf");
    std::filesystem::remove(folder / "hills.raw");

    float glyphRight = 0.0f;
    std::vector<S3DVERTEX> vertices;
    CHeadlessWindow window(16, 16);
    CScreenRunner runner(window);
    ASSERT_TRUE(runner.RunFrames(1, [&](int) {
        CScene loaded;
        ASSERT_TRUE(loaded.Load(path.string(), true));
        auto* font = dynamic_cast<CBmpFonts*>(loaded.GetObjectA(CString("words")));
        auto* terrain = dynamic_cast<CHeightMapObject*>(loaded.GetObjectA(CString("hills")));
        ASSERT_NE(font, nullptr);
        ASSERT_NE(terrain, nullptr);
        glyphRight = font->GetGlyph('A').right;
        terrain->Render();
        vertices = planetest::Vertices(*terrain);
    }));
    EXPECT_EQ(glyphRight, 0.5f);
    ASSERT_EQ(vertices.size(), 10000u);
    // 64 of 256 at amplitude 8.
    EXPECT_EQ(vertices[0].z, -2.0f);
    EXPECT_EQ(vertices[9999].z, -2.0f);
}
