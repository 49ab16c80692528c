#include "platform/base/CMutex.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

TEST(CMutex, OwnerMayLockAgainAndOthersWaitUntilFullyUnlocked) {
    CMutex mutex;
    EXPECT_TRUE(mutex.Lock());
    EXPECT_TRUE(mutex.Lock());  // recursion on the same thread does not deadlock

    bool otherGotIt = true;
    std::thread probe([&] {
        otherGotIt = mutex.try_lock();
        if (otherGotIt)
            mutex.unlock();
    });
    probe.join();
    EXPECT_FALSE(otherGotIt);

    mutex.Unlock();
    std::thread probeAfterOneUnlock([&] {
        otherGotIt = mutex.try_lock();
        if (otherGotIt)
            mutex.unlock();
    });
    probeAfterOneUnlock.join();
    EXPECT_FALSE(otherGotIt);  // still held once

    mutex.Unlock();
    std::thread probeAfterBoth([&] {
        otherGotIt = mutex.try_lock();
        if (otherGotIt)
            mutex.unlock();
    });
    probeAfterBoth.join();
    EXPECT_TRUE(otherGotIt);
}

TEST(CMutex, SerialisesThreadsThroughLockGuard) {
    CMutex mutex;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                std::lock_guard<CMutex> guard(mutex);
                std::lock_guard<CMutex> nested(mutex);
                ++counter;
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}
