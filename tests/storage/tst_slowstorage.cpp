// The start page with projects on storage that answers late, fails or has
// gone away: a real file system (FUSE) whose every question about a file
// waits, then fails or answers. The page never waits for it.

#include "hxruntime.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "packagepage.h"
#include "projectfilewidget.h"
#include "recenttiles.h"
#include "recordingmanager.h"
#include "slowshare.h"
#include "testfiles.h"
#include "testmain.h"

#include <QtTest>
#include <QtWidgets>
#include <cerrno>

using namespace vexa::projectfilemgr;
using namespace vexatest;

namespace {

// How long each question on the slow share takes; the page gives up waiting
// for an answer well before (and shows the tile unavailable).
constexpr int kShareDelayMs = 2500;

} // namespace

class TestSlowStorage : public QObject
{
    Q_OBJECT

    norvane::HXRuntime runtime;
    RecordingManager mgr;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<ProjectFileWidget> page;

    QListWidget* list() const { return page->findChild<QListWidget*>("FileListWidget"); }
    QWidget* tile(int row) const { return tileOfRow(list(), row); }
    // Each row as "name storage-state size", in the order shown.
    QStringList rows() const
    {
        QStringList shown;
        for (int row = 0; row < list()->count(); ++row) {
            QWidget* t = tile(row);
            shown << QStringLiteral("%1 %2 %3")
                         .arg(labelsOf(t).value(2)->toolTip(), t->property("storage").toString(),
                              labelsOf(t).value(4)->text());
        }
        return shown;
    }
    QString local(const QString& name, int ageMinutes, int size = 1024)
    {
        return makeFile(dir->filePath(name), QByteArray(size, 'x'), QDateTime::currentDateTime().addSecs(-60 * ageMinutes));
    }
    QString shared(SlowShare& share, const QString& name, int ageMinutes)
    {
        makeFile(share.backing(name), QByteArray(2048, 'x'), QDateTime::currentDateTime().addSecs(-60 * ageMinutes));
        return share.path(name);
    }
    // run() as the host calls it; how long it took.
    qint64 timedRun()
    {
        QElapsedTimer timer;
        timer.start();
        page->run();
        return timer.elapsed();
    }

private Q_SLOTS:
    void init()
    {
        dir.reset(new QTemporaryDir);
        QFile::remove(listFilePath());
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->loadLanguageFiles({QStringLiteral(VEXA_ECHO_QM)});
        page->switchLanguage("xx");
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
        mgr.clearCalls();
        mgr.answerOpens(Success);
    }

    void cleanup()
    {
        page.reset();
        QCOMPARE(driver->pending(), 0);
    }

    // A sleeping share: the page shows at once, local projects as always,
    // the others checking, then unavailable, then as they answer, in place.
    void pageAnswersWhileTheShareSleeps()
    {
        SlowShare share(kShareDelayMs, 0);
        VEXA_REQUIRE_MOUNT(share);
        qInfo("FUSE mount made at %s", qPrintable(share.path()));
        QVERIFY(writeListFile(listOf({listEntry(shared(share, "s1.ptr7", 1)), listEntry(local("l1.ptr7", 2)),
                                      listEntry(shared(share, "s2.ptr7", 3)), listEntry(local("l2.ptr7", 4))})));
        const qint64 took = timedRun();
        QVERIFY2(took < kShareDelayMs / 2, qPrintable(QStringLiteral("run() took %1 ms").arg(took)));
        QVERIFY(page->isVisible());
        // Newest first among the answered; the unanswered last, in the file's order.
        QCOMPARE(rows(), (QStringList{"l1.ptr7  1.00KB", "l2.ptr7  1.00KB", "s1.ptr7 checking ",
                                      "s2.ptr7 checking "}));
        QTRY_COMPARE_WITH_TIMEOUT(tile(2)->property("storage").toString(), QStringLiteral("unavailable"), 2500);
        QCOMPARE(tile(2)->toolTip(), QStringLiteral("UnreachableTip %1").arg(share.path()));
        // The late answers fill the rows where they are; the next sort uses them.
        QTRY_COMPARE_WITH_TIMEOUT(rows().last(), QStringLiteral("s2.ptr7  2.00KB"), 5000);
        QCOMPARE(rows().first(), QStringLiteral("l1.ptr7  1.00KB"));
        QVERIFY(readListFile().contains("s1.ptr7"));
    }

    // A share a little slow (a disk waking up) answers within the first
    // moments: its projects still take their places before anyone looks.
    void quickAnswersStillSort()
    {
        SlowShare share(40, 0);
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(writeListFile(listOf({listEntry(local("l.ptr7", 10)), listEntry(shared(share, "s.ptr7", 1))})));
        page->run();
        QTRY_COMPARE(rows(), (QStringList{"s.ptr7  2.00KB", "l.ptr7  1.00KB"}));
    }

    // The filter and the pins use what the list holds: typing and pinning
    // ask the share nothing.
    void filterAndPinsAskTheShareNothing()
    {
        SlowShare share(30, 0);
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(writeListFile(listOf({listEntry(shared(share, "zinnia one.ptr7", 1)), listEntry(shared(share, "tulip.ptr7", 2)),
                                      listEntry(shared(share, "zinnia two.ptr7", 3))})));
        page->run();
        QTRY_COMPARE(rows(), (QStringList{"zinnia one.ptr7  2.00KB", "tulip.ptr7  2.00KB", "zinnia two.ptr7  2.00KB"}));
        const long asked = share.questions();
        QVERIFY(asked >= 3);
        auto* filter = page->findChild<QLineEdit*>("filterEdit");
        QTest::keyClicks(filter, "ZINNIA");
        QCOMPARE(rows(), (QStringList{"zinnia one.ptr7  2.00KB", "zinnia two.ptr7  2.00KB"}));
        list()->setCurrentRow(1);
        QTest::keyClick(list(), Qt::Key_P, Qt::ControlModifier);
        filter->clear();
        QCOMPARE(rows(), (QStringList{"zinnia two.ptr7  2.00KB", "zinnia one.ptr7  2.00KB", "tulip.ptr7  2.00KB"}));
        // Anything asked on the way would have reached the share by now.
        QTest::qWait(200);
        QCOMPARE(share.questions(), asked);
    }

    // Only "not there" prunes: a share that fails keeps its entries.
    void failingShareKeepsItsEntries()
    {
        SlowShare share(0, EIO);
        VEXA_REQUIRE_MOUNT(share);
        const QByteArray kept = listEntry(share.path("s.ptr7")), gone = listEntry(dir->filePath("gone.ptr7"));
        const QByteArray here = listEntry(local("l.ptr7", 1));
        QVERIFY(writeListFile(listOf({kept, gone, here})));
        page->run();
        // Quick answers, but a busy machine may give them after the load's wait.
        QTRY_COMPARE(rows(), (QStringList{"l.ptr7  1.00KB", "s.ptr7 unavailable "}));
        QTRY_COMPARE(readListFile(), listOf({kept, here}));
    }

    // A project the slow share says is gone goes when the answer comes.
    void lateMissingAnswerPrunes()
    {
        SlowShare share(kShareDelayMs, 0);
        VEXA_REQUIRE_MOUNT(share);
        const QByteArray here = listEntry(local("l.ptr7", 1));
        QVERIFY(writeListFile(listOf({listEntry(share.path("gone.ptr7")), here})));
        page->run();
        QCOMPARE(list()->count(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(list()->count(), 1, 5000);
        QCOMPARE(readListFile(), listOf({here}));
    }

    // A double-click on a project whose share hangs returns at once; the tile
    // shows busy, and the user is told the location cannot be reached.
    void doubleClickOnAHungProject()
    {
        SlowShare share(3 * kShareDelayMs, 0);
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(writeListFile(listOf({listEntry(shared(share, "s.ptr7", 1))})));
        page->run();
        driver->answerTip(1);
        QElapsedTimer timer;
        timer.start();
        page->slotItemDoubleClicked(list()->item(0));
        QVERIFY(timer.elapsed() < kShareDelayMs / 2);
        QTRY_VERIFY(tile(0)->property("busy").toBool());
        QTRY_COMPARE_WITH_TIMEOUT(driver->tipTexts(), QStringList{QStringLiteral("UnreachableFileTip %1").arg(share.path())},
                                  5000);
        QVERIFY(!tile(0)->property("busy").toBool());
        QCOMPARE(mgr.callCount("loadProject"), std::size_t(0));
    }

    // Moving a project on a hung share to the trash never holds up the page;
    // the user hears the outcome when it comes.
    void deleteOnAHungShare()
    {
        SlowShare share(1000, 0); // each of the move's questions waits
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(writeListFile(listOf({listEntry(shared(share, "s.ptr7", 1))})));
        page->run();
        driver->chooseMenuAction("DeleteFiles");
        driver->answerTip(1);
        driver->answerTip(1); // the share refuses the move
        QElapsedTimer timer;
        timer.start();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), tile(0)->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tile(0), &event);
        QVERIFY(timer.elapsed() < 500);
        QVERIFY(tile(0)->property("busy").toBool());
        QTRY_COMPARE_WITH_TIMEOUT(driver->tipTexts().size(), 2, 15000);
        QVERIFY(driver->tipTexts().at(1).startsWith(QStringLiteral("DeleteFailedTip")));
        QCOMPARE(list()->count(), 1);
        QVERIFY(!tile(0)->property("busy").toBool());
    }

    // A package location on a share that sleeps: the dialog answers at once,
    // offers no package while the space is unknown, and one once it is known.
    void packageLocationOnASleepingShare()
    {
        SlowShare share(kShareDelayMs, 0);
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(QDir().mkdir(share.backing("out")));
        const FreeSpaceQuery before = setPackageFreeSpaceQuery([](const std::string&, std::uint64_t& bytes, int& error) {
            bytes = std::uint64_t(1) << 40;
            error = 0;
            return true;
        });
        PackagePage dialog;
        STPackageInfo info;
        info.usedMediasSize = info.allMediasSize = 1 << 20;
        dialog.setMediaSize(info);
        auto* button = dialog.findChild<QPushButton*>("packageButton");
        QVERIFY(button->isEnabled());
        QElapsedTimer timer;
        timer.start();
        dialog.findChild<QLineEdit*>("packageLocationEdit")->setText(share.path("out"));
        QVERIFY(timer.elapsed() < kShareDelayMs / 2);
        QVERIFY(!button->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(button->isEnabled(), 5000);
        setPackageFreeSpaceQuery(before);
    }

    // The page may go while its questions hang; their answers find nothing.
    void pageDestroyedWithQuestionsInFlight()
    {
        SlowShare share(kShareDelayMs / 2, 0);
        VEXA_REQUIRE_MOUNT(share);
        QVERIFY(writeListFile(listOf({listEntry(shared(share, "s.ptr7", 1)), listEntry(local("l.ptr7", 2))})));
        page->run();
        page->slotItemDoubleClicked(list()->item(1));
        page.reset();
        QTest::qWait(kShareDelayMs); // the answers come and are dropped
    }

    // A sort click sorts by the facts as they are now, not as first read.
    void sortGoesByTheFactsOfTheClick()
    {
        const QString older = local("a.ptr7", 120), newer = local("b.ptr7", 60);
        QVERIFY(writeListFile(listOf({listEntry(older), listEntry(newer)})));
        page->run();
        QCOMPARE(page->getItemFilePath(0), newer.toStdString());
        QVERIFY(!local("a.ptr7", 0).isEmpty()); // touched while the page is up
        page->changeSortClicked();
        page->changeSortClicked(); // back to newest first
        QCOMPARE(page->getItemFilePath(0), older.toStdString());
    }
};

VEXA_TEST_MAIN(TestSlowStorage)
#include "tst_slowstorage.moc"
