#include "geometry/Point.h"
#include "geometry/Pool.h"

#include <gtest/gtest.h>

#include <new>
#include <set>
#include <vector>

TEST(PoolTest, MakesDistinctConstructedObjectsAcrossBlocks)
{
    Pool<Point> pool;
    std::set<Point *> seen;
    for (int i = 0; i < 5000; ++i) {
        Point *p = pool.make(Vector(i, -i));
        ASSERT_TRUE(seen.insert(p).second) << "slot handed out twice at " << i;
        EXPECT_EQ(p->position, Vector(i, -i));
        EXPECT_FALSE(p->hasGhost);
    }
    int i = 0;
    for (Point *p : seen)
        i += p->position.x() == -p->position.y();
    EXPECT_EQ(i, 5000) << "later blocks did not overwrite earlier objects";
}

TEST(PoolTest, ReleasedSlotsAreReusedLastInFirstOut)
{
    Pool<Point> pool;
    Point *a = pool.make();
    Point *b = pool.make();
    pool.release(a);
    pool.release(b);
    EXPECT_EQ(pool.make(Vector(1, 1)), b);
    Point *again = pool.make(Vector(2, 2));
    EXPECT_EQ(again, a);
    EXPECT_EQ(again->position, Vector(2, 2)) << "a reused slot is constructed afresh";
}

TEST(PoolTest, ClearReusesTheSameMemoryAndTrimKeepsWhatWasUsed)
{
    Pool<Point> pool;
    std::vector<Point *> first;
    for (int i = 0; i < 1000; ++i)
        first.push_back(pool.make());
    pool.release(first.back());
    pool.clear();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(pool.make(), first[static_cast<std::size_t>(i)]) << "same slots in the same order after clear()";
    pool.clear();
    for (int i = 0; i < 10; ++i)
        pool.make(Vector(i, 0));
    pool.trim();
    Point *next = pool.make(Vector(7, 7));
    EXPECT_EQ(next, first[10]) << "the block in use survives trim()";
    EXPECT_EQ(next->position, Vector(7, 7));
}

TEST(PoolTest, ClearStartsOver)
{
    Pool<Point> pool;
    for (int i = 0; i < 100; ++i)
        pool.release(pool.make());
    pool.clear();
    pool.trim();
    std::vector<Point *> fresh;
    for (int i = 0; i < 100; ++i)
        fresh.push_back(pool.make(Vector(i, 0)));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(fresh[static_cast<std::size_t>(i)]->position.x(), i);
}

TEST(PoolTest, RunsAreConsecutiveSlotsSharedWithMake)
{
    // The blocks hold 32, 64, 128, ... objects: a run stops at the end of
    // the block being filled, and make() and runs never hand out a slot
    // twice; after clear() they start over in the same memory.
    Pool<Point> pool;
    std::set<Point *> seen;
    std::vector<std::size_t> runs;
    Point *first = pool.make();
    seen.insert(first);
    std::size_t total = 1;
    while (total < 500) {
        std::size_t taken = 0;
        Point *run = pool.takeRun(200, taken);
        ASSERT_GE(taken, 1u);
        ASSERT_LE(taken, 200u);
        for (std::size_t i = 0; i < taken; ++i)
            ASSERT_TRUE(seen.insert(::new (run + i) Point(Vector(static_cast<double>(total + i), 0))).second);
        runs.push_back(taken);
        total += taken;
        seen.insert(pool.make());
        ++total;
    }
    EXPECT_EQ(runs.front(), 31u) << "the rest of the first block";
    EXPECT_EQ(runs[1], 63u) << "the second block after the make() that opened it";
    pool.clear();
    std::size_t taken = 0;
    EXPECT_EQ(pool.takeRun(10, taken), first);
    EXPECT_EQ(taken, 10u);
}
