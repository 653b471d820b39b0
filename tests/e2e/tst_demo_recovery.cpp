// Unsaved work and the end of the process: the demo host is killed after a
// change (SIGKILL, as by a crash or a power cut) and started again.

#include "autosavefile.h"
#include "demohost.h"
#include "demomanager.h"
#include "hosttext.h"
#include "logcapture.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "testmain.h"

#include <QtTest>
#include <QtWidgets>

#include <csignal>

using namespace vexademo;
using namespace vexa::projectfilemgr;

class TestDemoRecovery : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<vexatest::ModalDriver> driver;
    std::unique_ptr<DemoHost> host;

    QString tmp(const QString& name) const { return dir->filePath(name); }

    QString autosaveFolder() const
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/autosave");
    }

    // A project saved with no media, then a host process that adds one,
    // autosaves and is killed.
    void crashAfterAChange(const QString& project, const QString& language)
    {
        QVERIFY(writeProjectFile(project, projectFromTemplate("Show", TwoScreenTemplate)));
        QFile media(tmp("clip.bin"));
        QVERIFY(media.open(QIODevice::WriteOnly) && media.write("clip") == 4);
        media.close();
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(VEXA_CRASHHOST),
                    {QCoreApplication::applicationName(), language, project, media.fileName()});
        QVERIFY(child.waitForReadyRead(30000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("autosaved"));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    }

private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        QDir(autosaveFolder()).removeRecursively();
        dir.reset(new QTemporaryDir);
        driver.reset(new vexatest::ModalDriver);
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        host.reset();
    }

    // After the kill the next start asks, naming the project and the time:
    // Recover opens it with the change, unsaved; Discard sends the autosave to
    // the trash and opens the saved project; a damaged autosave is never
    // opened and not asked about.
    void startAfterAKill_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("how");
        QTest::newRow("recover") << "en" << "recover";
        QTest::newRow("recover, Chinese") << "zh_CN" << "recover";
        QTest::newRow("discard") << "en" << "discard";
        QTest::newRow("damaged autosave") << "en" << "damaged";
        QTest::newRow("foreign autosave") << "zh_CN" << "foreign";
    }

    void startAfterAKill()
    {
        QFETCH(QString, language);
        QFETCH(QString, how);
        const QString project = tmp("Show.ptr7");
        crashAfterAChange(project, language);
        const QString autosave = autosavePathFor(autosaveFolder(), project);
        QVERIFY(QFileInfo::exists(autosave));
        if (how == "damaged")
            QVERIFY(QFile::resize(autosave, QFileInfo(autosave).size() / 2)); // cut short
        if (how == "foreign") {
            QFile::remove(autosave);
            QVERIFY(writeProjectFile(autosave, projectFromTemplate("Planted", BlankTemplate)));
        }
        const bool asked = how == "recover" || how == "discard";
        if (asked)
            driver->answerTip(how == "recover" ? 1 : 2);
        vexatest::LogCapture log;
        host.reset(new DemoHost({language, VEXADEMO_SHARE_DIR, QString(), false, true, true}));
        host->start(false);
        QTRY_VERIFY(host->window()->isVisible() && host->manager()->isProjectOpen());
        QCOMPARE(QString::fromStdString(host->manager()->currentProjectPath()), project);
        const bool recovered = how == "recover";
        QCOMPARE(host->manager()->currentProject()->media.size(), recovered ? 1 : 0);
        QCOMPARE(host->manager()->isModified(), recovered);
        QCOMPARE(host->window()->isWindowModified(), recovered);
        QCOMPARE(host->window()->statusBar()->findChild<QLabel*>()->text(),
                 recovered ? ht("Recovered") : ht("Restored").arg("Show.ptr7"));
        if (!asked) {
            QVERIFY(driver->tipTexts().isEmpty());
            QCOMPARE(log.countContaining("autosave ignored"), 1);
            return;
        }
        const QString question = driver->tipTexts().value(0);
        QVERIFY2(question.startsWith(ht("AskRecover").section("%1", 0, 0)) && question.contains("Show.ptr7"),
                 qPrintable(question));
        QVERIFY(question.contains(QDate::currentDate().toString("yyyy.MM.dd")));
        QCOMPARE(QFileInfo::exists(autosave), recovered);
        if (!recovered) {
            const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash/files/";
            QVERIFY(QFileInfo::exists(trash + QFileInfo(autosave).fileName()));
        }
    }

    // Recovering wins over a project named on the command line, which would
    // otherwise open first, from its file.
    void recoveringWithTheProjectOnTheCommandLine()
    {
        const QString project = tmp("Show.ptr7");
        crashAfterAChange(project, "en");
        QProcess restart;
        restart.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        restart.start(QStringLiteral(VEXA_CRASHHOST), {QCoreApplication::applicationName(), "en", project, "--restart"});
        QVERIFY(restart.waitForFinished(30000));
        QCOMPARE(restart.readAllStandardOutput().trimmed(), QByteArray("media 1 modified 1"));
    }

    // The autosave follows the open project: written once changes pause,
    // gone after a clean save or close, kept while changes are unsaved.
    void theAutosaveFollowsTheProject_data()
    {
        QTest::addColumn<QString>("then");
        QTest::addColumn<bool>("kept");
        QTest::newRow("nothing") << "nothing" << true;
        QTest::newRow("save") << "save" << false;
        QTest::newRow("save as") << "save as" << false;
        QTest::newRow("close") << "close" << false;
        QTest::newRow("quit without saving") << "quit" << false;
    }

    void theAutosaveFollowsTheProject()
    {
        QFETCH(QString, then);
        QFETCH(bool, kept);
        DemoOptions options{"en", VEXADEMO_SHARE_DIR, QString(), false, false, true};
        options.autosaveQuietMs = 10;
        host.reset(new DemoHost(options));
        host->start(false);
        const QString project = tmp("Show.ptr7"), autosave = autosavePathFor(autosaveFolder(), project);
        QVERIFY(writeProjectFile(project, projectFromTemplate("Show", BlankTemplate)));
        host->manager()->loadProject(project.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        QVERIFY(host->manager()->addMedia({project}));
        QTRY_VERIFY(QFileInfo::exists(autosave));
        AutosaveRecord record;
        QVERIFY(readAutosave(autosave, record) && record.project.media.size() == 1);
        STProjectFile saveRecord;
        saveRecord.strProfilePath = (then == "save as" ? tmp("Copy.ptr7") : project).toStdString();
        if (then.startsWith("save"))
            host->manager()->writeProject(saveRecord, then == "save as");
        if (then == "close")
            host->manager()->closeProject();
        if (then == "quit")
            driver->answerTip(2); // Don't Save
        if (then == "quit")
            QVERIFY(host->requestQuit());
        host->manager()->waitIdle();
        QCOMPARE(QFileInfo::exists(autosave), kept);
        QVERIFY(!QFileInfo::exists(autosavePathFor(autosaveFolder(), tmp("Copy.ptr7"))));
    }
};

VEXA_TEST_MAIN(TestDemoRecovery)
#include "tst_demo_recovery.moc"
