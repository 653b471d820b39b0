// Packaging as the start page runs it: the request, the host's answers, the
// package folders, the record handed to the host and the finish report.

#include "packagefixture.h"
#include "projectfilewidget.h"

#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::string)

// When set, a file named "resPath" appears just before the page creates that
// folder, so its mkdir fails as it would on a name the user already took.
static std::atomic<bool> gBlockResPath{false};

// Interposes the C library's mkdir for this process; everything else goes straight to the kernel.
extern "C" __attribute__((visibility("default"))) int mkdir(const char* path, mode_t mode) noexcept
{
    const std::size_t length = std::strlen(path);
    if (gBlockResPath && length >= 8 && std::strcmp(path + length - 8, "/resPath") == 0)
        ::close(static_cast<int>(::syscall(SYS_openat, AT_FDCWD, path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644)));
    return static_cast<int>(::syscall(SYS_mkdirat, AT_FDCWD, path, mode));
}

class TestPackageFlow : public QObject, PackageHost
{
    Q_OBJECT

    std::unique_ptr<ProjectFileWidget> page;
    PackagePage* dialog = nullptr; // the dialog the host's answer showed

    // The host answers a request with the dialog; `inside` names the folder,
    // presses the button and goes on inside the dialog's modal loop.
    void package(const QString& name, const std::function<void(PackagePage*)>& inside)
    {
        driver->onNext<PackagePage>("package dialog", [this, name, inside](PackagePage* d) {
            dialog = d;
            in<QLineEdit>(d, "packageLocationEdit")->setText(dir->path());
            in<QLineEdit>(d, "packageNameEdit")->setText(name);
            in<QPushButton>(d, "packageButton")->click();
            inside(d);
        });
        STPackageInfo info;
        info.usedMediasSize = 1000;
        raise([info](RecordingManager* m) { m->sigShowPackageDialog(info); });
    }

private Q_SLOTS:
    void initTestCase() { setUpOnce(); }

    void init()
    {
        gBlockResPath = false;
        setUp();
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset();
    }

    void requestGoesStraightToTheHostAndARefusalIsShown()
    {
        page->packageProject();
        QCOMPARE(mgr->lastCall("requestPackage").thread, std::this_thread::get_id());
        driver->answerTip(1);
        raise([](RecordingManager* m) { m->sigProhibitPackage(); });
        QTRY_COMPARE(driver->tipTexts(), QStringList{QStringLiteral("ProhibitPackage")});
    }

    // The folders, the record and its thread; the host's report passes on
    // byte for byte and the dialog stops once.
    void packageFolderLayoutRecordAndFinish()
    {
        QSignalSpy finished(page.get(), &ProjectFileWidget::packageFinishTip);
        package(QStringLiteral("Show"), [this](PackagePage*) {
            // A second answer while the dialog is open changes nothing; it is
            // handled before the finish report, which is queued after it.
            raise([](RecordingManager* m) {
                m->sigShowPackageDialog(STPackageInfo());
                m->sigPackageFinished(false, "r\xC3\xA9sultat/\x01odd");
            });
        });
        QTRY_VERIFY(finished.count() == 1 && !dialog->isVisible());
        QCOMPARE(in(dialog, "packageFileSize")->text(), QStringLiteral("1000.0B "));
        QCOMPARE(finished.at(0).at(1).value<std::string>(), std::string("r\xC3\xA9sultat/\x01odd"));
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QCOMPARE(look(dialog), QStringLiteral("ToPackage 1 1 0"));
        const vexatest::ManagerCall call = mgr->lastCall("writeProject");
        QCOMPARE(call.thread, runtime->threadId());
        const QString show = dir->path() + QStringLiteral("/Show");
        QCOMPARE(QString::fromStdString(call.record.strProfilePath + '|' + call.record.packageData.resPath),
                 QStringLiteral("%1/project.ptr7|%1/resPath").arg(show));
        QVERIFY(call.record.isPackage && QFileInfo(show + QStringLiteral("/imagePath")).isDir());
    }

    // A start the page cannot carry out tells the dialog why, so it does not wait for a package.
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
        gBlockResPath = !refused;
        runtime->setCallable(!refused);
        QString shownLook;
        package(QStringLiteral("Show"), [&](PackagePage* d) {
            shownLook = look(d);
            d->close(); // idle, so no question
        });
        driver->answerTip(1);
        QTRY_VERIFY(driver->pending() == 0 && !dialog->isVisible());
        runtime->setCallable(true);
        QCOMPARE(shownLook, QStringLiteral("ToPackage 1 1 0"));
        QCOMPARE(driver->tipTexts(), QStringList{tip});
        QCOMPARE(mgr->callCount("writeProject"), std::size_t(0));
        // The host heard a package start, so it hears that none runs.
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        // What was made stays; nothing is deleted on a guess.
        QVERIFY(QFileInfo(dir->filePath(QStringLiteral("Show/optimizatedPath"))).isDir());
        QCOMPARE(QFileInfo::exists(dir->filePath(QStringLiteral("Show/imagePath"))), refused);
    }
};

VEXA_TEST_MAIN(TestPackageFlow)
#include "tst_packageflow.moc"
