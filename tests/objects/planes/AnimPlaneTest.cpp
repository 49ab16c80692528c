// The animated plane: frame stepping on the scene clock, the texture strip
// it points at, looping, stopping, and keeping its scale while it plays.
#include <gtest/gtest.h>

#include <memory>

#include "PlaneTestSupport.h"
#include "core/CScreenRunner.h"
#include "objects/CAnimPlaneObject.h"
#include "platform/headless/CHeadlessWindow.h"

namespace {

class AnimPlaneTest : public testing::Test {
protected:
    void SetUp() override { planetest::PrepareScreen(); }

    struct SFrame {
        unsigned int position;
        float left;   // first texture pair of the top-left vertex
        float right;  // ... and of the bottom-right one
        float x;      // position of the bottom-right vertex
    };

    // One frame per time in `times`; setUp runs on the plane before the first.
    template <class TSetUp>
    std::vector<SFrame> Play(const std::vector<float>& times, TSetUp setUp) {
        CHeadlessWindow window(16, 16);
        CScreenRunner runner(window);
        std::unique_ptr<CAnimPlaneObject> plane;
        std::vector<SFrame> seen;
        const int frames = static_cast<int>(times.size());
        EXPECT_TRUE(runner.RunFrames(frames, [&](int frame) {
            if (frame == 0) {
                plane = std::make_unique<CAnimPlaneObject>();
                setUp(*plane);
            }
            CScreen::Instance().SetTime(times[static_cast<size_t>(frame)]);
            plane->Render();
            const std::vector<S3DVERTEX> vertices = planetest::Vertices(*plane);
            seen.push_back({plane->GetVideoPosition(), vertices.at(0).tu1, vertices.at(3).tu1, vertices.at(3).x});
            if (frame == frames - 1)
                plane.reset();
        }));
        return seen;
    }

    static std::vector<unsigned int> Positions(const std::vector<SFrame>& frames) {
        std::vector<unsigned int> positions;
        for (const SFrame& frame : frames)
            positions.push_back(frame.position);
        return positions;
    }
};

const std::vector<float> kEveryFifteenHundredths = {0.0f, 0.15f, 0.3f, 0.45f, 0.6f, 0.75f, 0.9f};

}  // namespace

TEST_F(AnimPlaneTest, WithoutLoopTheVideoStopsOnItsLastFrame) {
    const auto frames = Play(kEveryFifteenHundredths, [](CAnimPlaneObject& plane) {
        plane.SetNumberImages(4);
        plane.SetVideoSpeed(10.0f);
        plane.SetLoop(false);
        plane.Play();
    });
    // The first frame sees no time pass; each later one more than 0.1 s.
    EXPECT_EQ(Positions(frames), (std::vector<unsigned int>{0, 1, 2, 3, 3, 3, 3}));
    // Frame k of a strip of four spans k/4 .. (k+1)/4 of the texture.
    EXPECT_FLOAT_EQ(frames[2].left, 0.5f);
    EXPECT_FLOAT_EQ(frames[2].right, 0.75f);
    EXPECT_FLOAT_EQ(frames.back().left, 0.75f);
    EXPECT_FLOAT_EQ(frames.back().right, 1.0f);
}

TEST_F(AnimPlaneTest, WithLoopTheVideoStartsAgainAndOneFramePerRenderAtMost) {
    const auto looping = Play(kEveryFifteenHundredths, [](CAnimPlaneObject& plane) {
        plane.SetNumberImages(4);
        plane.Play();
    });
    EXPECT_EQ(Positions(looping), (std::vector<unsigned int>{0, 1, 2, 3, 0, 1, 2}));

    // A long pause still advances one frame only, and exactly one interval
    // is not enough.
    const auto slow = Play({0.0f, 5.0f, 5.5f, 5.75f}, [](CAnimPlaneObject& plane) {
        plane.SetNumberImages(8);
        plane.SetVideoSpeed(4.0f);
        plane.Play();
    });
    EXPECT_EQ(Positions(slow), (std::vector<unsigned int>{0, 1, 2, 2}));
}

TEST_F(AnimPlaneTest, StoppedVideoStaysOnItsFrameAndKeepsTheScale) {
    const auto frames = Play(kEveryFifteenHundredths, [](CAnimPlaneObject& plane) {
        plane.SetNumberImages(4);
        plane.SetVideoPosition(2);
        plane.SetScale(2.0f);
    });
    EXPECT_EQ(Positions(frames), (std::vector<unsigned int>(7, 2)));
    for (const SFrame& frame : frames)
        EXPECT_FLOAT_EQ(frame.x, 1.0f);
}
