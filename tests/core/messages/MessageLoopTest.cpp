// The own window's message handling fed with synthetic messages: the
// screensaver exit rules, the Escape accelerator, the window procedure and
// the full-screen pause. The rules are applied inside a run on the headless
// surface, so that every case starts with a fresh stop flag and mouse count.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/CoreTestSupport.h"
#include "core/CScreen.h"
#include "core/CScreenRunner.h"
#include "scene/CMP3Player.h"
#include "support/CScreenStateGuard.h"

using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

namespace {

class MessageLoopTest : public testing::Test {
protected:
    void SetUp() override {
        CScreen::Instance().ViewInfo(false);
        CScreen::Instance().SetScreenSaverMode(true);
    }

    // Runs one frame in which `feed` hands messages to the loop's rules.
    std::string InRun(const std::function<void(CScreen&)>& feed) {
        const size_t logStart = coretest::ReadLog().size();
        CScreenRunner runner(m_window);
        EXPECT_TRUE(runner.RunFrames(1, [&](int) { feed(CScreen::Instance()); }));
        return coretest::LogSince(logStart);
    }
    static MSG Message(UINT message, WPARAM wParam = 0) { return MSG{nullptr, message, wParam, 0}; }

    coretest::CTestWindow m_window{8, 8};
    CScreenStateGuard m_screenState;  // last: restores the screen before the window goes
};

TEST_F(MessageLoopTest, OnlyRealMotionFromTheEleventhMouseMoveEndsTheScreensaver) {
    bool runningAfterTen = false, runningAfterStill = false, runningAfterMove = true;
    const std::string log = InRun([&](CScreen& screen) {
        for (int i = 1; i <= 10; ++i) {
            m_window.SetCursor(i * 10, i);  // moving every time
            screen.ProcessLoopMessage(Message(WM_MOUSEMOVE));
        }
        runningAfterTen = screen.IsRunning();
        screen.ProcessLoopMessage(Message(WM_MOUSEMOVE));  // 11th, cursor where it was
        runningAfterStill = screen.IsRunning();
        m_window.SetCursor(100, 11);  // 12th: y differs
        screen.ProcessLoopMessage(Message(WM_MOUSEMOVE));
        runningAfterMove = screen.IsRunning();
    });
    EXPECT_TRUE(runningAfterTen);
    EXPECT_TRUE(runningAfterStill);
    EXPECT_FALSE(runningAfterMove);
    EXPECT_THAT(log, HasSubstr("Received a mouse move message. LEAVING!\n"));
}

TEST_F(MessageLoopTest, KeysButtonsDeactivationAndSuspendEndTheScreensaver) {
    const std::vector<std::pair<UINT, WPARAM>> enders = {{WM_KEYDOWN, 'A'},   {WM_LBUTTONDOWN, 0},
                                                         {WM_RBUTTONDOWN, 0}, {WM_MBUTTONDOWN, 0},
                                                         {WM_ACTIVATEAPP, 0}, {WM_POWERBROADCAST, PBT_APMSUSPEND}};
    for (const auto& ender : enders) {
        const UINT message = ender.first;
        const WPARAM wParam = ender.second;
        bool running = true;
        bool quit = true;
        const std::string log = InRun([&](CScreen& screen) {
            quit = screen.ProcessLoopMessage(Message(message, wParam));
            running = screen.IsRunning();
        });
        EXPECT_FALSE(running) << "message " << message;
        // Ending the run does not end the loop: the render thread's WM_CLOSE does.
        EXPECT_FALSE(quit) << "message " << message;
        const bool isInput = message != WM_ACTIVATEAPP && message != WM_POWERBROADCAST;
        EXPECT_EQ(log.find("Leaving screen saver .. receiving a key or a mouse button message\n") != std::string::npos,
                  isInput)
            << "message " << message;
    }

    // Other messages are removed and ignored, Escape included (no accelerator).
    bool running = false;
    const std::string log = InRun([&](CScreen& screen) {
        for (const MSG& msg :
             {Message(WM_KEYUP, 'A'), Message(WM_LBUTTONUP), Message(WM_MOUSEWHEEL, 120u << 16),
              Message(WM_ACTIVATEAPP, 1), Message(WM_POWERBROADCAST, 10), Message(WM_COMMAND, IDM_EXIT)}) {
            screen.ProcessLoopMessage(msg);
        }
        running = screen.IsRunning();
    });
    EXPECT_TRUE(running);
    EXPECT_THAT(log, Not(HasSubstr("IDM_EXIT")));
}

TEST_F(MessageLoopTest, WmCloseEndsTheLoopAndIsNotDispatchedInScreensaverMode) {
    bool quit = false;
    bool running = true;
    const std::string log = InRun([&](CScreen& screen) {
        quit = screen.ProcessLoopMessage(Message(WM_CLOSE));
        running = screen.IsRunning();
    });
    EXPECT_TRUE(quit);
    EXPECT_FALSE(running);
    // Logged once by the loop; the window procedure never saw it.
    const size_t first = log.find("Receiving a WM_CLOSE message\n");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("Receiving a WM_CLOSE message\n", first + 1), std::string::npos);
}

TEST_F(MessageLoopTest, MusicRequestsReachThePlayerInScreensaverModeToo) {
    std::vector<CString> commands;
    CMP3Player& music = CScreen::Instance().GetSound();
    music.SetCommandSender([&](const CString& command) {
        commands.push_back(command);
        return MMSYSERR_NOERROR;
    });
    music.SetEnable(true);
    InRun([&](CScreen& screen) {
        screen.SetTime(1.2f);
        screen.ProcessLoopMessage(Message(WM_LUMIVEXIS_PLAY_MUSIC));
        screen.ProcessLoopMessage(Message(WM_LUMIVEXIS_STOP_MUSIC));
    });
    music.SetEnable(false);
    music.SetCommandSender(nullptr);
    EXPECT_THAT(commands, ElementsAre("play mp3 from 1200", "stop mp3"));
}

TEST_F(MessageLoopTest, EscapeClosesThroughTheExitCommandOutsideScreensaverMode) {
    CScreen::Instance().SetScreenSaverMode(false);
    bool quit = true, runningAfterKey = false, runningAfterEscape = true;
    const std::string log = InRun([&](CScreen& screen) {
        screen.ProcessLoopMessage(Message(WM_KEYDOWN, 'A'));
        screen.ProcessLoopMessage(Message(WM_LBUTTONDOWN));
        for (int i = 0; i < 20; ++i) {
            m_window.SetCursor(i, i);
            screen.ProcessLoopMessage(Message(WM_MOUSEMOVE));
        }
        runningAfterKey = screen.IsRunning();
        quit = screen.ProcessLoopMessage(Message(WM_KEYDOWN, VK_ESCAPE));
        runningAfterEscape = screen.IsRunning();
    });
    EXPECT_TRUE(runningAfterKey);
    EXPECT_FALSE(runningAfterEscape);
    EXPECT_FALSE(quit);
    EXPECT_THAT(log, HasSubstr("Receiving a IDM_EXIT message\nReceiving a WM_CLOSE message\n"));
}

TEST_F(MessageLoopTest, WindowProcedureDestroyAndCommand) {
    CScreen::Instance().SetScreenSaverMode(false);
    bool running = true;
    const std::string log = InRun([&](CScreen& screen) {
        EXPECT_EQ(screen.WndMsgProc(&m_window, WM_PAINT, 0, 0), 0);
        EXPECT_EQ(screen.WndMsgProc(&m_window, WM_COMMAND, 1234, 0), 0);
        EXPECT_TRUE(screen.IsRunning());
        EXPECT_EQ(screen.WndMsgProc(&m_window, WM_DESTROY, 0, 0), 0);
        running = screen.IsRunning();
    });
    EXPECT_FALSE(running);
    EXPECT_THAT(log, HasSubstr("Receiving a WM_DESTROY message\n"));
}

TEST_F(MessageLoopTest, FullScreenDeactivationPausesAndActivationResumes) {
    CScreen& screen = CScreen::Instance();
    screen.SetScreenSaverMode(false);
    screen.SetTitle("Demo");
    std::vector<std::string> titles;
    InRun([&](CScreen& s) {
        // Windowed, activation changes nothing.
        s.WndMsgProc(&m_window, WM_ACTIVATEAPP, 0, 0);
        titles.push_back(m_window.Title());
        s.SetFullscreen(true);
        for (WPARAM active : {1, 0, 0, 1}) {
            s.WndMsgProc(&m_window, WM_ACTIVATEAPP, active, 0);
            titles.push_back(m_window.Title());
        }
        s.SetFullscreen(false);
    });
    screen.SetTitle("Lumivexis Output window");
    // The first activation, the pause, a second deactivation that changes
    // nothing, and the resume.
    EXPECT_THAT(titles, ElementsAre("", "Demo", "Demo [paused]", "Demo [paused]", "Demo"));

    // Resumed: BeginScene does not block.
    CScreenRunner runner(m_window);
    EXPECT_TRUE(runner.RunFrames(2, nullptr));
}

}  // namespace
