// The application's pool at shutdown: a bounded wait that tells how many jobs it left running,
// and retry waits that end as soon as the pool stops.
#include "worker_pool.h"

#include <QTest>
#include <atomic>
#include <future>
#include <memory>

using namespace std::chrono_literals;

class WorkerPoolTest final : public QObject
{
    Q_OBJECT

private slots:
    // A job stuck past the bound (a name lookup) is counted and let go, and ends while the pool
    // goes; a stopped pool starts nothing new.
    void waitAllWithABoundReportsStragglers()
    {
        auto pool = std::make_unique<CWorkerPool>();
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> quickRan{false};
        QVERIFY(pool->Start([released] { released.wait(); }));
        QVERIFY(pool->Start([&quickRan] { quickRan = true; }));
        QTRY_COMPARE(pool->Running(), 1);
        pool->Stop();
        std::atomic<bool> ranAfterStop{false};
        QVERIFY(!pool->Start([&ranAfterStop] { ranAfterStop = true; }));
        QCOMPARE(pool->WaitAll(20ms), 1);
        QVERIFY(quickRan);
        // Let go, it ends while the pool goes.
        release.set_value();
        pool.reset();
        QVERIFY(!ranAfterStop);
    }

    // Stopping ends a job's wait at once; a wait the pool is not stopped for runs its time.
    void stopCutsSleepShort()
    {
        CWorkerPool pool;
        QVERIFY(pool.Sleep(1ms));
        std::atomic<int> wholeTimePassed{-1};
        QVERIFY(pool.Start([&] { wholeTimePassed = pool.Sleep(1h) ? 1 : 0; }));
        pool.Stop();
        QCOMPARE(pool.WaitAll(60s), 0);
        QCOMPARE(wholeTimePassed.load(), 0);
    }
};

QTEST_GUILESS_MAIN(WorkerPoolTest)
#include "worker_pool_test.moc"
