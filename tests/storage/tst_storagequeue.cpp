// The queue that keeps file-system questions off the GUI thread: a job stuck
// in the file system holds one thread, never the page nor the other jobs.

#include "storagequeue.h"
#include "testmain.h"

#include <QtTest>
#include <atomic>
#include <future>

using namespace vexa::projectfilemgr;
using namespace std::chrono_literals;

class TestStorageQueue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stuckJobsHoldTheirThreadOnly()
    {
        StorageQueue queue;
        int late = 0;
        queue.setDeadline(200ms);
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        static int answered;
        answered = 0;
        // More stuck jobs than the queue has threads for work.
        const int stuck = StorageQueue::kThreads + 2;
        for (int i = 0; i < stuck; ++i)
            queue.post([released] {
                released.wait();
                return [] { answered += 100; };
            }, [&late] { ++late; });
        QThread::msleep(150); // they are stuck now
        for (int i = 0; i < 50; ++i)
            queue.post([] { return [] { ++answered; }; });
        QElapsedTimer waited;
        waited.start();
        queue.waitWhileQuick(5000ms);
        QVERIFY2(waited.elapsed() < 2000, "the wait went on for the stuck jobs");
        QCOMPARE(answered, 50);
        QCOMPARE(queue.pending(), std::size_t(stuck));
        // Each stuck job is reported once, and still answers when it ends.
        QTRY_COMPARE(late, stuck);
        QThread::msleep(300);
        QCOMPARE(late, stuck);
        release.set_value();
        QTRY_COMPARE(answered, 50 + 100 * stuck);
    }

    void destroyedQueueWaitsForNothing()
    {
        std::promise<void> release, ended;
        std::atomic<bool> ran{false};
        {
            StorageQueue queue;
            queue.post([&release, &ended, &ran] {
                release.get_future().wait();
                ended.set_value();
                return [&ran] { ran = true; };
            });
            queue.waitWhileQuick(50ms); // until it is begun
        }
        release.set_value();
        ended.get_future().wait();
        QThread::msleep(50);
        QCoreApplication::processEvents();
        QVERIFY(!ran); // the page that asked is gone
    }
};

VEXA_TEST_MAIN(TestStorageQueue)
#include "tst_storagequeue.moc"
