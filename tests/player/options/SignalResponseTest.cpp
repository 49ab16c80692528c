// What a termination signal does before, during and after the run, and
// while an error report waits on screen. The process is not ended: the
// response gets an exit function that records the status.

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "CSignalResponse.h"

namespace {

class SignalResponseTest : public testing::Test {
protected:
    std::vector<int> m_exits;
    int m_stops = 0;
    CSignalResponse m_response{[this](int status) { m_exits.push_back(status); }};

    void BeginRun() {
        m_response.BeginRun([this] { ++m_stops; });
    }
};

TEST_F(SignalResponseTest, BeforeTheRunASignalEndsTheProgramAtOnce) {
    // Nothing could end gracefully yet (a blocking open, the settings dialog).
    m_response.OnSignal(SIGTERM);
    EXPECT_EQ(m_exits, std::vector<int>{128 + SIGTERM});
    EXPECT_EQ(m_response.ReceivedSignal(), SIGTERM);
}

TEST_F(SignalResponseTest, DuringTheRunTheFirstSignalStopsItAndASecondEndsTheProgram) {
    BeginRun();
    m_response.OnSignal(SIGUSR1);
    EXPECT_EQ(m_stops, 1);
    EXPECT_TRUE(m_exits.empty());

    m_response.OnSignal(SIGINT);
    EXPECT_EQ(m_stops, 1);
    EXPECT_EQ(m_exits, std::vector<int>{128 + SIGINT});
    // The first one is what the program was told.
    EXPECT_EQ(m_response.ReceivedSignal(), SIGUSR1);
}

TEST_F(SignalResponseTest, AStopThatTakesLongerThanTheGraceTimeEndsTheProgram) {
    const auto start = CSignalResponse::Clock::now();
    m_response.CheckGrace(start + CSignalResponse::kGraceTime * 2);
    EXPECT_TRUE(m_exits.empty()) << "no signal, no deadline";

    BeginRun();
    m_response.OnSignal(SIGTERM);
    m_response.CheckGrace(CSignalResponse::Clock::now());
    EXPECT_TRUE(m_exits.empty());
    m_response.CheckGrace(CSignalResponse::Clock::now() + CSignalResponse::kGraceTime);
    EXPECT_EQ(m_exits, std::vector<int>{128 + SIGTERM});
}

TEST_F(SignalResponseTest, AfterTheRunASignalNoLongerReachesItsStopRequest) {
    BeginRun();
    m_response.EndRun();
    // The screenshot is still being written: the program finishes it.
    m_response.OnSignal(SIGTERM);
    EXPECT_EQ(m_stops, 0);
    EXPECT_TRUE(m_exits.empty());
}

TEST_F(SignalResponseTest, ASignalWhileAReportWaitsOnScreenEndsTheProgramAtOnce) {
    BeginRun();
    ASSERT_TRUE(m_response.BeginModalReport());
    m_response.OnSignal(SIGTERM);
    EXPECT_EQ(m_exits, std::vector<int>{128 + SIGTERM});
    EXPECT_EQ(m_stops, 0);
}

TEST_F(SignalResponseTest, AfterASignalNoReportWaitsOnScreen) {
    BeginRun();
    ASSERT_TRUE(m_response.BeginModalReport());
    m_response.EndModalReport();
    m_response.OnSignal(SIGTERM);
    EXPECT_TRUE(m_exits.empty()) << "the box had closed";

    EXPECT_FALSE(m_response.BeginModalReport());
    EXPECT_EQ(m_stops, 1);
}

}  // namespace
