// The package figures between the reporting thread and the GUI thread: one
// queued update at a time, the newest texts shown, a cancel counted from zero.

#include "packageprogress.h"
#include "testmain.h"

#include <QtTest>

using vexa::projectfilemgr::PackageProgress;

class TestPackageProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsAndUpdates()
    {
        // A step reports `bytes` (0: the GUI thread's update arrives); `queue`
        // is whether a report asks for an update, `percent` what an update shows.
        const struct { quint64 bytes; bool cancelling; bool queue; const char* packaged; int percent; } steps[] = {
            {2048, false, true, "2.0K ", 0},
            {2048, false, false, "4.0K ", 0}, // one is on its way: no flood
            {0, false, false, "4.0K ", 50},   // the newest texts, not those it was queued with
            {2048, false, true, "6.0K ", 0},  // the next report asks again
            {2048, true, false, "0.0B ", 0},  // while cancelling the count starts over
            {0, false, false, "0.0B ", 0}};
        PackageProgress progress;
        progress.setTotalSize(8192);
        progress.restart(1024.0);
        for (const auto& s : steps) {
            if (s.bytes == 0) {
                const PackageProgress::Shown shown = progress.take({2048, "stale", "stale", "stale"});
                QCOMPARE(shown.texts.finishSpace, QString::fromLatin1(s.packaged));
                QCOMPARE(shown.percent, s.percent);
                continue;
            }
            const PackageProgress::Report report = progress.add(s.bytes, [&s] { return s.cancelling; });
            QCOMPARE(report.queue, s.queue);
            QCOMPARE(report.stopped, s.cancelling);
            QCOMPARE(report.texts.packaged, QString::fromLatin1(s.packaged));
        }
    }
};

VEXA_TEST_MAIN(TestPackageProgress)
#include "tst_packageprogress.moc"
