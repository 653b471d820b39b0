// The open, new, save and save-as flows driven through the real file dialogs:
// the name checks, the overwrite question, the requests the manager receives
// and the main window's activation around the dialogs.

#include "blockdialog.h"
#include "framelessmainwindow.h"
#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>
#include <memory>
#include <unistd.h>

using namespace vexa::projectfilemgr;
using vexa::widgets::BlockDialog;
using vexa::widgets::FramelessMainWindow;
using vexa::widgets::TipDialog;
using vexatest::LogCapture;
using vexatest::ManagerCall;
using vexatest::ModalDriver;
using vexatest::RecordingManager;

namespace {

QString desktop()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)).absolutePath();
}

QString onDesktop(const QString& name)
{
    return desktop() + QLatin1Char('/') + name;
}

QString imageFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Image/");
}

// The name a save dialog proposes: the word "project" and the time of the call.
bool isProposedName(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^project-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"));
    return pattern.match(text).hasMatch();
}

QString lineEditText(QFileDialog* dialog)
{
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    return edit ? edit->text() : QString();
}

void typeAndAccept(QFileDialog* dialog, const QString& name)
{
    if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        edit->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

// A name of `length` characters, extension included.
QString nameOfLength(int length)
{
    return QString(length - 5, QLatin1Char('n')) + QStringLiteral(".ptr7");
}

} // namespace

class TestFlows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<FramelessMainWindow> window;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<ModalDriver> driver;
    QStringList madeFiles;

    BlockDialog* blockDialog() const { return page->findChild<BlockDialog*>(); }

    void attach()
    {
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
    }

    QString makeFile(const QString& path)
    {
        madeFiles << path;
        return vexatest::makeFile(path);
    }

    void expectOnlyCallsOnTheRuntimeThread()
    {
        for (const ManagerCall& call : mgr->calls())
            QVERIFY2(call.thread == runtime->threadId(), call.name.c_str());
    }

private Q_SLOTS:
    void initTestCase()
    {
        // The dialogs work in the desktop folder; never let that be a real user's.
        QVERIFY2(qEnvironmentVariable("HOME").contains(QStringLiteral("testhome")),
                 "run through ctest, which gives the suite a private home");
        QVERIFY(QDir().mkpath(desktop()));
        QVERIFY(QDir().mkpath(onDesktop(QStringLiteral("sub"))));
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
    }

    void init()
    {
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new ModalDriver);
        // The host's main window exists before the page, as in the application.
        window.reset(new FramelessMainWindow);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
        page.reset();
        window.reset();
        driver.reset();
        mgr.reset();
        runtime.reset();
        for (const QString& path : madeFiles)
            QFile::remove(path);
        madeFiles.clear();
    }

    void nameCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("pathLength"); // > 0: type a full path of this length instead
        QTest::addColumn<bool>("typeExtension");
        QTest::addColumn<int>("backup");
        QTest::addColumn<QString>("created"); // relative to the desktop unless absolute; empty when refused

        QTest::newRow("plain name") << "demo" << 0 << false << -1 << "demo.ptr7";
        QTest::newRow("ptr7 without its dot") << "abcptr7" << 0 << false << -1 << "abcptr7.ptr7";
        QTest::newRow("extension typed") << "show.ptr7" << 0 << false << -1 << "show.ptr7";
        QTest::newRow("dots and colons inside") << "a.b:c" << 0 << false << -1 << "a.b:c.ptr7";
        QTest::newRow("non-ASCII") << QStringLiteral("演示 项目") << 0 << false << -1 << QStringLiteral("演示 项目.ptr7");
        QTest::newRow("existing sub-folder") << "sub/demo" << 0 << false << -1 << "sub/demo.ptr7";
        QTest::newRow("full path of 259") << "" << 259 << true << -1 << "*";
        QTest::newRow("259 once the extension is added") << "" << 259 << false << -1 << "*";
        QTest::newRow("name of 55, backup 200") << nameOfLength(55) << 0 << false << 200 << nameOfLength(55);
        QTest::newRow("extension in capitals") << "demo.PTR7" << 0 << false << -1 << "demo.PTR7";
        QTest::newRow("in the root folder") << "/vexa-root-check" << 0 << false << -1 << "/vexa-root-check.ptr7";

        QTest::newRow("leading dot") << ".demo" << 0 << false << -1 << "";
        QTest::newRow("only spaces") << "   " << 0 << false << -1 << "";
        QTest::newRow("spaces and the extension") << "  .ptr7" << 0 << false << -1 << "";
        QTest::newRow("missing sub-folder") << "new/demo" << 0 << false << -1 << "";
        QTest::newRow("backslash") << "a\\b" << 0 << false << -1 << "";
        QTest::newRow("vertical bar") << "a|b" << 0 << false << -1 << "";
        QTest::newRow("less-than") << "a<b" << 0 << false << -1 << "";
        QTest::newRow("full path of 260") << "" << 260 << true << -1 << "";
        QTest::newRow("260 once the extension is added") << "" << 260 << false << -1 << "";
        QTest::newRow("name of 56, backup 200") << nameOfLength(56) << 0 << false << 200 << "";
        // As long as the name field takes, through folders that do not exist.
        QTest::newRow("pasted path") << QStringLiteral("a/").repeated(16383) + QStringLiteral("x") << 0 << false << -1
                                     << "";
    }

    void nameCheck()
    {
        QFETCH(QString, typed);
        QFETCH(int, pathLength);
        QFETCH(bool, typeExtension);
        QFETCH(int, backup);
        QFETCH(QString, created);
        if (pathLength > 0) {
            const int nameLength = pathLength - desktop().size() - 1 - (typeExtension ? 0 : 5);
            if (nameLength < 6 || nameLength > 250)
                QSKIP("the desktop folder's path leaves no room for a name of this length");
            typed = QString(nameLength - (typeExtension ? 5 : 0), QLatin1Char('n')) +
                    (typeExtension ? QStringLiteral(".ptr7") : QString());
            if (created == QLatin1String("*"))
                created = typeExtension ? typed : typed + QStringLiteral(".ptr7");
            QCOMPARE(onDesktop(typeExtension ? typed : typed + QStringLiteral(".ptr7")).size(), pathLength);
        }
        const bool accepted = !created.isEmpty();
        if (QDir::isAbsolutePath(created) && !QFileInfo(QStringLiteral("/")).isWritable())
            QSKIP("only the superuser may create files in the root folder");
        const QString createdPath = QDir::isAbsolutePath(created) ? created : onDesktop(created);
        page->setBackupPathLength(backup);
        attach();
        mgr->answerOpens(Success, "createProject");

        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        QString offeredAgain;
        driver->acceptFileDialog(typed);
        if (!accepted) {
            driver->answerTip(1);
            driver->onNext<QFileDialog>("the dialog again", [&](QFileDialog* dialog) {
                offeredAgain = lineEditText(dialog);
                dialog->reject();
            });
        }
        LogCapture log;
        page->newClicked();

        if (accepted) {
            QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
            QCOMPARE(QString::fromStdString(mgr->lastCall("createProject").path), createdPath);
            QCOMPARE(newProjects.count(), 1);
            QVERIFY(driver->tipTexts().isEmpty());
            // The answer closed the busy dialog and named the project.
            QCOMPARE(names.count(), 1);
            QCOMPARE(names.at(0).at(0).toString(), QFileInfo(createdPath).fileName());
            QVERIFY(!blockDialog()->isVisible());
            expectOnlyCallsOnTheRuntimeThread();
        } else {
            QCOMPARE(mgr->calls().size(), std::size_t(0));
            QCOMPARE(newProjects.count(), 0);
            QCOMPARE(driver->tipTexts(), QStringList{QStringLiteral("FileNameTip")});
            const QStringList refusals =
                log.lines().filter(QStringLiteral(" :fileName have illegal character"));
            QCOMPARE(refusals.size(), 1);
            // The refused name is logged with its extension.
            QVERIFY(refusals.first().endsWith(QStringLiteral(".ptr7\"  :fileName have illegal character")));
            QVERIFY2(isProposedName(offeredAgain), qPrintable(offeredAgain));
            QCOMPARE(log.count(QStringLiteral("open select file dialog failure!")), 1);
        }
    }

    void checkLogsTheNameAndThePath()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        driver->acceptFileDialog(QStringLiteral(".hidden"));
        driver->answerTip(1);
        driver->acceptFileDialog(QStringLiteral("demo"));
        QTest::ignoreMessage(QtDebugMsg, "file name is : \".hidden\"");
        QTest::ignoreMessage(QtWarningMsg, "\".hidden.ptr7\"  :fileName have illegal character");
        QTest::ignoreMessage(QtDebugMsg, "file name is : \"demo\"");
        QTest::ignoreMessage(
            QtDebugMsg, qPrintable(QStringLiteral("new project file path is  \"%1\"").arg(onDesktop("demo.ptr7"))));
        page->newClicked();
        QCOMPARE(mgr->callCount("createProject"), std::size_t(1));

        driver->acceptFileDialog(QStringLiteral("copy"));
        QTest::ignoreMessage(QtDebugMsg, "file name is : \"copy\"");
        QTest::ignoreMessage(
            QtDebugMsg, qPrintable(QStringLiteral("saveAs project file path is  \"%1\"").arg(onDesktop("copy.ptr7"))));
        page->saveAsProject();
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(1));
    }

    void unwritableFolderIsRefused_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("process folder") << false;
    }

    void unwritableFolderIsRefused()
    {
        QFETCH(bool, readOnlyFolder);
        QString folder = QStringLiteral("/proc/self");
        QDir readOnly(onDesktop(QStringLiteral("readonly")));
        if (readOnlyFolder) {
            if (geteuid() == 0)
                QSKIP("the superuser writes into read-only folders; the process-folder row covers the refusal");
            QVERIFY(QDir().mkpath(readOnly.path()));
            QVERIFY(QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::ExeOwner));
            folder = readOnly.path();
        }
        // The folder really takes no new file.
        QFile probe(folder + QStringLiteral("/probe"));
        QVERIFY(!probe.open(QIODevice::WriteOnly));

        attach();
        mgr->answerOpens(Success, "createProject");
        driver->acceptFileDialog(folder + QStringLiteral("/demo"));
        driver->answerTip(1);
        driver->acceptFileDialog(QStringLiteral("good"));
        LogCapture log;
        page->newClicked();
        if (readOnlyFolder) {
            QFile::setPermissions(readOnly.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            readOnly.removeRecursively();
        }

        QCOMPARE(driver->tipTexts(), QStringList{QStringLiteral("NoPermission")});
        QCOMPARE(log.count(QStringLiteral(" This Dir have no permission!")), 1);
        QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
        QCOMPARE(QString::fromStdString(mgr->lastCall("createProject").path), onDesktop("good.ptr7"));
    }

    void overwriteDeclinedSendsNothing_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::addColumn<bool>("existingFile"); // else the current project's own path, missing on disk
        QTest::addColumn<int>("answer");
        QTest::newRow("new, existing file, cancelled") << false << true << 2;
        QTest::newRow("new, existing file, closed") << false << true << 0;
        QTest::newRow("new, own path missing on disk") << false << false << 2;
        QTest::newRow("save-as, existing file") << true << true << 2;
    }

    void overwriteDeclinedSendsNothing()
    {
        QFETCH(bool, saveAs);
        QFETCH(bool, existingFile);
        QFETCH(int, answer);
        attach();
        mgr->answerOpens(Success, "createProject");
        const QString name = QStringLiteral("taken");
        if (existingFile) {
            QVERIFY(!makeFile(onDesktop("taken.ptr7")).isEmpty());
        } else {
            driver->acceptFileDialog(name);
            page->newClicked();
            QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
            QVERIFY(!QFileInfo::exists(onDesktop("taken.ptr7")));
            mgr->clearCalls();
        }

        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        QSignalSpy opened(page.get(), &ProjectFileWidget::modifyProjectName);
        driver->acceptFileDialog(name);
        driver->answerTip(answer);
        LogCapture log;
        if (saveAs)
            page->saveAsProject();
        else
            page->newClicked();

        QCOMPARE(driver->tipTexts(), QStringList{QStringLiteral("WhetherCover")});
        QCOMPARE(mgr->calls().size(), std::size_t(0));
        QCOMPARE(newProjects.count(), 0);
        QCOMPARE(opened.count(), 0);
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be show!")), 0);
    }

    void overwriteConfirmedGoesAhead_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("new") << false;
        QTest::newRow("save-as") << true;
    }

    void overwriteConfirmedGoesAhead()
    {
        QFETCH(bool, saveAs);
        attach();
        mgr->answerOpens(Success, "createProject");
        const QString path = makeFile(onDesktop("taken.ptr7"));
        QVERIFY(!path.isEmpty());

        int kind = -1;
        QStringList buttons;
        driver->acceptFileDialog(QStringLiteral("taken"));
        driver->onNext<TipDialog>("overwrite question", [&](TipDialog* tip) {
            kind = tip->tipType();
            for (const char* name : {"tipConfirmButton", "tipCancelButton", "tipThirdButton"}) {
                auto* button = tip->findChild<QAbstractButton*>(QLatin1String(name));
                buttons << (button && !button->isHidden() ? button->text() : QString());
            }
            tip->findChild<QAbstractButton*>(QStringLiteral("tipConfirmButton"))->click();
        });
        if (saveAs)
            page->saveAsProject();
        else
            page->newClicked();

        QCOMPARE(kind, int(vexa::widgets::TipQuestion));
        QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel"), QString()}));
        const ManagerCall call = mgr->lastCall(saveAs ? "writeProject" : "createProject");
        QCOMPARE(QString::fromStdString(call.path), path);
        QCOMPARE(call.thread, runtime->threadId());
    }

    void templateOneWhenNoneWasChosen()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        driver->acceptFileDialog(QStringLiteral("blank"));
        page->newClicked();
        QCOMPARE(mgr->lastCall("createProject").mode, 1);
    }

    void proposedNameWorksWithoutADesktopFolder()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        const QString renamed = desktop() + QStringLiteral("-away");
        QVERIFY(QDir().rename(desktop(), renamed));
        // Accept the dialog's own proposal as it stands.
        driver->onNext<QFileDialog>("file dialog", [](QFileDialog* dialog) { static_cast<QDialog*>(dialog)->accept(); });
        page->newClicked();
        QVERIFY(QDir().rename(renamed, desktop()));
        const QString created = QString::fromStdString(mgr->lastCall("createProject").path);
        QVERIFY2(created.startsWith(QDir::homePath() + QStringLiteral("/project-")), qPrintable(created));
        QVERIFY(created.endsWith(QStringLiteral(".ptr7")));
        QCOMPARE(driver->tipTexts(), QStringList());
    }

    void createAnswerClosesTheBusyDialogInsideTheCall()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        QSignalSpy names(page.get(), &ProjectFileWidget::modifyProjectName);
        QWidget* modalDuringAnswer = nullptr;
        connect(page.get(), &ProjectFileWidget::modifyProjectName, this,
                [&] { modalDuringAnswer = QApplication::activeModalWidget(); });
        driver->acceptFileDialog(QStringLiteral("fresh"));
        page->newClicked(); // returns once the answer has closed the busy dialog

        QCOMPARE(names.count(), 1);
        QCOMPARE(names.at(0).at(0).toString(), QStringLiteral("fresh.ptr7"));
        QCOMPARE(modalDuringAnswer, static_cast<QWidget*>(blockDialog()));
        QVERIFY(!blockDialog()->isVisible());
        QCOMPARE(mgr->openFinishReceivedCount(), 1);
        // The new project is the current one: a save writes it.
        page->saveProject();
        QCOMPARE(QString::fromStdString(mgr->lastCall("writeProject").path), onDesktop("fresh.ptr7"));
        expectOnlyCallsOnTheRuntimeThread();
    }

    void refusedCreateLeavesNoBusyDialogBehind()
    {
        attach();
        runtime->setCallable(false);
        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        driver->acceptFileDialog(QStringLiteral("demo"));
        LogCapture log;
        page->newClicked(); // must return: no answer will ever come
        QCOMPARE(newProjects.count(), 1);
        QCOMPARE(mgr->callCount("createProject"), std::size_t(0));
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be show!")), 0);
        QCOMPARE(log.countContaining(QStringLiteral("create request not made")), 1);

        // Nothing was created, so there is nothing to save.
        runtime->setCallable(true);
        QTest::ignoreMessage(QtWarningMsg, "curFilePath is empty, save project failed!");
        page->saveProject();
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(0));
    }

    void saveRequestsCarryThePathAndTheThumbnailFolder()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        QDir(imageFolder()).removeRecursively();

        QTest::ignoreMessage(QtWarningMsg, "curFilePath is empty, save project failed!");
        page->saveProject();
        QCOMPARE(mgr->calls().size(), std::size_t(0));

        driver->acceptFileDialog(QStringLiteral("current"));
        page->newClicked();
        page->saveProject();
        ManagerCall save = mgr->lastCall("writeProject");
        QCOMPARE(QString::fromStdString(save.path), onDesktop("current.ptr7"));
        QCOMPARE(save.mode, 0);
        QCOMPARE(QString::fromStdString(save.record.strImagePath), imageFolder());
        QVERIFY(QDir(imageFolder()).exists());
        QVERIFY(!save.record.isPackage);

        // Save-as writes elsewhere and leaves the current project as it was.
        driver->acceptFileDialog(QStringLiteral("copy"));
        page->saveAsProject();
        save = mgr->lastCall("writeProject");
        QCOMPARE(QString::fromStdString(save.path), onDesktop("copy.ptr7"));
        QCOMPARE(save.mode, 1);
        QCOMPARE(QString::fromStdString(save.record.strImagePath), imageFolder());
        page->saveProject();
        QCOMPARE(QString::fromStdString(mgr->lastCall("writeProject").path), onDesktop("current.ptr7"));

        // Only an existing file makes save-as ask.
        driver->acceptFileDialog(QStringLiteral("current"));
        page->saveAsProject();
        QCOMPARE(mgr->lastCall("writeProject").mode, 1);
        QVERIFY(driver->tipTexts().isEmpty());
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(4));
        QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
        expectOnlyCallsOnTheRuntimeThread();
    }

    void withoutManagerNothingIsSent()
    {
        page->setHXRuntime(runtime.get());
        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        LogCapture log;
        page->saveProject();
        QCOMPARE(log.count(QStringLiteral("new projectFile failed!")), 1);

        driver->acceptFileDialog(QStringLiteral("demo"));
        page->newClicked();
        // The host hears of the new project before the page finds it cannot ask for one.
        QCOMPARE(newProjects.count(), 1);
        QCOMPARE(log.count(QStringLiteral("new projectFile failed!")), 2);
        QCOMPARE(log.count(QStringLiteral("projectFile blockDialog will be show!")), 0);

        driver->acceptFileDialog(QStringLiteral("demo"));
        page->saveAsProject();
        QCOMPARE(log.count(QStringLiteral("projectFileMgr is nullptr!")), 1);
        QCOMPARE(mgr->calls().size(), std::size_t(0));

        // The refused new project did not become the current one.
        page->setProjectFileMgr(mgr.get());
        page->saveProject();
        QCOMPARE(log.count(QStringLiteral("curFilePath is empty, save project failed!")), 1);
    }

    void cancelledDialogsSendNothing()
    {
        attach();
        QSignalSpy newProjects(page.get(), &ProjectFileWidget::newProject);
        QSignalSpy opening(page.get(), &ProjectFileWidget::openProject);
        driver->rejectFileDialog();
        driver->rejectFileDialog();
        driver->rejectFileDialog();
        LogCapture log;
        page->newClicked();
        page->saveAsProject();
        page->openClicked();
        QCOMPARE(driver->fileDialogTitles(), (QStringList{QStringLiteral("ChooseSaveDir"),
                                                          QStringLiteral("ChooseSaveDir"), QStringLiteral("ChooseFile")}));
        QCOMPARE(log.count(QStringLiteral("open select file dialog failure!")), 2);
        QCOMPARE(log.count(QStringLiteral("projectFile path is empty!")), 1);
        QCOMPARE(mgr->calls().size(), std::size_t(0));
        QCOMPARE(newProjects.count(), 0);
        QCOMPARE(opening.count(), 0);
    }

    void fileDialogsAreSetUp()
    {
        attach();
        struct Seen {
            QString title, proposed;
            QStringList labels, filters;
            QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
            QFileDialog::FileMode fileMode = QFileDialog::Directory;
            QFileDialog::ViewMode viewMode = QFileDialog::List;
            QString directory;
            bool native = true, confirmsOverwrite = true, acceptsDrops = true;
        };
        auto look = [](Seen& seen) {
            return [&seen](QFileDialog* dialog) {
                seen.title = dialog->windowTitle();
                seen.proposed = lineEditText(dialog);
                for (auto label : {QFileDialog::FileName, QFileDialog::FileType, QFileDialog::Reject, QFileDialog::Accept})
                    seen.labels << dialog->labelText(label);
                seen.filters = dialog->nameFilters();
                seen.acceptMode = dialog->acceptMode();
                seen.fileMode = dialog->fileMode();
                seen.viewMode = dialog->viewMode();
                seen.directory = dialog->directory().absolutePath();
                seen.native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
                seen.confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                seen.acceptsDrops = dialog->acceptDrops();
                dialog->reject();
            };
        };
        Seen save, open;
        driver->onNext<QFileDialog>("save dialog", look(save));
        page->saveAsProject();
        driver->onNext<QFileDialog>("open dialog", look(open));
        page->openClicked();

        const QStringList labels{QStringLiteral("Name"), QStringLiteral("FileType"), QStringLiteral("Cancel"),
                                 QStringLiteral("OK")};
        QCOMPARE(save.title, QStringLiteral("ChooseSaveDir"));
        QCOMPARE(save.labels, labels);
        QCOMPARE(save.filters, QStringList{QStringLiteral("file(*.ptr7)")});
        QCOMPARE(save.acceptMode, QFileDialog::AcceptSave);
        QCOMPARE(save.directory, desktop());
        QVERIFY2(isProposedName(save.proposed), qPrintable(save.proposed));

        QCOMPARE(open.title, QStringLiteral("ChooseFile"));
        QCOMPARE(open.labels, labels);
        QCOMPARE(open.filters, QStringList{QStringLiteral("*.ptr7")});
        QCOMPARE(open.acceptMode, QFileDialog::AcceptOpen);
        QCOMPARE(open.fileMode, QFileDialog::AnyFile);
        QCOMPARE(open.directory, desktop());

        for (const Seen* seen : {&save, &open}) {
            QCOMPARE(seen->viewMode, QFileDialog::Detail);
            QVERIFY(!seen->native);
            QVERIFY(!seen->confirmsOverwrite);
            QVERIFY(!seen->acceptsDrops);
        }
    }

    void activationIsOffWhileTheDialogsRun()
    {
        attach();
        mgr->answerOpens(Success, "createProject");
        QVERIFY(window->isActivateEnabled());
        QList<bool> enabledDuring;
        driver->onNext<QFileDialog>("first dialog", [&](QFileDialog* dialog) {
            enabledDuring << window->isActivateEnabled();
            typeAndAccept(dialog, QStringLiteral(".bad"));
        });
        int refusalKind = -1;
        driver->onNext<TipDialog>("refusal", [&](TipDialog* tip) {
            enabledDuring << window->isActivateEnabled();
            refusalKind = tip->tipType();
            tip->close();
        });
        driver->onNext<QFileDialog>("second dialog", [&](QFileDialog* dialog) {
            enabledDuring << window->isActivateEnabled();
            dialog->reject();
        });
        page->newClicked();
        QCOMPARE(enabledDuring, (QList<bool>{false, false, false}));
        QCOMPARE(refusalKind, int(vexa::widgets::TipMessage));
        // Back on a little later, so the closing dialog does not hand the focus to the main window.
        QVERIFY(!window->isActivateEnabled());
        QTRY_VERIFY(window->isActivateEnabled());

        driver->acceptFileDialog(QStringLiteral("demo"));
        page->newClicked();
        QTRY_VERIFY(window->isActivateEnabled());
        QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
    }

    void saveAnswerClosesTheHostsBusyDialog()
    {
        attach();
        QSignalSpy space(page.get(), &ProjectFileWidget::checkRemainSpace);
        QString shownText;
        RecordingManager* m = mgr.get();
        driver->onNext<BlockDialog>("busy dialog", [&](BlockDialog* dialog) {
            shownText = dialog->tipText();
            RecordingManager::fromForeignThread([m] { m->sigSaveFinished("/x/saved.ptr7"); });
        });
        QTest::ignoreMessage(QtWarningMsg, "--PROJECTFILE--, project file save finish :: \"/x/saved.ptr7\"");
        page->setBlockDialogVisible(false, true); // the host shows "Saving"; returns once the answer closed it
        QCOMPARE(shownText, QStringLiteral("Saving"));
        QCOMPARE(space.count(), 1);
        QVERIFY(!blockDialog()->isVisible());
    }
};

VEXA_TEST_MAIN(TestFlows)
#include "tst_flows.moc"
