// The own window's message rules on their own, without a screen or a run:
// which window procedure call a message turns into, and when the loop asks
// its owner to end the run.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "common/CoreTestSupport.h"
#include "core/COwnWindowLoop.h"
#include "core/ScreenMessages.h"
#include "support/CTempFolder.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace {

struct SCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    bool operator==(const SCall&) const = default;
};

class OwnWindowLoopTest : public testing::Test {
protected:
    void SetUp() override { CTempFolder::EnterPrivateWorkingFolder(); }  // the rules log

    bool Feed(HWND window, UINT message, WPARAM wParam, bool screenSaver) {
        return m_loop.ProcessLoopMessage(MSG{window, message, wParam, 0}, &m_output, screenSaver);
    }

    coretest::CTestWindow m_output{4, 4};
    coretest::CTestWindow m_other{4, 4};
    std::vector<SCall> m_calls;
    int m_stops = 0;
    COwnWindowLoop m_loop{[this](HWND window, UINT message, WPARAM wParam, LPARAM) {
                              m_calls.push_back(SCall{window, message, wParam});
                              return LRESULT{0};
                          },
                          [this] { ++m_stops; }};
};

TEST_F(OwnWindowLoopTest, OutsideScreensaverModeMessagesReachTheProcedureOfTheirWindowAndEscapeIsTheExitCommand) {
    EXPECT_FALSE(Feed(nullptr, WM_PAINT, 0, false));
    EXPECT_FALSE(Feed(&m_other, WM_KEYUP, 'A', false));
    EXPECT_FALSE(Feed(&m_other, WM_KEYDOWN, VK_ESCAPE, false));
    // Escape only becomes the command; the procedure is what closes.
    EXPECT_EQ(m_stops, 0);
    EXPECT_TRUE(Feed(nullptr, WM_CLOSE, 0, false));
    EXPECT_EQ(m_stops, 1);
    EXPECT_THAT(m_calls, ElementsAre(SCall{&m_output, WM_PAINT, 0}, SCall{&m_other, WM_KEYUP, 'A'},
                                     SCall{&m_other, WM_COMMAND, IDM_EXIT}, SCall{&m_output, WM_CLOSE, 0}));
}

TEST_F(OwnWindowLoopTest, ScreensaverModeDispatchesOnlyMusicRequestsAndInputEndsTheRun) {
    EXPECT_FALSE(Feed(nullptr, WM_LUMIVEXIS_PLAY_MUSIC, 0, true));
    EXPECT_FALSE(Feed(nullptr, WM_KEYUP, 'A', true));
    EXPECT_EQ(m_stops, 0);
    EXPECT_FALSE(Feed(nullptr, WM_KEYDOWN, VK_ESCAPE, true));
    EXPECT_EQ(m_stops, 1);
    EXPECT_TRUE(Feed(nullptr, WM_CLOSE, 0, true));
    EXPECT_EQ(m_stops, 2);
    EXPECT_THAT(m_calls, ElementsAre(SCall{&m_output, WM_LUMIVEXIS_PLAY_MUSIC, 0}));
}

TEST_F(OwnWindowLoopTest, ANewRunCountsTheScreensaversMouseMovesAfresh) {
    for (int move = 1; move <= 10; ++move) {
        m_output.SetCursor(move, move);
        Feed(nullptr, WM_MOUSEMOVE, 0, true);
    }
    EXPECT_EQ(m_stops, 0);
    m_loop.BeginRun();
    m_output.SetCursor(50, 50);
    Feed(nullptr, WM_MOUSEMOVE, 0, true);  // the first of the new run
    EXPECT_EQ(m_stops, 0);

    for (int move = 2; move <= 11; ++move) {
        m_output.SetCursor(move, 0);
        Feed(nullptr, WM_MOUSEMOVE, 0, true);
    }
    EXPECT_EQ(m_stops, 1);
    EXPECT_THAT(m_calls, IsEmpty());
}

}  // namespace
