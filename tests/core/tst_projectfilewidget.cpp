// The start page core: wiring to the manager and the runtime, the start-up
// decision, the open round trip with its busy dialog, configuration, restore
// and quitting.

#include "blockdialog.h"
#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "packagepage.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <future>
#include <memory>
#include <thread>

using namespace vexa::projectfilemgr;
using vexatest::listFilePath;
using vexatest::LogCapture;
using vexatest::ManagerCall;
using vexatest::ModalDriver;
using vexatest::readListFile;
using vexatest::RecordingManager;

namespace {

// A list file naming these projects.
void writeListFile(const QStringList& paths)
{
    QList<QByteArray> entries;
    for (const QString& path : paths)
        entries << vexatest::listEntry(path);
    QVERIFY(vexatest::writeListFile(vexatest::listOf(entries)));
}

} // namespace

class TestProjectFileWidget : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<QTemporaryDir> dir;

    vexa::widgets::BlockDialog* blockDialog() const { return page->findChild<vexa::widgets::BlockDialog*>(); }

    QString makeProject(const QString& name, const QDateTime& modified = QDateTime())
    {
        return vexatest::makeFile(dir->filePath(name), "{}", modified);
    }

    void attach()
    {
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
    }

    void init()
    {
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        QFile::remove(listFilePath());
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        if (page) {
            page->unsetProjectFileMgr();
            page->unsetHXRuntime();
        }
        page.reset();
        driver.reset();
        mgr.reset();
        runtime.reset();
    }

    void attachingConnectsThroughTheRuntimeAndDetachingUndoesIt()
    {
        attach();
        QCOMPARE(mgr->sigOpenFinished.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigSaveFinished.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigShowPackageDialog.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigPackageFinished.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigProhibitPackage.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigResetShortcut.slotCount(), std::size_t(1));
        QCOMPARE(runtime->notifyHandlerCount("OnSystemRestore"), std::size_t(1));
        QCOMPARE(runtime->notifyHandlerCount("OnSystemRestoreWait"), std::size_t(1));

        page->unsetProjectFileMgr();
        QCOMPARE(mgr->sigOpenFinished.slotCount(), std::size_t(0));
        QCOMPARE(mgr->sigResetShortcut.slotCount(), std::size_t(0));
        page->unsetHXRuntime();
        QCOMPARE(runtime->notifyHandlerCount("OnSystemRestore"), std::size_t(0));
        QCOMPARE(runtime->notifyHandlerCount("OnSystemRestoreWait"), std::size_t(0));

        // Detaching twice only logs.
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is null");
        page->unsetProjectFileMgr();
    }

    void nullsAndWrongOrderAreRefused()
    {
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is null");
        page->setProjectFileMgr(nullptr);
        // The manager before the runtime: refused instead of using a null runtime.
        QTest::ignoreMessage(QtWarningMsg, "hxRuntime is null, attach the runtime before the projectFileMgr");
        page->setProjectFileMgr(mgr.get());
        QCOMPARE(mgr->sigOpenFinished.slotCount(), std::size_t(0));
        QTest::ignoreMessage(QtWarningMsg, "hxRuntime is null");
        page->setHXRuntime(nullptr);
        QTest::ignoreMessage(QtWarningMsg, "hxRuntime is null");
        page->unsetHXRuntime();
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is null");
        page->unsetProjectFileMgr();
    }

    // Every manager signal the page or its package dialog listens to.
    std::size_t pageSlots() const
    {
        return mgr->sigOpenFinished.slotCount() + mgr->sigSaveFinished.slotCount() +
               mgr->sigShowPackageDialog.slotCount() + mgr->sigPackageFinished.slotCount() +
               mgr->sigProhibitPackage.slotCount() + mgr->sigResetShortcut.slotCount() +
               mgr->sigPackageProgress.slotCount() + mgr->sigPackageAble.slotCount();
    }

    void detachHoldsWhateverTheRuntimeDoes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("calls refused") << QStringLiteral("refuse");
        QTest::newRow("runtime stopped") << QStringLiteral("stop");
        QTest::newRow("page destroyed attached") << QStringLiteral("destroy");
    }

    void detachHoldsWhateverTheRuntimeDoes()
    {
        QFETCH(QString, how);
        attach();
        QCOMPARE(pageSlots(), std::size_t(8));
        LogCapture log;
        if (how == QLatin1String("destroy")) {
            page.reset(); // the host forgot to detach
            QCOMPARE(log.countContaining(QStringLiteral("destroyed with a projectFileMgr attached")), 1);
            QCOMPARE(runtime->notifyHandlerCount("OnSystemRestore"), std::size_t(0));
        } else {
            if (how == QLatin1String("refuse"))
                runtime->setCallable(false);
            else
                runtime->stop();
            page->unsetProjectFileMgr();
            QCOMPARE(log.countContaining(QStringLiteral("made directly instead")), 2);
            page.reset();
        }
        QCOMPARE(pageSlots(), std::size_t(0));
        // Late answers from the host reach nobody.
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] {
            m->sigSaveFinished("/x/y.ptr7");
            m->sigPackageProgress(10);
        });
        QCoreApplication::processEvents();
    }

    void refusedAttachKeepsNoManager()
    {
        page->setHXRuntime(runtime.get());
        runtime->setCallable(false);
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr not attached, the runtime refused the call");
        page->setProjectFileMgr(mgr.get());
        runtime->setCallable(true);
        QCOMPARE(pageSlots(), std::size_t(0));
        // Nothing would ever answer, so nothing is asked.
        driver->acceptFileDialog(makeProject(QStringLiteral("demo.ptr7")));
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is nullptr!");
        page->openClicked();
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(0));
    }

    void disconnectWaitsForCallsUnderWay()
    {
        struct Target {
            std::atomic<bool> alive{true};
            std::atomic<bool> aliveInCall{false};
            std::promise<void> entered;
            std::shared_future<void> release;
            void slot(std::uint64_t)
            {
                entered.set_value();
                release.wait();
                aliveInCall = alive.load();
            }
        };
        ThreadSafeSignal<std::uint64_t> signal;
        auto target = std::make_unique<Target>();
        std::promise<void> releaser;
        target->release = releaser.get_future().share();
        signal.connect(&Target::slot, target.get());
        std::thread raiser([&signal] { signal(1); });
        target->entered.get_future().wait();

        // What a host does on detach: disconnect, then free the object.
        auto detached = std::async(std::launch::async, [&signal, &target] {
            signal.disconnect(&Target::slot, target.get());
            target->alive = false;
        });
        // The detach must still be waiting for the call; the bound only ends the wait.
        const bool waited = detached.wait_for(std::chrono::milliseconds(300)) == std::future_status::timeout;
        releaser.set_value();
        raiser.join();
        detached.wait();
        QVERIFY(waited);
        QVERIFY(target->aliveInCall);

        // A slot that disconnects itself on the raising thread does not wait for itself.
        ThreadSafeSignal<> self;
        bool ran = false;
        ThreadSafeSignal<>::Id id = 0;
        id = self.connect(std::function<void()>([&] {
            self.disconnect(id);
            ran = true;
        }));
        self();
        QVERIFY(ran);
        QCOMPARE(self.slotCount(), std::size_t(0));
    }

    void raisingWhileAttachingDetachingAndDestroying()
    {
        LogCapture quiet; // the forgotten detaches warn on purpose
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
            auto p = std::make_unique<ProjectFileWidget>();
            p->setHXRuntime(runtime.get());
            p->setProjectFileMgr(mgr.get());
            QCoreApplication::processEvents();
            if (i % 2 == 0) {
                p->unsetProjectFileMgr();
                p->unsetHXRuntime();
            }
            p.reset();
            auto packagePage = std::make_unique<PackagePage>();
            packagePage->setHXRuntime(runtime.get());
            packagePage->setProjectFileMgr(mgr.get());
            QCoreApplication::processEvents();
            packagePage.reset();
        }
        stop = true;
        host.join();
        QCoreApplication::processEvents();
        page->setHXRuntime(runtime.get()); // the fixture's page is still whole
        QCOMPARE(pageSlots(), std::size_t(0));
    }

    void openRoundTripRunsOnTheRuntimeAndAnswersOnTheGuiThread()
    {
        attach();
        mgr->answerOpens(Success);
        const QString project = makeProject(QStringLiteral("demo.ptr7"));
        driver->acceptFileDialog(project);

        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        QThread* answerThread = nullptr;
        QWidget* modalDuringAnswer = nullptr;
        QElapsedTimer sinceAnswer;
        connect(page.get(), &ProjectFileWidget::modifyProjectName, this, [&] {
            answerThread = QThread::currentThread();
            modalDuringAnswer = QApplication::activeModalWidget();
            sinceAnswer.start();
        });
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);

        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("projectFile will openFile path is  %1").arg(project)));
        QTest::ignoreMessage(QtWarningMsg, "projectFile blockDialog will be show!");
        QTest::ignoreMessage(QtWarningMsg, "projectFile blockDialog will be close!");
        page->openClicked(); // returns once the busy dialog has closed

        QCOMPARE(opening.count(), 1);
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(1));
        const ManagerCall call = mgr->lastCall("loadProject");
        QCOMPARE(QString::fromStdString(call.path), project);
        QCOMPARE(call.mode, 1);
        QCOMPARE(call.thread, runtime->threadId());
        QVERIFY(call.thread != std::this_thread::get_id());

        QCOMPARE(names.count(), 1);
        QCOMPARE(names.at(0).at(0).toString(), QStringLiteral("demo.ptr7"));
        QCOMPARE(answerThread, qApp->thread());
        // The answer ran inside the busy dialog's own loop, which closed 50 ms later.
        QCOMPARE(modalDuringAnswer, static_cast<QWidget*>(blockDialog()));
        QVERIFY2(sinceAnswer.elapsed() >= 45, "the busy dialog closed before its 50 ms delay");
        QVERIFY(!blockDialog()->isVisible());
        QCOMPARE(mgr->openFinishReceivedCount(), 1);
    }

    void openAnswerNamesTheFileWhateverTheSeparator_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("slashes") << "a/b/demo.ptr7"
                                 << "demo.ptr7";
        QTest::newRow("backslashes") << "c:\\shows\\main hall.ptr7"
                                     << "main hall.ptr7";
        QTest::newRow("bare") << "solo.ptr7"
                              << "solo.ptr7";
    }

    void openAnswerNamesTheFileWhateverTheSeparator()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        attach();
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m, path] { m->sigOpenFinished(path.toStdString(), Success, false); });
        QTRY_COMPARE(names.count(), 1);
        QCOMPARE(names.at(0).at(0).toString(), name);
    }

    void unknownStatusCountsAsSuccess()
    {
        attach();
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        QSignalSpy damaged(page.get(), &ProjectFileWidget::showProjectMgrWidget);
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread(
            [m] { m->sigOpenFinished("x/odd.ptr7", static_cast<EnProjectOpenStatus>(7), false); });
        QTRY_COMPARE(names.count(), 1);
        QCOMPARE(damaged.count(), 0);
    }

    void damagedAnswerMarksTheListAndStopsTheReopen()
    {
        const QString project = makeProject(QStringLiteral("broken.ptr7"));
        writeListFile({project});
        STPluginConfig config;
        config.autoOpenCurrentProject = true;
        page->setConfig(config);
        attach();
        mgr->answerOpens(FileDamage);
        driver->answerTip(1);

        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        QSignalSpy damaged(page.get(), &ProjectFileWidget::showProjectMgrWidget);
        page->run(); // reopens the last project, which turns out damaged

        QCOMPARE(mgr->callCount("loadProject"), std::size_t(1));
        QCOMPARE(driver->tipTexts(), QStringList{QStringLiteral("FileDamage")});
        QCOMPARE(damaged.count(), 1);
        QCOMPARE(names.count(), 0);
        QVERIFY(readListFile().contains(R"("isDamageFile":true)"));
        QVERIFY(!page->isVisible());

        // The next start shows the page instead of trying the same project again.
        page->run();
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(1));
        QVERIFY(page->isVisible());
    }

    // The host's refusal comes before any file dialog and nothing is sent.
    void refusedReplacementOpensNoDialogAndSendsNothing_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("open") << 0;
        QTest::newRow("new") << 1;
        QTest::newRow("template") << 2;
        QTest::newRow("recent project") << 3;
    }

    void refusedReplacementOpensNoDialogAndSendsNothing()
    {
        QFETCH(int, entry);
        writeListFile({makeProject(QStringLiteral("listed.ptr7"))});
        STPluginConfig config;
        config.autoOpenCurrentProject = false;
        page->setConfig(config);
        attach();
        mgr->answerOpens(Success); // a wrongly sent open ends at once
        page->run();
        int asked = 0;
        page->setReplaceGuard([&asked] {
            ++asked;
            return false;
        });
        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        QSignalSpy creating(page.get(), &ProjectFileWidget::newProject);
        // Were a dialog to come anyway, this closes it and the count below says so.
        driver->rejectFileDialog();
        auto* list = page->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
        auto* templates = page->findChild<QListWidget*>(QStringLiteral("TemplateListWidget"));
        QVERIFY(list && list->count() == 1 && templates);
        switch (entry) {
        case 0: page->openClicked(); break;
        case 1: page->newClicked(); break;
        case 2: page->templateItemDoubleClicked(templates->item(0)); break;
        default: page->slotItemDoubleClicked(list->item(0)); break;
        }
        QCOMPARE(asked, 1);
        QCOMPARE(driver->handled(), 0);
        QCOMPARE(opening.count() + creating.count(), 0);
        QCOMPARE(mgr->calls().size(), std::size_t(0));
        driver.reset(new ModalDriver); // drop the unused expectation
    }

    void autoOpenPicksTheNewestProject()
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString older = makeProject(QStringLiteral("older.ptr7"), now.addSecs(-3600));
        const QString newer = makeProject(QStringLiteral("newer.ptr7"), now.addSecs(-60));
        writeListFile({older, newer});
        STPluginConfig config;
        config.autoOpenCurrentProject = true;
        page->setConfig(config);
        attach();
        mgr->answerOpens(Success);

        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("will open LastProject , path is  %1").arg(newer)));
        page->run();
        QCOMPARE(QString::fromStdString(mgr->lastCall("loadProject").path), newer);
        QVERIFY(!page->isVisible());
    }

    void runShowsThePageWhenNothingIsOpened_data()
    {
        QTest::addColumn<bool>("autoOpen");
        QTest::addColumn<bool>("slave");
        QTest::addColumn<bool>("withList");
        QTest::newRow("no auto-open") << false << false << true;
        QTest::newRow("auto-open, empty list") << true << false << false;
        QTest::newRow("slave never opens") << true << true << true;
    }

    void runShowsThePageWhenNothingIsOpened()
    {
        QFETCH(bool, autoOpen);
        QFETCH(bool, slave);
        QFETCH(bool, withList);
        if (withList)
            writeListFile({makeProject(QStringLiteral("kept.ptr7"))});
        STPluginConfig config;
        config.autoOpenCurrentProject = autoOpen;
        page->setConfig(config);
        page->setIsSlave(slave);
        attach();

        QTest::ignoreMessage(QtDebugMsg, "QApplication::arguments().size():  1");
        QTest::ignoreMessage(QtWarningMsg, "show projectflie widget!");
        page->run();
        QVERIFY(page->isVisible());
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(0));
    }

    void restoreAnnouncedBeforeRunIsStartedOnce()
    {
        attach();
        runtime->notify("OnSystemRestore");
        runtime->waitIdle();

        QSignalSpy restores(page.get(), &ProjectFileWidget::systemRestore);
        // The host lowers the busy dialog while it handles the signal.
        connect(page.get(), &ProjectFileWidget::systemRestore, this, [this] { page->setBlockDialogVisible(true, false); });
        QTest::ignoreMessage(QtWarningMsg, "systemRestore will begin!");
        page->run();
        QCOMPARE(restores.count(), 1);
        QVERIFY(!page->isVisible());

        // No new announcement: the normal path.
        page->run();
        QCOMPARE(restores.count(), 1);
        QVERIFY(page->isVisible());
    }

    void restoreWaitsInTheBusyDialogUntilTheHostIsDone()
    {
        attach();
        runtime->notify("OnSystemRestoreWait");
        runtime->waitIdle();

        QString shownText;
        driver->onNext<vexa::widgets::BlockDialog>("busy dialog", [&](vexa::widgets::BlockDialog* dialog) {
            shownText = dialog->tipText();
            page->setBlockDialogVisible(false, false); // the host finished the restore
        });
        QTest::ignoreMessage(QtWarningMsg, "systemRestore will begin!");
        QTest::ignoreMessage(QtWarningMsg, "_isProjectRestoreFinished is false!");
        page->run();
        QCOMPARE(shownText, QStringLiteral("Loading"));
        QVERIFY(!page->isVisible());
        QVERIFY(!blockDialog()->isVisible());
    }

    void restoreAnnouncedAfterTheStartWaitsForTheNextRun()
    {
        attach();
        page->run();
        QVERIFY(page->isVisible());
        QSignalSpy restores(page.get(), &ProjectFileWidget::systemRestore);
        runtime->notify("OnSystemRestore");
        runtime->waitIdle();
        QCoreApplication::processEvents();
        QCOMPARE(restores.count(), 0);
    }

    void refusedCallsNeverLeaveTheBusyDialogOpen()
    {
        attach();
        runtime->setCallable(false);
        const QString project = makeProject(QStringLiteral("demo.ptr7"));
        driver->acceptFileDialog(project);
        LogCapture log;
        page->openClicked(); // must return: no answer will ever come
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(0));
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be show!")), 0);
        QCOMPARE(log.countContaining(QStringLiteral("open request not made")), 1);

        // Nothing was opened, so there is nothing to save.
        QTest::ignoreMessage(QtWarningMsg, "curFilePath is empty, save project failed!");
        page->saveProject();
    }

    void missingProjectShowsTheTipAndSendsNothing()
    {
        attach();
        const QString missing = dir->filePath(QStringLiteral("gone.ptr7"));
        driver->acceptFileDialog(missing);
        driver->answerTip(1);
        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("This path not exist project file! %1").arg(missing)));
        page->openClicked();
        QCOMPARE(driver->tipTexts(), QStringList{QStringLiteral("NullFileTip")});
        QCOMPARE(opening.count(), 0);
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(0));
        QTest::ignoreMessage(QtWarningMsg, "curFilePath is empty, save project failed!");
        page->saveProject();
    }

    void openWithoutManagerOnlyLogs()
    {
        page->setHXRuntime(runtime.get());
        const QString project = makeProject(QStringLiteral("demo.ptr7"));
        driver->acceptFileDialog(project);
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is nullptr!");
        page->openClicked();
        QCOMPARE(mgr->callCount("loadProject"), std::size_t(0));
    }

    void resetShortcutAnnouncesAnOpen()
    {
        attach();
        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] { m->sigResetShortcut(); });
        QTRY_COMPARE(opening.count(), 1);
    }

    void busyDialogSwitch()
    {
        attach();
        LogCapture log;
        // Hidden: a close request changes nothing but the restore flag and logs nothing.
        page->setBlockDialogVisible(true, false);
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be close!")), 0);

        QString shownText;
        driver->onNext<vexa::widgets::BlockDialog>("busy dialog", [&](vexa::widgets::BlockDialog* dialog) {
            shownText = dialog->tipText();
            page->setBlockDialogVisible(false, false);
            page->setBlockDialogVisible(true, false);
        });
        page->setBlockDialogVisible(false, true);
        QCOMPARE(shownText, QStringLiteral("Saving"));
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be show!")), 1);
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be close!")), 2);
        page->setBlockDialogVisible(false, false);
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be close!")), 2);
    }

    void saveAnswerClosesTheBusyDialogAndAsksForSpace()
    {
        attach();
        QSignalSpy space(page.get(), &ProjectFileWidget::checkRemainSpace);
        RecordingManager* m = mgr.get();
        QTest::ignoreMessage(QtWarningMsg, "--PROJECTFILE--, project file save finish :: \"/x/y.ptr7\"");
        RecordingManager::fromForeignThread([m] { m->sigSaveFinished("/x/y.ptr7"); });
        QTRY_COMPARE(space.count(), 1);
    }

    void configurationIsStoredAndLogged()
    {
        STPluginConfig config;
        config.openDefaultPlay = true;
        config.autoSavePath = "/auto/save";
        config.timeInterval = 9;
        QTest::ignoreMessage(QtDebugMsg, "--PROJECTFILE-- isCloseTip ==  false   open default play status ==  true   "
                                         "auto open current project ==  false");
        page->setConfig(config);
        QTest::ignoreMessage(QtDebugMsg, "--PROJECTFILE-- auto save setting status ==  false   time interval ==  9   "
                                         "max save counts ==  5   auto save path ==  \"/auto/save\"");
        page->timeChanged(config);
    }

    void quittingEmitsQuitAppOnce()
    {
        QSignalSpy quits(page.get(), &ProjectFileWidget::quitApp);
        page->show();
        page->quitClicked();
        QVERIFY(!page->isVisible());
        QCOMPARE(quits.count(), 1);

        page->show();
        page->close();
        QCOMPARE(quits.count(), 2);
        QVERIFY(!page->isVisible());
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
        const QString err = QString::fromUtf8(host.readAllStandardError());

        if (slave) {
            QVERIFY2(!out.contains(QStringLiteral("loadProject")), qPrintable(out));
            QVERIFY(out.contains(QStringLiteral("visible 1")));
            return;
        }
        QVERIFY2(err.contains(QStringLiteral("QApplication::arguments()[1]: ")), qPrintable(err));
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
