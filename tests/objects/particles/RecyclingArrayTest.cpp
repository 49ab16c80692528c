// The pool of recycled slots: where it finds a free slot, and what it says
// when there is none.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "objects/CRecyclingArray.h"

namespace {

using CPool = CRecyclingArray<int, 4>;

void Fill(CPool& pool) {
    for (int i = 0; i < CPool::GetTotalElements(); ++i) {
        ASSERT_NE(pool.New(), nullptr);
    }
}

int IndexOf(CPool& pool, const int* slot) {
    return static_cast<int>(slot - &pool.GetAt(0));
}

}  // namespace

TEST(RecyclingArray, HandsOutEverySlotOnceThenReportsThatItIsFull) {
    CPool pool;
    std::set<const int*> slots;
    for (int i = 0; i < 4; ++i) {
        slots.insert(pool.New());
    }
    EXPECT_EQ(slots.size(), 4u);
    EXPECT_EQ(pool.GetNumUsedElements(), 4);
    EXPECT_EQ(pool.GetNumFreeElements(), 0);
    EXPECT_EQ(pool.GetLastReport(), nullptr);

    EXPECT_EQ(pool.New(), nullptr);
    ASSERT_NE(pool.GetLastReport(), nullptr);
    EXPECT_EQ(std::string(pool.GetLastReport()), "CRecyclingArray::New: too many objects!");
    EXPECT_EQ(pool.GetNumUsedElements(), 4);
}

TEST(RecyclingArray, SearchesForwardFromTheLastSlotAndWrapsRound) {
    CPool pool;
    Fill(pool);
    EXPECT_EQ(pool.GetLastNew(), 3);
    pool.Delete(0);
    pool.Delete(2);
    // From slot 3 (in use) the search wraps to slot 0.
    EXPECT_EQ(IndexOf(pool, pool.New()), 0);
    // From slot 0 on, slot 2 is the next free one.
    EXPECT_EQ(IndexOf(pool, pool.New()), 2);
    EXPECT_EQ(pool.GetNumUsedElements(), 4);
}

TEST(RecyclingArray, DeletingAFreeOrInvalidSlotChangesNothing) {
    CPool pool;
    ASSERT_NE(pool.New(), nullptr);
    pool.Delete(1);
    pool.Delete(-1);
    pool.Delete(4);
    EXPECT_EQ(pool.GetNumUsedElements(), 1);
    pool.Delete(0);
    pool.Delete(0);
    EXPECT_EQ(pool.GetNumUsedElements(), 0);
    EXPECT_FALSE(pool.IsAlive(0));
}

TEST(RecyclingArray, DeleteAllFreesEverySlotAndStartsTheSearchAtTheFirst) {
    CPool pool;
    Fill(pool);
    pool.DeleteAll();
    EXPECT_EQ(pool.GetNumUsedElements(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(pool.IsAlive(i));
    }
    EXPECT_EQ(IndexOf(pool, pool.New()), 0);
}
