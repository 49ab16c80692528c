#include "platform/base/Timing.h"

#include <gtest/gtest.h>

TEST(Timing, CountersAdvanceMonotonicallyInTheirStatedUnits) {
    LONGLONG frequency = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency, 1'000'000'000);

    LONGLONG before = 0, after = 0;
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    const DWORD msBefore = timeGetTime();
    Sleep(30);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    const DWORD msAfter = timeGetTime();

    // Sleep waits at least as long as asked; both clocks must have seen it.
    EXPECT_GE(after - before, 30 * frequency / 1000);
    EXPECT_GE(msAfter - msBefore, 29u);        // the millisecond clock truncates
    EXPECT_LT(msBefore, 24u * 3600u * 1000u);  // counted from process start, not the epoch
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}
