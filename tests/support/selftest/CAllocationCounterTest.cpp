// A counter that always said 0 would let every "allocates nothing" test pass.

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "support/CAllocationCounter.h"

TEST(AllocationCounter, CountsTheCallingThreadsAllocationsOnlyBetweenStartAndStop) {
    if (!CAllocationCounter::IsAvailable()) {
        GTEST_SKIP() << "allocations are not counted under the sanitizers";
    }
    auto before = std::make_unique<int>(1);  // not counted: before Start
    CAllocationCounter::Start();
    auto one = std::make_unique<int>(2);
    std::vector<int> two(100);
    std::thread([] { auto elsewhere = std::make_unique<int>(3); }).join();  // another thread's
    const long counted = CAllocationCounter::Stop();
    auto after = std::make_unique<int>(4);  // not counted: after Stop
    // The thread object itself allocates its state on this thread.
    EXPECT_GE(counted, 2);
    EXPECT_LE(counted, 3);

    CAllocationCounter::Start();
    EXPECT_EQ(CAllocationCounter::Stop(), 0);  // Start counts from zero
}
