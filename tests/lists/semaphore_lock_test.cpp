#include "result_codes.h"
#include "semaphore_lock.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

TEST(SemaphoreLock, SecondLockOnTheSameThreadWaitsOnItself)
{
    CSemaphoreLock lock;
    ASSERT_EQ(lock.Lock(), rc::kOk);
    EXPECT_EQ(lock.Lock(10), rc::kLockFailed);
    EXPECT_EQ(lock.Unlock(), rc::kOk);
    EXPECT_EQ(lock.Lock(0), rc::kOk);
}

TEST(SemaphoreLock, ReleaseBeyondOnePermitIsRefused)
{
    CSemaphoreLock signal;
    EXPECT_EQ(signal.Unlock(), rc::kLockFailed); // the initial permit is there
    ASSERT_EQ(signal.Lock(0), rc::kOk);
    EXPECT_EQ(signal.Unlock(), rc::kOk);
    EXPECT_EQ(signal.Unlock(), rc::kLockFailed); // two signals collapse into one wake-up
    EXPECT_EQ(signal.Lock(0), rc::kOk);
    EXPECT_EQ(signal.Lock(0), rc::kLockFailed);
}

TEST(SemaphoreLock, UnboundedWaitEndsWhenAnotherThreadReleases)
{
    CSemaphoreLock lock;
    ASSERT_EQ(lock.Lock(), rc::kOk);
    std::atomic<bool> acquired{false};
    std::thread waiter([&] {
        EXPECT_EQ(lock.Lock(), rc::kOk);
        acquired = true;
        lock.Unlock();
    });
    EXPECT_FALSE(acquired.load());
    EXPECT_EQ(lock.Unlock(), rc::kOk);
    waiter.join();
    EXPECT_TRUE(acquired.load());
}

TEST(SemaphoreLock, ExcludesConcurrentHolders)
{
    CSemaphoreLock lock;
    int inside = 0;
    int maxInside = 0;
    long total = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                CSemaphoreLock::Scoped hold(lock);
                ++inside;
                maxInside = std::max(maxInside, inside);
                ++total;
                --inside;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(maxInside, 1);
    EXPECT_EQ(total, 8000);
}

} // namespace
