// The worker threads of the console's commands: reports come back on the receiver's thread,
// waits end at shutdown, and shutdown is bounded even with a thread that will not end.

#include "worker_pool.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>

using namespace std::chrono_literals;

class WorkerPoolTest : public QObject
{
    Q_OBJECT

private slots:
    void reportsRunOnTheReceiversThread()
    {
        QObject receiver;
        CWorkerPool pool(&receiver);
        QThread* reportedOn = nullptr;
        QThread* ranOn = nullptr;
        QVERIFY(pool.Start([&] {
            ranOn = QThread::currentThread();
            pool.Report([&] { reportedOn = QThread::currentThread(); });
        }));
        QTRY_VERIFY(reportedOn != nullptr);
        QCOMPARE(reportedOn, QThread::currentThread());
        QVERIFY(ranOn != QThread::currentThread());
    }

    // The keep-alive's retry wait must not hold shutdown for its whole length.
    void stopCutsSleepShort()
    {
        QObject receiver;
        CWorkerPool pool(&receiver);
        std::atomic<int> slept{-1};
        QVERIFY(pool.Start([&] { slept = pool.Sleep(60s) ? 1 : 0; }));
        QElapsedTimer clock;
        clock.start();
        pool.Stop();
        QCOMPARE(pool.JoinAll(10s), 0);
        QCOMPARE(slept.load(), 0);
        QVERIFY(clock.elapsed() < 5000);
    }

    void reportsAfterStopAreDropped()
    {
        QObject receiver;
        CWorkerPool pool(&receiver);
        std::mutex mutex;
        std::condition_variable go;
        bool released = false;
        bool reported = false;
        QVERIFY(pool.Start([&] {
            std::unique_lock lock(mutex);
            go.wait(lock, [&] { return released; });
            pool.Report([&] { reported = true; });
        }));
        pool.Stop();
        {
            std::lock_guard lock(mutex);
            released = true;
        }
        go.notify_all();
        QCOMPARE(pool.JoinAll(10s), 0);
        QCoreApplication::processEvents();
        QVERIFY(!reported);
        QVERIFY(!pool.Start([] {}));
    }

    // A thread that does not end within the bound is left running; JoinAll returns anyway and
    // says so.
    void joinIsBounded()
    {
        auto gate = std::make_shared<std::atomic<bool>>(false);
        auto receiver = std::make_unique<QObject>();
        auto pool = std::make_unique<CWorkerPool>(receiver.get());
        QVERIFY(pool->Start([gate] {
            while (!*gate)
                QThread::yieldCurrentThread();
        }));
        QVERIFY(pool->Start([] {}));
        QTRY_COMPARE(pool->Running(), 1);
        pool->Stop();
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(pool->JoinAll(100ms), 1);
        QVERIFY(clock.elapsed() < 5000);
        pool.reset(); // the left thread holds only what it captured
        *gate = true;
    }
};

QTEST_MAIN(WorkerPoolTest)
#include "worker_pool_test.moc"
