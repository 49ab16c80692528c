#include "platform/base/CEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {
constexpr DWORD kGenerous = 10000;  // ms: only reached when something is broken
}

TEST(CEvent, StartsInTheRequestedStateAndTimesOutWhenNotSignalled) {
    CEvent off(false, true);
    CEvent on(true, true);
    EXPECT_FALSE(off.IsSignalled());
    EXPECT_TRUE(on.IsSignalled());
    EXPECT_FALSE(off.Wait(0));
    EXPECT_FALSE(off.Wait(20));
    EXPECT_TRUE(on.Wait(0));
    on.ResetEvent();
    EXPECT_FALSE(on.Wait(0));
}

TEST(CEvent, ManualResetReleasesEveryWaiterAndStaysSignalled) {
    CEvent event(false, true);
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&] {
            if (event.Wait(kGenerous))
                ++released;
        });
    event.SetEvent();
    for (auto& waiter : waiters)
        waiter.join();
    EXPECT_EQ(released.load(), 3);
    EXPECT_TRUE(event.IsSignalled());
    EXPECT_TRUE(event.Wait(0));
    event.ResetEvent();
    EXPECT_FALSE(event.IsSignalled());
}

TEST(CEvent, AutoResetReleasesOneWaiterPerSignal) {
    CEvent event(false, false);
    EXPECT_FALSE(event.IsManualReset());
    std::atomic<int> released{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 2; ++i)
        waiters.emplace_back([&] {
            if (event.Wait(kGenerous))
                ++released;
        });

    event.SetEvent();
    while (released.load() == 0)  // bounded by the waiters' own timeout
        std::this_thread::yield();
    // The one waiter that went through took the signal with it.
    EXPECT_FALSE(event.IsSignalled());
    EXPECT_EQ(released.load(), 1);

    event.SetEvent();
    for (auto& waiter : waiters)
        waiter.join();
    EXPECT_EQ(released.load(), 2);
    EXPECT_FALSE(event.IsSignalled());
}

TEST(CEvent, AutoResetSignalIsConsumedByTheWait) {
    CEvent event(true, false);
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.IsSignalled());
    EXPECT_FALSE(event.Wait(10));

    std::atomic<bool> woke{false};
    std::thread waiter([&] { woke = event.Wait(kGenerous); });
    event.SetEvent();
    waiter.join();
    EXPECT_TRUE(woke.load());
    EXPECT_FALSE(event.IsSignalled());
}
