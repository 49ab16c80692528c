// Height-map terrain: the grid it builds, heights from raw files of every
// length, amplitude, normals that follow the heights, and heights that
// survive a rebuilt device.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CHeightMapObject.h"
#include "platform/headless/CHeadlessWindow.h"

using planetest::Vertices;

namespace {

class HeightMapTest : public testing::Test {
protected:
    void SetUp() override { planetest::PrepareScreen(); }

    std::string WriteHeights(const std::string& name, std::vector<unsigned char> bytes) {
        const auto path = CTempFolder::EnterPrivateWorkingFolder() / name;
        planetest::WriteBytes(path, bytes);
        return path.string();
    }

    // Runs frames with one terrain that lives inside the run.
    template <class TBody>
    void Run(int frames, TBody body) {
        CHeadlessWindow window(32, 32);
        CScreenRunner runner(window);
        std::unique_ptr<CHeightMapObject> terrain;
        ASSERT_TRUE(runner.RunFrames(frames, [&](int frame) {
            if (frame == 0)
                terrain = std::make_unique<CHeightMapObject>();
            body(*terrain, frame);
            if (frame == frames - 1)
                terrain.reset();
        }));
    }

    static std::vector<float> Heights(CHeightMapObject& terrain) {
        std::vector<float> heights;
        for (const S3DVERTEX& vertex : Vertices(terrain))
            heights.push_back(vertex.z);
        return heights;
    }
};

bool AllEqual(const std::vector<float>& values, float expected) {
    return std::all_of(values.begin(), values.end(), [&](float v) { return v == expected; });
}

}  // namespace

TEST_F(HeightMapTest, NewTerrainIsAFlatHundredByHundredGrid) {
    CHeightMapObject fresh;
    EXPECT_TRUE(fresh.GetCulling());
    EXPECT_EQ(fresh.GetRotation(), D3DXVECTOR3(0.0f, 1.5707964f, 0.0f));
    EXPECT_EQ(fresh.GetMaxAmplitude(), 10.0f);

    std::vector<S3DVERTEX> vertices;
    int faces = 0;
    CString type, description;
    ProjectionMode mode = PM_SCREEN_OVERLAY;
    float width = 0, height = 0;
    Run(1, [&](CHeightMapObject& terrain, int) {
        terrain.Render();
        vertices = Vertices(terrain);
        faces = terrain.GetNumberFaces();
        type = terrain.GetObjType();
        description = terrain.GetObjDescription();
        mode = terrain.GetProjectionMode();
        terrain.GetSize(width, height);
    });
    EXPECT_EQ(type, "CHeightMapObject");
    EXPECT_EQ(description, "Height Map");
    EXPECT_EQ(mode, PM_PERSPECTIVE);
    EXPECT_EQ(width, 100.0f);
    EXPECT_EQ(height, 100.0f);
    EXPECT_EQ(faces, 19602);
    ASSERT_EQ(vertices.size(), 10000u);
    EXPECT_FLOAT_EQ(vertices[0].x, -50.0f);
    EXPECT_FLOAT_EQ(vertices[0].y, 50.0f);
    EXPECT_FLOAT_EQ(vertices[9999].x, 50.0f);
    EXPECT_FLOAT_EQ(vertices[9999].y, -50.0f);
    for (const S3DVERTEX& vertex : vertices)
        ASSERT_EQ(vertex.z, 0.0f);
}

TEST_F(HeightMapTest, SamplesGiveHeightsBelowThePlaneScaledByTheAmplitude) {
    const std::string zeros = WriteHeights("zeros.raw", std::vector<unsigned char>(10000, 0));
    const std::string halves = WriteHeights("halves.raw", std::vector<unsigned char>(10000, 128));
    std::vector<unsigned char> ramp(10000);
    for (size_t k = 0; k < ramp.size(); ++k)
        ramp[k] = static_cast<unsigned char>(k % 100 * 2);
    const std::string rampFile = WriteHeights("ramp.raw", ramp);
    // A longer file: only the first 10,000 bytes count.
    std::vector<unsigned char> longer(10500, 255);
    std::fill(longer.begin(), longer.begin() + 10000, 64);
    const std::string longFile = WriteHeights("long.raw", longer);

    std::vector<float> flat, half, halfDoubled, ramp10, ramp20, quarter;
    Run(1, [&](CHeightMapObject& terrain, int) {
        terrain.Render();
        terrain.SetHeightMapFilename(zeros);
        flat = Heights(terrain);
        terrain.SetHeightMapFilename(halves);
        half = Heights(terrain);
        terrain.SetMaxAmplitude(20.0f);
        halfDoubled = Heights(terrain);
        terrain.SetMaxAmplitude(10.0f);
        terrain.SetHeightMapFilename(rampFile);
        ramp10 = Heights(terrain);
        terrain.SetMaxAmplitude(20.0f);
        ramp20 = Heights(terrain);
        terrain.SetHeightMapFilename(longFile);
        quarter = Heights(terrain);
    });
    ASSERT_EQ(flat.size(), 10000u);
    EXPECT_TRUE(AllEqual(flat, 0.0f));
    EXPECT_TRUE(AllEqual(half, -5.0f));
    EXPECT_TRUE(AllEqual(halfDoubled, -10.0f));
    ASSERT_EQ(ramp10.size(), 10000u);
    for (size_t k = 0; k < ramp10.size(); ++k) {
        ASSERT_FLOAT_EQ(ramp20[k], 2.0f * ramp10[k]) << k;
        ASSERT_FLOAT_EQ(ramp10[k], -10.0f * static_cast<float>(k % 100 * 2) / 256.0f) << k;
    }
    EXPECT_TRUE(AllEqual(quarter, -5.0f));
}

TEST_F(HeightMapTest, ShortFileLeavesTheMissingSamplesAtZeroAndMissingFileChangesNothing) {
    const std::string shortFile = WriteHeights("short.raw", std::vector<unsigned char>(5000, 255));
    const std::string halves = WriteHeights("halves.raw", std::vector<unsigned char>(10000, 128));
    std::vector<float> shortHeights, afterMissing;
    Run(1, [&](CHeightMapObject& terrain, int) {
        terrain.Render();
        terrain.SetHeightMapFilename(halves);
        terrain.SetHeightMapFilename(shortFile);
        shortHeights = Heights(terrain);
        terrain.SetHeightMapFilename((CTempFolder::EnterPrivateWorkingFolder() / "missing.raw").string());
        afterMissing = Heights(terrain);
    });
    ASSERT_EQ(shortHeights.size(), 10000u);
    EXPECT_TRUE(AllEqual(std::vector<float>(shortHeights.begin(), shortHeights.begin() + 5000), -9.9609375f));
    EXPECT_TRUE(AllEqual(std::vector<float>(shortHeights.begin() + 5000, shortHeights.end()), 0.0f));
    EXPECT_EQ(afterMissing, shortHeights);
}

TEST_F(HeightMapTest, NormalsFollowTheHeightsAcrossRebuildsAndHeightsSurviveADeviceReset) {
    // A slope rising along each row.
    std::vector<unsigned char> ramp(10000);
    for (size_t k = 0; k < ramp.size(); ++k)
        ramp[k] = static_cast<unsigned char>(k % 100 * 2);
    const std::string rampFile = WriteHeights("slope.raw", ramp);
    std::vector<S3DVERTEX> rebuilt;
    std::vector<float> beforeReset, afterReset;
    Run(2, [&](CHeightMapObject& terrain, int frame) {
        if (frame == 0) {
            terrain.SetHeightMapFilename(rampFile);
            terrain.Render();  // Init, then the grid grows to 100 x 100
            rebuilt = Vertices(terrain);
            beforeReset = Heights(terrain);
        } else {
            // The file is gone (as a packed scene's is after loading): the
            // rebuilt grid keeps the heights read before.
            std::filesystem::remove(rampFile);
            terrain.CleanUp();
            terrain.Init();
            terrain.Render();
            afterReset = Heights(terrain);
        }
    });
    ASSERT_EQ(rebuilt.size(), 10000u);
    const S3DVERTEX& inner = rebuilt[50 * 100 + 50];
    EXPECT_NEAR(inner.x, 50.0f * 100.0f / 99.0f - 50.0f, 1e-4f);
    // Heights fall by 20/256 per column of 100/99 units: the normal leans
    // along x, with the same lean everywhere inside.
    EXPECT_GT(std::fabs(inner.nx), 0.05f);
    EXPECT_NEAR(std::fabs(inner.nx / inner.nz), (20.0f / 256.0f) / (100.0f / 99.0f), 1e-3f);
    EXPECT_NEAR(inner.ny, 0.0f, 1e-5f);
    EXPECT_NEAR(rebuilt[20 * 100 + 30].nx, inner.nx, 1e-5f);
    EXPECT_EQ(afterReset, beforeReset);
}
