// Packaging as the start page runs it: request, the host's answers, the
// package folders, the record handed to the host, and the finish report.

#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "packagepage.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace vexa::projectfilemgr;
using vexatest::LogCapture;
using vexatest::ManagerCall;
using vexatest::ModalDriver;
using vexatest::RecordingManager;

Q_DECLARE_METATYPE(std::string)

namespace {

// When set, a file named "resPath" appears just before the page creates that
// folder, so its mkdir fails as it would on a name the user already took.
std::atomic<bool> gBlockResPath{false};
std::atomic<int> gResPathBlocked{0};

bool plentyOfSpace(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    bytes = 100ULL << 30;
    errorCode = 0;
    return true;
}

} // namespace

// Interposes the C library's mkdir for this process; everything else goes
// straight to the kernel.
extern "C" __attribute__((visibility("default"))) int mkdir(const char* path, mode_t mode) noexcept
{
    const std::size_t length = std::strlen(path);
    static const char tail[] = "/resPath";
    if (gBlockResPath && length >= sizeof(tail) - 1 && std::strcmp(path + length - (sizeof(tail) - 1), tail) == 0) {
        ++gResPathBlocked;
        const int fd = static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
        if (fd >= 0)
            ::close(fd);
    }
    return static_cast<int>(::syscall(SYS_mkdirat, AT_FDCWD, path, mode));
}

class TestPackageFlow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<QTemporaryDir> dir;

    static PackagePage* packagePage()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* found = qobject_cast<PackagePage*>(w))
                return found;
        }
        return nullptr;
    }

    template <typename T>
    static T* in(QWidget* dialog, const char* name)
    {
        T* found = dialog->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }

    void showDialog(std::uint64_t used = 1000, std::uint64_t all = 2000)
    {
        STPackageInfo info;
        info.usedMediasSize = used;
        info.allMediasSize = all;
        info.mediaList = {11, 12};
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m, info] { m->sigShowPackageDialog(info); });
    }

    // Inside the open dialog: name the folder, place it and press the button.
    static void startIn(QWidget* dialog, const QString& name, const QString& location)
    {
        in<QLineEdit>(dialog, "packageLocationEdit")->setText(location);
        in<QLineEdit>(dialog, "packageNameEdit")->setText(name);
        in<QPushButton>(dialog, "packageButton")->click();
    }

    void finishFromHost(bool isSuccess, const std::string& path)
    {
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m, isSuccess, path] { m->sigPackageFinished(isSuccess, path); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        setPackageFreeSpaceQuery(&plentyOfSpace);
    }

    void cleanupTestCase() { setPackageFreeSpaceQuery(nullptr); }

    void init()
    {
        gBlockResPath = false;
        gResPathBlocked = 0;
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
    }

    void cleanup()
    {
        gBlockResPath = false;
        QCOMPARE(driver->pending(), 0);
        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
        page.reset();
        driver.reset();
        mgr.reset();
        runtime.reset();
    }

    void requestGoesStraightToTheHost()
    {
        page->packageProject();
        QCOMPARE(mgr->callCount("requestPackage"), std::size_t(1));
        QCOMPARE(mgr->lastCall("requestPackage").thread, std::this_thread::get_id());

        page->unsetProjectFileMgr();
        QTest::ignoreMessage(QtWarningMsg, "new projectFile failed!");
        page->packageProject();
        QCOMPARE(mgr->callCount("requestPackage"), std::size_t(1));
        page->setProjectFileMgr(mgr.get());
    }

    void refusalShowsItsTip()
    {
        driver->answerTip(1);
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] { m->sigProhibitPackage(); });
        QTRY_COMPARE(driver->tipTexts(), QStringList{QStringLiteral("ProhibitPackage")});
    }

    void packageFolderLayoutRecordAndFinish()
    {
        const QString location = dir->path();
        const QDateTime before = QDateTime::currentDateTime();
        QString defaultName;
        RecordingManager* m = mgr.get();
        driver->onNext<PackagePage>("package dialog", [&, m](PackagePage* dialog) {
            defaultName = in<QLineEdit>(dialog, "packageNameEdit")->text();
            startIn(dialog, QStringLiteral("Show"), location);
            // A second answer while the dialog is open must change nothing; it
            // is handled before the finish report, which is queued after it.
            showDialog(777777777, 888888888);
            RecordingManager::fromForeignThread([m] { m->sigPackageFinished(false, "r\xC3\xA9sultat/\x01odd"); });
        });
        QSignalSpy finished(page.get(), &ProjectFileWidget::packageFinishTip);
        showDialog();
        QTRY_COMPARE(finished.count(), 1);
        QTRY_VERIFY(!packagePage()->isVisible());

        // The default name is the local time of the showing.
        QVERIFY2(QRegularExpression(QStringLiteral("^project-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"))
                     .match(defaultName)
                     .hasMatch(),
                 qPrintable(defaultName));
        const QDateTime named =
            QDateTime::fromString(QStringLiteral("%1-%2").arg(before.date().year()).arg(defaultName.mid(8)),
                                  QStringLiteral("yyyy-MM-dd-hh-mm-ss"));
        QVERIFY(qAbs(named.secsTo(before)) <= 2);

        QCOMPARE(in<QLabel>(packagePage(), "packageFileSize")->text(), QStringLiteral("1000.0B "));
        QCOMPARE(in<QLineEdit>(packagePage(), "packageNameEdit")->text(), QStringLiteral("Show"));

        const QString show = location + QStringLiteral("/Show");
        for (const char* sub : {"optimizatedPath", "resPath", "imagePath"})
            QVERIFY2(QFileInfo(show + QLatin1Char('/') + QLatin1String(sub)).isDir(), sub);

        QCOMPARE(mgr->callCount("writeProject"), std::size_t(1));
        const ManagerCall call = mgr->lastCall("writeProject");
        QCOMPARE(call.thread, runtime->threadId());
        QCOMPARE(call.mode, 0);
        const STProjectFile& record = call.record;
        QCOMPARE(QString::fromStdString(record.strProfilePath), show + QStringLiteral("/project.ptr7"));
        QCOMPARE(QString::fromStdString(record.strImagePath), show + QStringLiteral("/imagePath/"));
        QVERIFY(record.isPackage);
        QVERIFY(record.strProfileName.empty());
        QCOMPARE(record.hostMode, 5);
        QCOMPARE(QString::fromStdString(record.packageData.packagePath), show);
        QCOMPARE(QString::fromStdString(record.packageData.optimizatedPath), show + QStringLiteral("/optimizatedPath"));
        QCOMPARE(QString::fromStdString(record.packageData.resPath), show + QStringLiteral("/resPath"));
        QCOMPARE(QString::fromStdString(record.packageData.imagePath), show + QStringLiteral("/imagePath/"));
        QCOMPARE(record.packageData.mediaList, (std::vector<std::int64_t>{11, 12}));
        QVERIFY(!record.packageData.allMedias);

        // The host's report passes on byte for byte; the dialog stopped once.
        QCOMPARE(finished.at(0).at(0).toBool(), false);
        QCOMPARE(finished.at(0).at(1).value<std::string>(), std::string("r\xC3\xA9sultat/\x01odd"));
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QCOMPARE(in<QPushButton>(packagePage(), "packageButton")->text(), QStringLiteral("ToPackage"));
        QVERIFY(in<QPushButton>(packagePage(), "packageButton")->isEnabled());
    }

    void startThatCannotBeginReturnsToIdle_data()
    {
        QTest::addColumn<bool>("refused"); // the runtime refuses, else a folder cannot be made
        QTest::addColumn<QString>("tip");
        QTest::newRow("folders not made") << false << QStringLiteral("PackageFolderFailed");
        QTest::newRow("host unavailable") << true << QStringLiteral("PackageHostUnavailable");
    }

    void startThatCannotBeginReturnsToIdle()
    {
        QFETCH(bool, refused);
        QFETCH(QString, tip);
        const QString location = dir->path();
        gBlockResPath = !refused;
        LogCapture log;
        driver->onNext<PackagePage>("package dialog", [&](PackagePage* dialog) {
            runtime->setCallable(!refused);
            startIn(dialog, QStringLiteral("Show"), location);
            runtime->setCallable(true);
            QCOMPARE(in<QPushButton>(dialog, "packageButton")->text(), QStringLiteral("ToPackage"));
            QVERIFY(in<QWidget>(dialog, "packageProgress")->isHidden());
            dialog->close(); // idle, so no question
        });
        driver->answerTip(1);
        showDialog();
        QTRY_COMPARE(driver->pending(), 0);
        QTRY_VERIFY(!packagePage()->isVisible());
        QCOMPARE(driver->tipTexts(), QStringList{tip});
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(0));
        if (!refused) {
            // What was made stays; nothing is deleted on a guess.
            const QString show = location + QStringLiteral("/Show");
            QVERIFY(QFileInfo(show + QStringLiteral("/optimizatedPath")).isDir());
            QVERIFY(!QFileInfo::exists(show + QStringLiteral("/imagePath")));
            QCOMPARE(log.count(QStringLiteral("mkdir resPath folder failed!  \"%1/resPath\"").arg(show)), 1);
        }
    }

    void finishAfterCancelStartsNothing()
    {
        const QString location = dir->path();
        driver->onNext<PackagePage>("package dialog", [&](PackagePage* dialog) {
            startIn(dialog, QStringLiteral("Again"), location);
            in<QPushButton>(dialog, "packageButton")->click(); // cancel
            finishFromHost(false, "cancelled");
        });
        QSignalSpy finished(page.get(), &ProjectFileWidget::packageFinishTip);
        showDialog();
        QTRY_COMPARE(finished.count(), 1);
        QTRY_VERIFY(!packagePage()->isVisible());
        // No second start: no new stop signal, no "ReSelect" tip (the driver would have had to answer it).
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(1));
    }
};

VEXA_TEST_MAIN(TestPackageFlow)
#include "tst_packageflow.moc"
