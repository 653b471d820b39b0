// The start page core: wiring to the manager and the runtime, refusals,
// races with the host's threads, the open round trip with its busy dialog
// and the auto-open at the start.

#include "blockdialog.h"
#include "hxruntime.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QtTest>
#include <future>
#include <thread>

using namespace vexa::projectfilemgr;
using vexa::widgets::BlockDialog;
using vexatest::RecordingManager;

class TestProjectFileWidget : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<vexatest::ModalDriver> driver;
    std::unique_ptr<ProjectFileWidget> page;

    QString makeProject(const QString& name, int ageSeconds = 0)
    {
        return vexatest::makeFile(dir->filePath(name), "{}", QDateTime::currentDateTime().addSecs(-ageSeconds));
    }

    void attach()
    {
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
    }

    // Every manager signal the page or its package dialog listens to, and the runtime's notices.
    std::size_t pageSlots() const
    {
        return mgr->sigOpenFinished.slotCount() + mgr->sigSaveFinished.slotCount() +
               mgr->sigShowPackageDialog.slotCount() + mgr->sigPackageFinished.slotCount() +
               mgr->sigProhibitPackage.slotCount() + mgr->sigResetShortcut.slotCount() +
               mgr->sigPackageProgress.slotCount() + mgr->sigPackageAble.slotCount() +
               runtime->notifyHandlerCount("OnSystemRestore") + runtime->notifyHandlerCount("OnSystemRestoreWait");
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM))); }

    void init()
    {
        QFile::remove(vexatest::listFilePath());
        dir.reset(new QTemporaryDir);
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new vexatest::ModalDriver);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset(); // an attached page detaches itself
    }

    // Once detached, whatever the runtime does, no late answer reaches the page.
    void detachHoldsWhateverTheRuntimeDoes_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("plain detach") << 0;
        QTest::newRow("calls refused") << 1;
        QTest::newRow("runtime stopped") << 2;
        QTest::newRow("page destroyed attached") << 3;
    }

    void detachHoldsWhateverTheRuntimeDoes()
    {
        QFETCH(int, how);
        attach();
        page->setProjectFileMgr(mgr.get()); // a second attach replaces, never doubles
        page->setHXRuntime(runtime.get()); // nor does a second runtime attach
        QCOMPARE(pageSlots(), std::size_t(10));
        runtime->setCallable(how != 1);
        if (how == 2)
            runtime->stop();
        if (how != 3) {
            page->unsetProjectFileMgr();
            page->unsetHXRuntime();
        }
        page.reset();
        QCOMPARE(pageSlots(), std::size_t(0));
        RecordingManager* m = mgr.get(); // answers from a foreign thread now reach nobody
        RecordingManager::fromForeignThread([m] { m->sigSaveFinished("/x/y.ptr7"); m->sigPackageProgress(10); });
    }

    // Every open that cannot reach the manager ends at once: a busy dialog
    // would wait for an answer that never comes. Nothing opened, nothing to save.
    void openThatCannotBeSentLeavesNothingOpen_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("tips");
        QTest::newRow("null manager") << 0 << 0;
        QTest::newRow("runtime refuses the attach") << 1 << 0;
        QTest::newRow("missing file") << 2 << 1;
        QTest::newRow("runtime refuses the open") << 3 << 0;
    }

    void openThatCannotBeSentLeavesNothingOpen()
    {
        QFETCH(int, how);
        QFETCH(int, tips);
        page->unsetProjectFileMgr(); // nothing attached yet: no-ops
        page->unsetHXRuntime();
        page->setHXRuntime(nullptr);
        page->setProjectFileMgr(mgr.get()); // before the runtime
        page->setHXRuntime(runtime.get());
        runtime->setCallable(how != 1);
        page->setProjectFileMgr(how == 0 ? nullptr : mgr.get());
        runtime->setCallable(how != 3);
        driver->acceptFileDialog(how == 2 ? dir->filePath(QStringLiteral("gone.ptr7")) : makeProject(QStringLiteral("a.ptr7")));
        if (tips)
            driver->answerTip(1);
        page->openClicked();
        runtime->setCallable(true);
        QCOMPARE(pageSlots(), std::size_t(how < 2 ? 2 : 10));
        QCOMPARE(driver->tipTexts(), tips ? QStringList{QStringLiteral("NullFileTip")} : QStringList());
        if (how < 2) // without a manager a save is told it cannot be made
            driver->answerTip(1);
        page->saveProject();
        QCOMPARE(mgr->calls().size(), std::size_t(0));
    }

    // A restore notice the runtime is delivering while the host detaches
    // reaches nothing of the page, whether the page lives on or not.
    void restoreNoticeDuringDetach_data()
    {
        QTest::addColumn<bool>("destroyed");
        QTest::newRow("page kept") << false;
        QTest::newRow("page destroyed") << true; // the sanitizer build sees a use of the freed page
    }

    void restoreNoticeDuringDetach()
    {
        QFETCH(bool, destroyed);
        std::promise<void> entered, release;
        const std::shared_future<void> released = release.get_future().share();
        // A listener of the host's that takes its time, delivered before the page's.
        int owner = 0;
        runtime->registerNotify("OnSystemRestore", "stall", [&entered, released](void*) {
            entered.set_value();
            released.wait();
        }, &owner, 3);
        page->setHXRuntime(runtime.get()); // no manager: its detach would wait for the busy runtime
        runtime->notify("OnSystemRestore");
        entered.get_future().wait();
        page->unsetHXRuntime();
        if (destroyed)
            page.reset();
        release.set_value();
        runtime->waitIdle();
        runtime->unregisterNotify("OnSystemRestore", "stall", &owner);
        if (destroyed)
            return;
        QSignalSpy restore(page.get(), &ProjectFileWidget::systemRestore);
        page->setBlockDialogVisible(true, false); // a restore's busy dialog would wait for nobody
        page->run();
        QCOMPARE(restore.count(), 0);
    }

    void disconnectWaitsForCallsUnderWay()
    {
        ThreadSafeSignal<> signal;
        std::promise<void> entered, release;
        const std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> alive{true}, aliveInCall{false};
        const auto id = signal.connect(std::function<void()>([&] {
            entered.set_value();
            released.wait();
            aliveInCall = alive.load();
        }));
        std::thread raiser([&signal] { signal(); });
        entered.get_future().wait();
        // What a host does on detach: disconnect, then free the object.
        auto detached = std::async(std::launch::async, [&] { signal.disconnect(id); alive = false; });
        // The detach must still be waiting for the call; the bound only ends the wait.
        const bool waited = detached.wait_for(std::chrono::milliseconds(300)) == std::future_status::timeout;
        release.set_value();
        raiser.join();
        detached.wait();
        QVERIFY(waited && aliveInCall);
        // A slot that disconnects itself on the raising thread does not wait for itself.
        ThreadSafeSignal<>::Id self = 0;
        self = signal.connect(std::function<void()>([&] { signal.disconnect(self); }));
        signal();
        QCOMPARE(signal.slotCount(), std::size_t(0));
    }

    void raisingWhileAttachingDetachingAndDestroying()
    {
        std::atomic<bool> stop{false};
        RecordingManager* m = mgr.get();
        std::thread host([m, &stop] {
            while (!stop) {
                m->sigOpenFinished("/x/a.ptr7", Success, false);
                m->sigSaveFinished("/x/a.ptr7");
                m->sigPackageProgress(512);
                m->sigPackageAble();
                m->sigPackageFinished(true, "/x/pkg");
            }
        });
        for (int i = 0; i < 150; ++i) {
            ProjectFileWidget p; // every other one is destroyed still attached
            p.setHXRuntime(runtime.get());
            p.setProjectFileMgr(m);
            QCoreApplication::processEvents();
            if (i % 2 == 0)
                p.unsetProjectFileMgr();
        }
        stop = true;
        host.join();
        QCoreApplication::processEvents();
        QCOMPARE(mgr->sigOpenFinished.slotCount() + mgr->sigPackageProgress.slotCount(), std::size_t(0));
    }

    void openRoundTripRunsOnTheRuntimeAndAnswersOnTheGuiThread()
    {
        attach();
        mgr->answerOpens(Success);
        // A Windows separator in the answer ends the folder as well.
        const QString project = makeProject(QStringLiteral("a\\demo.ptr7"));
        driver->acceptFileDialog(project);
        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        QString shownName;
        QThread* answerThread = nullptr;
        QWidget* modalDuringAnswer = nullptr;
        QElapsedTimer sinceAnswer;
        connect(page.get(), &ProjectFileWidget::modifyProjectName, this, [&](const QString& name) {
            shownName = name;
            answerThread = QThread::currentThread();
            modalDuringAnswer = QApplication::activeModalWidget();
            sinceAnswer.start();
        });
        page->openClicked(); // returns once the busy dialog has closed
        QCOMPARE(opening.count(), 1);
        QCOMPARE(QString::fromStdString(mgr->lastCall("loadProject").path), project);
        QCOMPARE(mgr->lastCall("loadProject").thread, runtime->threadId());
        QCOMPARE(mgr->openFinishReceivedCount(), 1);
        QCOMPARE(shownName, QStringLiteral("demo.ptr7"));
        QCOMPARE(answerThread, qApp->thread());
        // The answer ran inside the busy dialog's own loop, which closed 50 ms later.
        QCOMPARE(modalDuringAnswer, static_cast<QWidget*>(page->findChild<BlockDialog*>()));
        QVERIFY2(sinceAnswer.elapsed() >= 45, "the busy dialog closed before its 50 ms delay");
        // The host's shortcut reset announces an open too.
        RecordingManager::fromForeignThread([this] { mgr->sigResetShortcut(); });
        QTRY_COMPARE(opening.count(), 2);
    }

    // An auto-open of the newest project (not the pinned one shown above it)
    // that turns out damaged marks it in the list, and the next start shows
    // the page instead of trying again.
    void damagedAutoOpenIsNotRetried()
    {
        const QString newer = makeProject(QStringLiteral("newer.ptr7"), 60);
        const QString older = makeProject(QStringLiteral("older.ptr7"), 3600);
        const QByteArray pinned = vexatest::listEntry(older, false, QStringLiteral("p"), true);
        QVERIFY(vexatest::writeListFile(vexatest::listOf({pinned, vexatest::listEntry(newer)})));
        STPluginConfig config;
        config.autoOpenCurrentProject = true;
        page->setConfig(config);
        attach();
        mgr->answerOpens(FileDamage);
        driver->answerTip(1);
        page->run();
        QCOMPARE(QString::fromStdString(mgr->lastCall("loadProject").path), newer);
        const QByteArray list = vexatest::readListFile();
        QVERIFY(!page->isVisible() && list.contains(vexatest::listEntry(newer, true)) && list.contains(pinned));
        QCOMPARE(page->getItemFilePath(0), older.toStdString()); // the damaged one is no record of the list
        page->run();
        QVERIFY(page->isVisible() && mgr->calls().size() == 1);
    }

    void runShowsThePageWhenNothingIsToOpen_data()
    {
        QTest::addColumn<bool>("slave");
        QTest::addColumn<bool>("listed");
        QTest::newRow("slave never opens the last project") << true << true;
        QTest::newRow("nothing listed") << false << false;
    }

    void runShowsThePageWhenNothingIsToOpen()
    {
        QFETCH(bool, slave);
        QFETCH(bool, listed);
        if (listed)
            QVERIFY(vexatest::writeListFile(vexatest::listOf({vexatest::listEntry(makeProject(QStringLiteral("a.ptr7")))})));
        STPluginConfig config;
        config.autoOpenCurrentProject = true;
        page->setConfig(config);
        page->setIsSlave(slave);
        attach();
        mgr->answerOpens(Success); // an open, were one made, ends at once
        page->run();
        QVERIFY(page->isVisible());
        QCOMPARE(mgr->calls().size(), std::size_t(0));
    }

    // A restore announced once the page is up waits for the next run, which waits in
    // the busy dialog until the host is done.
    void restoreAnnouncedAfterTheStart()
    {
        attach();
        page->run();
        QSignalSpy restores(page.get(), &ProjectFileWidget::systemRestore);
        runtime->notify("OnSystemRestoreWait");
        runtime->waitIdle();
        QCoreApplication::processEvents();
        QCOMPARE(restores.count(), 0);
        QString shownText;
        driver->onNext<BlockDialog>("busy dialog", [&](BlockDialog* dialog) {
            shownText = dialog->tipText();
            page->setBlockDialogVisible(false, false); // the host finished the restore
        });
        page->run();
        QCOMPARE(restores.count(), 1);
        QCOMPARE(shownText, QStringLiteral("Loading"));
        QVERIFY(!page->findChild<BlockDialog*>()->isVisible());
    }

    void commandLine_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("slave");
        QTest::addColumn<bool>("refused");
        QTest::newRow("backslashes opened with slashes") << true << false << false;
        QTest::newRow("missing file") << false << false << false;
        QTest::newRow("slave ignores the argument") << true << true << false;
        QTest::newRow("runtime refuses the open") << true << false << true;
    }

    void commandLine()
    {
        QFETCH(bool, exists);
        QFETCH(bool, slave);
        QFETCH(bool, refused);
        const QString project = exists ? makeProject(QStringLiteral("demo.ptr7")) : dir->filePath(QStringLiteral("no.ptr7"));
        // Written the way a Windows shell would hand it over.
        QString argument = project;
        argument.replace(argument.lastIndexOf(QLatin1Char('/')), 1, QLatin1Char('\\'));

        QProcess host;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (slave)
            env.insert(QStringLiteral("VEXA_TEST_SLAVE"), QStringLiteral("1"));
        if (refused)
            env.insert(QStringLiteral("VEXA_TEST_REFUSE"), QStringLiteral("1"));
        host.setProcessEnvironment(env);
        host.start(QStringLiteral(VEXA_CMDLINEHOST), {argument});
        QVERIFY(host.waitForFinished(60000));
        QCOMPARE(host.exitCode(), 0);
        const QString out = QString::fromUtf8(host.readAllStandardOutput());

        if (slave) {
            QVERIFY2(!out.contains(QStringLiteral("loadProject")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("visible 1")));
            return;
        }
        if (refused) {
            // No open is coming: the user gets the start page, the host still hears of it.
            QVERIFY2(out.contains(QStringLiteral("visible 1")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("argumentOpenFailed 1")));
            QVERIFY(!out.contains(QStringLiteral("loadProject")));
            return;
        }
        QVERIFY(out.contains(QStringLiteral("visible 0")));
        if (exists) {
            QVERIFY2(out.contains(QStringLiteral("loadProject %1\n").arg(project)), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("modifyProjectName demo.ptr7")));
            QVERIFY(out.contains(QStringLiteral("argumentOpenFailed 0")));
        } else {
            QVERIFY(!out.contains(QStringLiteral("loadProject")));
            QVERIFY2(out.contains(QStringLiteral("tip NullFileTip")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("argumentOpenFailed 1")));
        }
    }
};

VEXA_TEST_MAIN(TestProjectFileWidget)
#include "tst_projectfilewidget.moc"
