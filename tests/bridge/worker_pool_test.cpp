// The application's pool at shutdown: a bounded wait that tells how many jobs it left running,
// and retry waits that end as soon as the pool stops.
#include "qt_gtest.h"
#include "worker_pool.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <memory>

using namespace std::chrono_literals;

// A job stuck past the bound (a name lookup) is counted and let go, and ends while the pool
// goes; a stopped pool starts nothing new.
TEST(WorkerPool, WaitAllWithABoundReportsStragglers)
{
    auto pool = std::make_unique<CWorkerPool>();
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> quickRan{false};
    ASSERT_TRUE(pool->Start([released] { released.wait(); }));
    ASSERT_TRUE(pool->Start([&quickRan] { quickRan = true; }));
    EXPECT_TRUE(Eventually([&] { return pool->Running() == 1; }));
    pool->Stop();
    std::atomic<bool> ranAfterStop{false};
    EXPECT_FALSE(pool->Start([&ranAfterStop] { ranAfterStop = true; }));
    EXPECT_EQ(pool->WaitAll(20ms), 1);
    EXPECT_TRUE(quickRan);
    release.set_value();
    pool.reset();
    EXPECT_FALSE(ranAfterStop);
}

// Stopping ends a job's wait at once; a wait the pool is not stopped for runs its time.
TEST(WorkerPool, StopCutsSleepShort)
{
    CWorkerPool pool;
    EXPECT_TRUE(pool.Sleep(1ms));
    std::atomic<int> wholeTimePassed{-1};
    ASSERT_TRUE(pool.Start([&] { wholeTimePassed = pool.Sleep(1h) ? 1 : 0; }));
    pool.Stop();
    EXPECT_EQ(pool.WaitAll(60s), 0);
    EXPECT_EQ(wholeTimePassed.load(), 0);
}
