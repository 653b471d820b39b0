// The new, open, save and save-as flows through the real dialogs: the name and
// extension checks, the refusals that offer the dialog again, the overwrite
// question, the host's question about unsaved work, what the manager is asked
// for, and the template a new project uses.

#include "blockdialog.h"
#include "framelessmainwindow.h"
#include "hxruntime.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

using namespace vexa::projectfilemgr;
using vexatest::ManagerCall;

namespace {

QString desktop() { return QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)).absolutePath(); }
QString onDesktop(const QString& name) { return desktop() + QLatin1Char('/') + name; }
// A name that makes a path of `length` characters on the desktop once it ends in ".ptr7".
QString nameForPath(int length) { return QString(length - desktop().size() - 6, QLatin1Char('n')); }
QString pathOf(const ManagerCall& call) { return QString::fromStdString(call.path); }

} // namespace

class TestFlows : public QObject
{
    Q_OBJECT

    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<vexatest::RecordingManager> mgr;
    std::unique_ptr<vexa::widgets::FramelessMainWindow> window;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<vexatest::ModalDriver> driver;

    void attach()
    {
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
        mgr->answerOpens(Success);
    }
    QListWidget* templates() const { return page->findChild<QListWidget*>(QStringLiteral("TemplateListWidget")); }

private Q_SLOTS:
    void initTestCase()
    {
        // The dialogs work in the desktop folder; never let that be a real user's.
        QVERIFY2(qEnvironmentVariable("HOME").contains(QStringLiteral("testhome")), "run through ctest");
        QVERIFY(QDir().mkpath(onDesktop(QStringLiteral("sub"))));
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
    }

    void init()
    {
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new vexatest::RecordingManager);
        driver.reset(new vexatest::ModalDriver);
        // The host's main window exists before the page, as in the application.
        window.reset(new vexa::widgets::FramelessMainWindow);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset(); // detaches the manager and the runtime
        window.reset();
        QFile::remove(onDesktop(QStringLiteral("taken.ptr7")));
    }

    void newAndSaveAs_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("backup");
        QTest::addColumn<int>("existing"); // 1: taken.ptr7 exists; 2: it is the current project, not on disk
        QTest::addColumn<QString>("tip");  // after a refusal the dialog comes again and takes "good"
        QTest::addColumn<int>("answer");   // 0 close, 1 confirm, 2 cancel
        QTest::addColumn<QString>("written"); // on the desktop unless absolute; empty: nothing asked
        const auto ok = [](const char* row, const QString& typed, const QString& written, int backup = -1) {
            QTest::newRow(row) << false << typed << backup << 0 << QString() << 0 << written;
        };
        const auto refused = [](const char* row, const QString& typed, int backup = -1) {
            QTest::newRow(row) << false << typed << backup << 0 << "FileNameTip" << 0 << "good.ptr7";
        };
        ok("plain name", "demo", "demo.ptr7");
        ok("ptr7 without its dot", "abcptr7", "abcptr7.ptr7");
        ok("extension in capitals", "demo.PTR7", "demo.PTR7");
        ok("dots and colons inside", "a.b:c", "a.b:c.ptr7");
        ok("non-ASCII", QStringLiteral("演示 项目"), QStringLiteral("演示 项目.ptr7"));
        ok("existing sub-folder", "sub/demo", "sub/demo.ptr7");
        ok("in the root folder", "/vexa-root-check", "/vexa-root-check.ptr7");
        ok("path of 259", nameForPath(259) + ".ptr7", nameForPath(259) + ".ptr7");
        ok("259 once the extension is added", nameForPath(259), nameForPath(259) + ".ptr7");
        ok("name of 55, backup path of 200", QString(50, QLatin1Char('n')) + ".ptr7",
           QString(50, QLatin1Char('n')) + ".ptr7", 200);
        refused("leading dot", ".demo");
        refused("only spaces", "   ");
        refused("spaces and the extension", "  .ptr7");
        refused("missing sub-folder", "new/demo");
        refused("backslash", "a\\b");
        refused("vertical bar", "a|b");
        refused("less-than", "a<b");
        refused("path of 260", nameForPath(260) + ".ptr7");
        refused("260 once the extension is added", nameForPath(260));
        refused("name of 56, backup path of 200", QString(51, QLatin1Char('n')) + ".ptr7", 200);
        // As long as the name field takes, through folders that do not exist.
        refused("pasted path", QStringLiteral("a/").repeated(16383) + "x");
        QTest::newRow("folder without write permission")
            << false << "/proc/self/demo" << -1 << 0 << "NoPermission" << 0 << "good.ptr7";
        for (const bool saveAs : {false, true})
            for (const int answer : {0, 1, 2, vexatest::ModalDriver::EnterKey}) // Enter: the file stays
                QTest::addRow("%s over a file, answer %d", saveAs ? "save-as" : "new", answer)
                    << saveAs << "taken" << -1 << 1 << "WhetherCover" << answer << (answer == 1 ? "taken.ptr7" : "");
        QTest::newRow("new over the current project") << false << "taken" << -1 << 2 << "WhetherCover" << 2 << "";
        QTest::newRow("save-as over the current project") << true << "taken" << -1 << 2 << "" << 0 << "taken.ptr7";
    }

    void newAndSaveAs()
    {
        QFETCH(bool, saveAs);
        QFETCH(QString, typed);
        QFETCH(int, backup);
        QFETCH(int, existing);
        QFETCH(QString, tip);
        QFETCH(int, answer);
        QFETCH(QString, written);
        if (written.startsWith(QLatin1Char('/')) && !QFileInfo(QStringLiteral("/")).isWritable())
            QSKIP("only the superuser may create files in the root folder");
        page->setBackupPathLength(backup);
        attach();
        if (existing == 1)
            QVERIFY(!vexatest::makeFile(onDesktop(QStringLiteral("taken.ptr7"))).isEmpty());
        if (existing == 2) {
            driver->acceptFileDialog(typed);
            page->newClicked();
            mgr->clearCalls();
        }
        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        driver->acceptFileDialog(typed);
        if (!tip.isEmpty())
            driver->answerTip(answer);
        if (tip == QLatin1String("FileNameTip") || tip == QLatin1String("NoPermission"))
            driver->acceptFileDialog(QStringLiteral("good"));
        saveAs ? page->saveAsProject() : page->newClicked();

        QCOMPARE(driver->tipTexts(), tip.isEmpty() ? QStringList() : QStringList(tip));
        const std::vector<ManagerCall> calls = mgr->calls();
        QCOMPARE(calls.size(), std::size_t(written.isEmpty() ? 0 : 1));
        QCOMPARE(newProjects.count(), !saveAs && !written.isEmpty() ? 1 : 0);
        // The answer named the project and closed the busy dialog before the call returned.
        QCOMPARE(names.count(), newProjects.count());
        QVERIFY(!page->findChild<vexa::widgets::BlockDialog*>()->isVisible());
        if (written.isEmpty())
            return;
        QCOMPARE(calls[0].name, std::string(saveAs ? "writeProject" : "createProject"));
        QCOMPARE(pathOf(calls[0]), QDir::isAbsolutePath(written) ? written : onDesktop(written));
        QCOMPARE(calls[0].mode, 1); // the blank template when none was chosen; the save-as flag
        QCOMPARE(calls[0].thread, runtime->threadId());
    }

    void unsavedWorkQuestionCanStopEveryReplacement()
    {
        attach();
        const QString listed = vexatest::makeFile(onDesktop(QStringLiteral("listed.ptr7")));
        QVERIFY(vexatest::writeListFile(vexatest::listOf({vexatest::listEntry(listed)})));
        page->run(); // the start page with its recent list
        auto* recent = page->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
        int asked = 0;
        bool replace = false;
        page->setReplaceGuard([&] { ++asked; return replace; });
        for (int entry = 0; entry < 3; ++entry) // were dialogs to come anyway, they end here and are counted
            driver->rejectFileDialog();
        page->openClicked();
        page->newClicked();
        page->templateItemDoubleClicked(templates()->item(0));
        page->slotItemDoubleClicked(recent->item(0));
        QCOMPARE(asked, 4);
        QCOMPARE(driver->handled(), 0);
        QCOMPARE(mgr->calls().size(), std::size_t(0));
        driver.reset(new vexatest::ModalDriver);

        replace = true;
        page->slotItemDoubleClicked(recent->item(0));
        QTRY_COMPARE(pathOf(mgr->lastCall("loadProject")), listed);
    }

    void dialogsAreSetUpBlockActivationAndCancelling()
    {
        attach();
        QList<bool> activation;
        const auto expect = [this, &activation](const char* title, const char* filter, QFileDialog::AcceptMode mode) {
            return [=, &activation](QFileDialog* dialog) {
                activation << window->isActivateEnabled();
                dialog->reject();
                QCOMPARE(dialog->windowTitle(), QLatin1String(title));
                QCOMPARE(dialog->nameFilters(), QStringList(QLatin1String(filter)));
                QCOMPARE(dialog->acceptMode(), mode);
                QCOMPARE(dialog->directory().absolutePath(), desktop());
                // Qt's own dialog, so the host's style sheet reaches it; the page asks about overwriting.
                QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
                QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
                QStringList labels;
                for (int label = QFileDialog::FileName; label <= QFileDialog::Reject; ++label)
                    labels << dialog->labelText(QFileDialog::DialogLabel(label));
                QCOMPARE(labels, QStringList({"Name", "FileType", "OK", "Cancel"}));
                // A save proposes "project" and the time of the call.
                static const QRegularExpression proposal(QStringLiteral("^project(-\\d\\d){5}$"));
                const QString proposed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
                QVERIFY2(mode == QFileDialog::AcceptOpen || proposal.match(proposed).hasMatch(), qPrintable(proposed));
            };
        };
        driver->onNext<QFileDialog>("new", expect("ChooseSaveDir", "file(*.ptr7)", QFileDialog::AcceptSave));
        // A dialog opened right after another stays without activation past the other's delay.
        driver->onNext<QFileDialog>("save-as", [&expect](QFileDialog* dialog) {
            QTest::qWait(150);
            expect("ChooseSaveDir", "file(*.ptr7)", QFileDialog::AcceptSave)(dialog);
        });
        driver->onNext<QFileDialog>("open", expect("ChooseFile", "*.ptr7", QFileDialog::AcceptOpen));
        page->newClicked();
        page->saveAsProject();
        // Off while the dialogs run and back on a little later, so the closing dialog does not hand the
        // focus to the main window.
        QCOMPARE(activation, QList<bool>({false, false}));
        QVERIFY(!window->isActivateEnabled());
        QTRY_VERIFY(window->isActivateEnabled());
        page->openClicked();
        QCOMPARE(mgr->calls().size(), std::size_t(0));
    }

    void proposalWithoutADesktopFolderLandsInTheHomeFolder()
    {
        attach();
        const QString away = desktop() + QStringLiteral("-away");
        QVERIFY(QDir().rename(desktop(), away));
        driver->onNext<QFileDialog>("as proposed", [](QFileDialog* d) { static_cast<QDialog*>(d)->accept(); });
        page->newClicked();
        QVERIFY(QDir().rename(away, desktop()));
        const QString created = pathOf(mgr->lastCall("createProject"));
        QVERIFY2(created.startsWith(QDir::homePath() + QStringLiteral("/project-")), qPrintable(created));
    }

    void savesCarryThePathAndTheThumbnailFolder()
    {
        attach();
        const QString imageFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Image/");
        QDir(imageFolder).removeRecursively();
        driver->acceptFileDialog(QStringLiteral("current"));
        page->newClicked();
        page->saveProject();
        const ManagerCall save = mgr->lastCall("writeProject");
        QCOMPARE(pathOf(save), onDesktop(QStringLiteral("current.ptr7")));
        QCOMPARE(save.mode, 0);
        QCOMPARE(QString::fromStdString(save.record.strImagePath), imageFolder);
        QVERIFY(QDir(imageFolder).exists());
        QCOMPARE(save.thread, runtime->threadId());

        // Save-as writes elsewhere and leaves the current project as it was.
        driver->acceptFileDialog(QStringLiteral("copy"));
        page->saveAsProject();
        page->saveProject();
        QCOMPARE(pathOf(mgr->lastCall("writeProject")), onDesktop(QStringLiteral("current.ptr7")));
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(3));
    }

    void refusedOrMissingManagerLeavesNoProjectBehind_data()
    {
        QTest::addColumn<bool>("withManager"); // with it, the runtime refuses the call
        QTest::newRow("runtime refuses") << true;
        QTest::newRow("no manager") << false;
    }

    void refusedOrMissingManagerLeavesNoProjectBehind()
    {
        QFETCH(bool, withManager);
        page->setHXRuntime(runtime.get());
        if (withManager)
            page->setProjectFileMgr(mgr.get());
        runtime->setCallable(!withManager);
        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        // A save or package that cannot be asked for is told, not only logged.
        if (!withManager)
            driver->answerTip(1);
        page->saveProject(); // with a manager, nothing is open yet: only logged
        driver->acceptFileDialog(QStringLiteral("demo"));
        page->newClicked(); // returns: a busy dialog here would wait for an answer that never comes
        // The host hears of the new project before the page finds it cannot ask for one.
        QCOMPARE(newProjects.count(), 1);
        if (withManager) // without one there is no dialog: its answer could go nowhere
            driver->acceptFileDialog(QStringLiteral("copy"));
        driver->answerTip(1);
        page->saveAsProject();
        if (!withManager) {
            driver->answerTip(1);
            page->packageProject();
        }
        const QStringList told{"SaveHostUnavailable", "SaveHostUnavailable", "PackageHostUnavailable"};
        QCOMPARE(driver->tipTexts(), told.mid(0, withManager ? 1 : 3));

        // The refused project did not become the current one: a save has nothing to write.
        runtime->setCallable(true);
        page->setProjectFileMgr(mgr.get());
        page->saveProject();
        QCOMPARE(mgr->calls().size(), std::size_t(0));
    }

    void newProjectAsksForTheChosenTemplate()
    {
        attach();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        auto* newButton = page->findChild<QAbstractButton*>(QStringLiteral("new"));
        const auto tile = [this](int row) {
            QWidget* widget = templates()->itemWidget(templates()->item(row));
            return widget->mapTo(page.get(), widget->rect().center());
        };
        const auto modeAfter = [&](const std::function<void()>& action) {
            driver->acceptFileDialog(QStringLiteral("t%1").arg(mgr->calls().size()));
            action();
            return mgr->lastCall("createProject").mode;
        };
        const auto clickNew = [newButton] { newButton->click(); };
        QCOMPARE(modeAfter(clickNew), 1);
        QCOMPARE(modeAfter([&] { QTest::mouseDClick(page->windowHandle(), Qt::LeftButton, {}, tile(2)); }), 3);
        QCOMPARE(modeAfter(clickNew), 3); // the choice stays for the new button
        QTest::mouseClick(page->windowHandle(), Qt::LeftButton, {}, tile(1)); // a single click chooses too
        QCOMPARE(modeAfter(clickNew), 2);
    }
};

VEXA_TEST_MAIN(TestFlows)
#include "tst_flows.moc"
