// The playback clock on its own, without a screen or a window: the music
// requests it hands to its owner, the start of a run, and its time source.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/CPlaybackClock.h"
#include "scene/CMP3Player.h"

using testing::ElementsAre;

namespace {

class PlaybackClockTest : public testing::Test {
protected:
    PlaybackClockTest() {
        m_music.SetCommandSender([this](const CString& command) {
            m_commands.push_back(command);
            return MMSYSERR_NOERROR;
        });
        m_music.SetEnable(true);
        m_clock.SetClockSource([this] { return m_now; });
        m_clock.Start();
    }

    float Step(double seconds) {
        m_now += seconds;
        m_clock.StepClock();
        return m_clock.GetTickCount();
    }

    double m_now = 100.0;
    std::vector<CString> m_commands;  // before the player, which sends while it goes
    std::vector<bool> m_requests;     // true: play, false: stop
    CMP3Player m_music;
    CPlaybackClock m_clock{m_music, [this](bool play) { m_requests.push_back(play); }};
};

TEST_F(PlaybackClockTest, TheEndsOfTheSceneAskTheOwnerToStartOrStopTheMusic) {
    m_clock.SetTotalTime(2.0f);
    m_clock.Play(1.0f);
    Step(1.5);
    EXPECT_TRUE(m_requests.empty());
    EXPECT_FLOAT_EQ(Step(1.0), 0.0f);  // wrapped: the music starts over
    EXPECT_THAT(m_requests, ElementsAre(true));
    EXPECT_EQ(m_music.GetPosition(), 0);

    // Requests only: the clock never starts or stops the music itself there.
    m_clock.SetLoop(false);
    m_clock.SetTime(1.75f);
    m_commands.clear();
    EXPECT_FLOAT_EQ(Step(0.5), 0.0f);
    EXPECT_THAT(m_requests, ElementsAre(true, false));
    EXPECT_TRUE(m_commands.empty());
    EXPECT_TRUE(m_clock.IsStopped());

    // Reverse play without loop stops at 0 with one request.
    m_clock.SetTime(0.5f);
    m_clock.Play(-1.0f);
    EXPECT_FLOAT_EQ(Step(1.0), 0.0f);
    EXPECT_THAT(m_requests, ElementsAre(true, false, false));
    EXPECT_FLOAT_EQ(m_clock.GetPlaySpeed(), 0.0f);
}

TEST_F(PlaybackClockTest, StartingARunCountsSceneAndRealTimeFromZeroAtThatMoment) {
    m_clock.Play(2.0f);
    EXPECT_FLOAT_EQ(Step(3.0), 6.0f);
    EXPECT_FLOAT_EQ(m_clock.GetRealCurrentTime(), 3.0f);

    m_now += 50.0;  // between runs: not counted
    m_clock.Start();
    EXPECT_FLOAT_EQ(m_clock.GetTickCount(), 0.0f);
    EXPECT_FLOAT_EQ(m_clock.GetRealCurrentTime(), 0.0f);
    EXPECT_FLOAT_EQ(Step(1.0), 2.0f);
    EXPECT_FLOAT_EQ(m_clock.GetRealCurrentTime(), 1.0f);
    // The play state carries over into the new run.
    EXPECT_FALSE(m_clock.IsStopped());
}

TEST_F(PlaybackClockTest, WithoutASourceTheCounterRunsFromTheClocksCreation) {
    CMP3Player music;
    music.SetCommandSender([](const CString&) { return MMSYSERR_NOERROR; });
    CPlaybackClock clock(music, [](bool) {});
    const float first = clock.myGetTickCount();
    EXPECT_GE(first, 0.0f);
    EXPECT_LT(first, 5.0f);  // seconds since creation, not since boot
    EXPECT_GE(clock.myGetTickCount(), first);

    // A source replaces the counter; null brings the counter back.
    clock.SetClockSource([] { return 1000.0; });
    EXPECT_FLOAT_EQ(clock.myGetTickCount(), 1000.0f);
    clock.SetClockSource(nullptr);
    EXPECT_LT(clock.myGetTickCount(), 5.0f);
}

}  // namespace
