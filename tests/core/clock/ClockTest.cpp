// The playback clock, stepped by BeginSceneSync with a controlled time
// source: wrapping at the total time, reverse play, the pending reset, and
// the music it keeps in step (position, commands, messages 5024 / 5025).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "scene/CMP3Player.h"
#include "support/CScreenStateGuard.h"

using testing::ElementsAre;

namespace {

class ClockTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen& screen = CScreen::Instance();
        screen.SetClockSource([this] { return m_now; });
        screen.SetWindow(&m_window);
        screen.SetTotalTime(60.0f);
        screen.SetLoop(true);
        CMP3Player& music = screen.GetSound();
        music.SetCommandSender([this](const CString& command) {
            m_commands.push_back(command);
            return MMSYSERR_NOERROR;
        });
        music.SetEnable(true);
        music.SetLoop(false);
        screen.Stop();
        m_commands.clear();
        DrainMessages();
    }

    // Advances the time source and runs the frame preparation.
    float Frame(double seconds) {
        m_now += seconds;
        CScreen::Instance().BeginSceneSync(true);
        return CScreen::Instance().GetTickCount();
    }
    std::vector<UINT> DrainMessages() {
        std::vector<UINT> messages;
        MSG msg;
        while (m_window.PeekMessage(msg, true)) {
            messages.push_back(msg.message);
        }
        return messages;
    }

    double m_now = 10.0;
    coretest::CTestWindow m_window{4, 4};
    std::vector<CString> m_commands;
    CScreenStateGuard m_screenState;  // last: stops the clock while the window and commands are still there
};

TEST_F(ClockTest, PlayingAtSpeedOneWrapsAfterTheTotalTimeAndRestartsTheMusic) {
    CScreen& screen = CScreen::Instance();
    screen.SetTime(59.5f);
    screen.Play(1.0f);
    EXPECT_THAT(m_commands, ElementsAre("play mp3 from 59500"));
    EXPECT_FALSE(screen.IsStopped());

    // Exactly at the total time nothing wraps yet.
    EXPECT_FLOAT_EQ(Frame(0.5), 60.0f);
    EXPECT_EQ(screen.GetSound().GetPosition(), 60000);
    EXPECT_TRUE(DrainMessages().empty());

    // Past it: time 0, music position 0 and a request to play on the
    // window's thread.
    EXPECT_FLOAT_EQ(Frame(0.25), 0.0f);
    EXPECT_EQ(screen.GetSound().GetPosition(), 0);
    EXPECT_THAT(DrainMessages(), ElementsAre(WM_LUMIVEXIS_PLAY_MUSIC));
    EXPECT_FALSE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetPlaySpeed(), 1.0f);

    // The window procedure plays from that position.
    m_commands.clear();
    screen.WndMsgProc(&m_window, WM_LUMIVEXIS_PLAY_MUSIC, 0, 0);
    EXPECT_THAT(m_commands, ElementsAre("play mp3 from 0"));
    EXPECT_FLOAT_EQ(Frame(1.5), 1.5f);
    EXPECT_EQ(screen.GetSound().GetPosition(), 1500);
}

TEST_F(ClockTest, OtherSpeedsWrapSilentlyAndLoopOffStopsAtZero) {
    CScreen& screen = CScreen::Instance();
    screen.SetTime(59.0f);
    screen.Play(2.0f);
    EXPECT_THAT(m_commands, ElementsAre("stop mp3"));
    EXPECT_FLOAT_EQ(Frame(0.25), 59.5f);
    EXPECT_FLOAT_EQ(Frame(0.5), 0.0f);
    EXPECT_TRUE(DrainMessages().empty());
    EXPECT_FLOAT_EQ(screen.GetPlaySpeed(), 2.0f);

    screen.SetLoop(false);
    screen.SetTime(59.75f);
    screen.Play(1.0f);
    EXPECT_FLOAT_EQ(Frame(0.5), 0.0f);
    EXPECT_THAT(DrainMessages(), ElementsAre(WM_LUMIVEXIS_STOP_MUSIC));
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetPlaySpeed(), 0.0f);
    // Stopped: the time stays.
    EXPECT_FLOAT_EQ(Frame(3.0), 0.0f);
}

TEST_F(ClockTest, ReversePlayWrapsToTheEndWithLoopAndStopsWithout) {
    CScreen& screen = CScreen::Instance();
    screen.SetTotalTime(10.0f);
    screen.SetTime(0.5f);
    screen.Play(-1.0f);
    EXPECT_FLOAT_EQ(Frame(0.25), 0.25f);
    EXPECT_FLOAT_EQ(Frame(0.5), 10.0f);
    EXPECT_FLOAT_EQ(Frame(1.0), 9.0f);
    EXPECT_TRUE(DrainMessages().empty());

    screen.SetLoop(false);
    screen.SetTime(0.5f);
    EXPECT_FLOAT_EQ(Frame(1.0), 0.0f);
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetPlaySpeed(), 0.0f);
    EXPECT_THAT(DrainMessages(), ElementsAre(WM_LUMIVEXIS_STOP_MUSIC));

    // Forward speeds never go below 0.
    screen.SetTime(-3.0f);
    screen.Play(0.5f);
    EXPECT_FLOAT_EQ(Frame(1.0), 0.0f);
}

TEST_F(ClockTest, TickCountIsZeroFromResetUntilTheNextFrame) {
    CScreen& screen = CScreen::Instance();
    screen.Play(1.0f);
    EXPECT_FLOAT_EQ(Frame(2.0), 2.0f);
    screen.ResetTime();
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 0.0f);
    m_now += 5.0;  // time passing before the next frame is not counted
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 0.0f);
    EXPECT_FLOAT_EQ(Frame(0.5), 5.5f);

    m_commands.clear();
    screen.Stop();
    EXPECT_TRUE(screen.IsStopped());
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 0.0f);
    EXPECT_EQ(screen.GetSound().GetPosition(), 0);
    EXPECT_THAT(m_commands, ElementsAre("pause mp3", "stop mp3"));
    EXPECT_FLOAT_EQ(Frame(1.0), 0.0f);
}

TEST_F(ClockTest, MusicFollowsPlayPauseAndSetTime) {
    CScreen& screen = CScreen::Instance();
    screen.SetTime(2.5f);  // stopped: only the position moves
    EXPECT_TRUE(m_commands.empty());
    EXPECT_EQ(screen.GetSound().GetPosition(), 2500);

    screen.Play(1.0f);
    screen.Pause();
    EXPECT_THAT(m_commands, ElementsAre("play mp3 from 2500", "pause mp3"));
    EXPECT_FLOAT_EQ(Frame(4.0), 2.5f);  // paused: speed 0

    m_commands.clear();
    screen.Play(1.0f);
    screen.SetTime(7.25f);
    EXPECT_THAT(m_commands, ElementsAre("play mp3 from 2500", "play mp3 from 7250"));
    // Positions are truncated to whole milliseconds.
    EXPECT_NEAR(Frame(0.0015), 7.2515f, 1e-4f);
    EXPECT_EQ(screen.GetSound().GetPosition(), 7251);
}

TEST_F(ClockTest, RealTimeCountsFromTheRunStartWhateverTheSpeed) {
    CScreen& screen = CScreen::Instance();
    screen.Play(0.0f);
    Frame(0.0);
    const float start = screen.GetRealCurrentTime();
    Frame(3.0);
    EXPECT_NEAR(screen.GetRealCurrentTime() - start, 3.0f, 1e-3f);
    EXPECT_FLOAT_EQ(screen.GetTickCount(), 0.0f);
}

}  // namespace
