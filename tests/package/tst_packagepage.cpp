// The package dialog on its own: size and time texts, the space rule, the
// folder name, the write probe, progress from a foreign thread, cancelling
// and closing.

#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "packagepage.h"
#include "recordingmanager.h"
#include "tipdialog.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <memory>
#include <thread>

using namespace vexa::projectfilemgr;
using vexatest::LogCapture;
using vexatest::ModalDriver;
using vexatest::RecordingManager;

Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackage)

namespace {

constexpr quint64 MiB = 1048576;

std::atomic<std::uint64_t> gFreeBytes{0};
std::atomic<bool> gFreeSpaceFails{false};

bool fakeFreeSpace(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    if (gFreeSpaceFails) {
        errorCode = EIO;
        return false;
    }
    bytes = gFreeBytes;
    errorCode = 0;
    return true;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestPackagePage : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<PackagePage> page;
    std::unique_ptr<QTemporaryDir> dir;

    template <typename T>
    T* widget(const char* name) const
    {
        T* found = page->findChild<T*>(QLatin1String(name));
        if (!found)
            qFatal("no widget %s", name);
        return found;
    }
    QLineEdit* nameEdit() const { return widget<QLineEdit>("packageNameEdit"); }
    QLineEdit* locationEdit() const { return widget<QLineEdit>("packageLocationEdit"); }
    QPushButton* packageButton() const { return widget<QPushButton>("packageButton"); }
    QPushButton* noSpaceButton() const { return widget<QPushButton>("shareSpaceTips"); }
    QLabel* label(const char* name) const { return widget<QLabel>(name); }
    QProgressBar* progressBar() const { return widget<QProgressBar>("packageProgressBar"); }

    void setMedia(std::uint64_t used, std::uint64_t all)
    {
        STPackageInfo info;
        info.usedMediasSize = used;
        info.allMediasSize = all;
        info.mediaList = {7, -3};
        page->setMediaSize(info);
    }

    // Starts a package named `name` in the temporary folder.
    void start(const QString& name = QStringLiteral("Show"))
    {
        page->setDefaultFolderName(name);
        packageButton()->click();
    }

    void report(std::uint64_t bytes)
    {
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m, bytes] { m->sigPackageProgress(bytes); });
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
        setPackageFreeSpaceQuery(&fakeFreeSpace);
        qRegisterMetaType<STPackage>("STPackage");
    }

    void cleanupTestCase() { setPackageFreeSpaceQuery(nullptr); }

    void init()
    {
        gFreeBytes = 10240 * MiB;
        gFreeSpaceFails = false;
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new ModalDriver);
        page.reset(new PackagePage);
        page->switchLanguage(QStringLiteral("xx"));
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
        locationEdit()->setText(dir->path());
        setMedia(1000, 2000);
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
        page.reset();
        driver.reset();
        mgr.reset();
        runtime.reset();
    }

    // ----- pure arithmetic -------------------------------------------------

    void sizeTexts_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<bool>("isSpeed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("unit");
        QTest::newRow("zero") << quint64(0) << false << "0.0B " << 0;
        QTest::newRow("exactly 1024 stays bytes") << quint64(1024) << false << "1024.0B " << 0;
        QTest::newRow("one and a half K") << quint64(1536) << false << "1.5K " << 1;
        QTest::newRow("exactly 1 MiB stays K") << quint64(1048576) << false << "1024.0K " << 1;
        QTest::newRow("3 MiB per second") << quint64(3145728) << true << "3.0M/s" << 2;
        QTest::newRow("exactly 1 GiB stays M") << quint64(1073741824) << false << "1024.0M " << 2;
        QTest::newRow("5 GiB") << quint64(5368709120) << false << "5.0G " << 3;
        QTest::newRow("largest count") << quint64(~0ULL) << true << "17179869184.0G/s" << 3;
    }

    void sizeTexts()
    {
        QFETCH(quint64, bytes);
        QFETCH(bool, isSpeed);
        QFETCH(QString, text);
        QFETCH(int, unit);
        int gotUnit = -1;
        QCOMPARE(formatSize(bytes, isSpeed, &gotUnit), text);
        QCOMPARE(gotUnit, unit);
    }

    void remainingTimeTexts_data()
    {
        QTest::addColumn<double>("remainBytes");
        QTest::addColumn<int>("unit");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("text");
        QTest::newRow("10 MiB at 2.0M/s") << 10485760.0 << 2 << 2.0 << "00:00:05";
        QTest::newRow("K scale") << 10240.0 << 1 << 1.0 << "00:00:10";
        QTest::newRow("G scale, over a day keeps its hours") << 90190.0 * 1073741824.0 << 3 << 1.0 << "25:03:10";
        QTest::newRow("zero speed") << 5000.0 << 0 << 0.0 << "00:00:00";
        QTest::newRow("nothing left") << 0.0 << 0 << 3.0 << "00:00:00";
        QTest::newRow("nan speed") << 5000.0 << 0 << qQNaN() << "00:00:00";
        QTest::newRow("truncated, not rounded") << 2999.0 << 0 << 1000.0 << "00:00:02";
    }

    void remainingTimeTexts()
    {
        QFETCH(double, remainBytes);
        QFETCH(int, unit);
        QFETCH(double, speed);
        QFETCH(QString, text);
        QCOMPARE(remainTimeText(remainSeconds(remainBytes, unit, speed)), text);
        QCOMPARE(remainTimeText(qInf()), QStringLiteral("00:00:00"));
        QCOMPARE(remainTimeText(-5.0), QStringLiteral("00:00:00"));
    }

    void probeAndReportArithmetic()
    {
        // Ten KiB in 10 ms.
        QCOMPARE(formatSize(wholeBytes(probeSpeed(10000)), true), QStringLiteral("1000.0K/s"));
        // A probe faster than the clock still gives a finite rate.
        QVERIFY(qIsFinite(probeSpeed(0)) && probeSpeed(0) > 0.0);
        QCOMPARE(wholeBytes(qQNaN()), std::uint64_t(0));
        QCOMPARE(wholeBytes(-1.0), std::uint64_t(0));
        QCOMPARE(wholeBytes(qInf()), ~std::uint64_t(0));

        // 1 MiB reported 500 ms after the last one, 10 MiB still to go.
        SpeedMeter meter;
        bool measured = false;
        const double speed = meter.measure(1048576, 500, measured);
        QVERIFY(measured);
        ProgressTexts texts = progressTexts(speed, 1048576, 11 * 1048576);
        QCOMPARE(texts.speed, QStringLiteral("2.0M/s"));
        QCOMPARE(texts.remainTime, QStringLiteral("00:00:05"));
        QCOMPARE(texts.packaged, QStringLiteral("1024.0K "));
        QCOMPARE(texts.remainBytes, std::uint64_t(10485760));

        // Reports within the same millisecond keep the last rate and carry
        // their bytes into the next measurable interval.
        QCOMPARE(meter.measure(4096, 0, measured), speed);
        QVERIFY(!measured);
        QCOMPARE(meter.measure(4096, 1, measured), 8192.0 * 1000.0);
        QVERIFY(measured);

        // More packaged than announced: nothing left, never a wrapped count.
        texts = progressTexts(1000.0, 5000, 1000);
        QCOMPARE(texts.remainBytes, std::uint64_t(0));
        QCOMPARE(texts.remainTime, QStringLiteral("00:00:00"));
        // A rate that rounds to 0.0 gives no endless time.
        texts = progressTexts(0.01, 0, 1000);
        QCOMPARE(texts.speed, QStringLiteral("0.0B/s"));
        QCOMPARE(texts.remainTime, QStringLiteral("00:00:00"));
    }

    void progressValues_data()
    {
        QTest::addColumn<quint64>("packaged");
        QTest::addColumn<quint64>("total");
        QTest::addColumn<int>("value");
        QTest::newRow("rounded up") << quint64(1) << quint64(1000) << 1;
        QTest::newRow("almost done") << quint64(999) << quint64(1000) << 100;
        QTest::newRow("half") << quint64(500) << quint64(1000) << 50;
        QTest::newRow("overshoot") << quint64(3000) << quint64(1000) << 100;
        QTest::newRow("empty package, nothing yet") << quint64(0) << quint64(0) << 0;
        QTest::newRow("empty package, something reported") << quint64(5) << quint64(0) << 100;
        QTest::newRow("huge counts") << quint64(~0ULL - 1) << quint64(~0ULL) << 100;
    }

    void progressValues()
    {
        QFETCH(quint64, packaged);
        QFETCH(quint64, total);
        QFETCH(int, value);
        QCOMPARE(progressPercent(packaged, total), value);
    }

    // ----- the dialog ------------------------------------------------------

    void attachingConnectsThroughTheRuntime()
    {
        QCOMPARE(mgr->sigPackageProgress.slotCount(), std::size_t(1));
        QCOMPARE(mgr->sigPackageAble.slotCount(), std::size_t(1));
        page->unsetProjectFileMgr();
        QCOMPARE(mgr->sigPackageProgress.slotCount(), std::size_t(0));
        QCOMPARE(mgr->sigPackageAble.slotCount(), std::size_t(0));

        // Without a manager the button only logs.
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is null");
        packageButton()->click();
        QCOMPARE(begun.count(), 0);
        QTest::ignoreMessage(QtWarningMsg, "projectFileMgr is null");
        page->setProjectFileMgr(nullptr);
        page->setProjectFileMgr(mgr.get());
    }

    void spaceCheck_data()
    {
        QTest::addColumn<quint64>("freeBytes");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<quint64>("package");
        QTest::addColumn<bool>("isShort");
        QTest::addColumn<QString>("freeText");
        QTest::newRow("150 MiB free, 60 MiB package") << 150 * MiB << false << 60 * MiB << true << "0.1G";
        QTest::newRow("99 MiB free, empty package") << 99 * MiB << false << quint64(0) << true << "0.1G";
        QTest::newRow("160 MiB free, 60 MiB package") << 160 * MiB << false << 60 * MiB << false << "0.2G";
        QTest::newRow("5 GiB free") << quint64(5368709120) << false << 60 * MiB << false << "5.0G";
        QTest::newRow("under one MiB counts as none") << quint64(1048575) << false << quint64(0) << true << "0.0G";
        QTest::newRow("failing query counts as none") << 5000 * MiB << true << quint64(0) << true << "0.0G";
    }

    void spaceCheck()
    {
        QFETCH(quint64, freeBytes);
        QFETCH(bool, fails);
        QFETCH(quint64, package);
        QFETCH(bool, isShort);
        QFETCH(QString, freeText);
        gFreeBytes = freeBytes;
        gFreeSpaceFails = fails;
        LogCapture log;
        setMedia(package, package);

        QCOMPARE(label("packageRemainSpace")->text(), freeText);
        QCOMPARE(!noSpaceButton()->isHidden(), isShort);
        QCOMPARE(packageButton()->isEnabled(), !isShort);
        const QString style = isShort ? QStringLiteral("redTip") : QStringLiteral("normalTip");
        QCOMPARE(label("packageFileSize")->property("style").toString(), style);
        QCOMPARE(label("packageRemainSpace")->property("style").toString(), style);
        QCOMPARE(log.countContaining(QStringLiteral("calculateSpace Error: ")) > 0, fails);
    }

    void mediaChoiceUpdatesSizeAndSpace()
    {
        gFreeBytes = 3000 * MiB;
        setMedia(1536, 3221225472);
        QCOMPARE(label("packageFileSize")->text(), QStringLiteral("1.5K "));
        QVERIFY(packageButton()->isEnabled());

        LogCapture log;
        widget<QRadioButton>("packageAllMedias")->click();
        QCOMPARE(label("packageFileSize")->text(), QStringLiteral("3.0G "));
        QVERIFY(!packageButton()->isEnabled());
        QVERIFY(!noSpaceButton()->isHidden());
        QCOMPARE(log.count(QStringLiteral("--PROJECTFILEMGR-- Package Total Size ==  3221225472")), 1);

        // A fresh showing starts with the used media again.
        setMedia(1536, 3221225472);
        QVERIFY(widget<QRadioButton>("packageUsedMedias")->isChecked());
        QVERIFY(packageButton()->isEnabled());
    }

    void vanishedLocationFallsBackToTheDesktop()
    {
        const QString gone = dir->filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkdir(gone));
        locationEdit()->setText(gone);
        QVERIFY(QDir().rmdir(gone));
        LogCapture log;
        page->switchLanguage(QStringLiteral("xx"));
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        QCOMPARE(locationEdit()->text(), desktop);
        QCOMPARE(log.count(QStringLiteral("The previous path no longer exists! \"%1\"").arg(gone)), 1);
        QCOMPARE(log.count(QStringLiteral("Path changed to desktop! \"%1\"").arg(desktop)), 1);
    }

    void withoutADesktopFolderTheHomeFolderIsUsed()
    {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        const QString away = desktop + QStringLiteral("-away");
        QVERIFY(QDir().rename(desktop, away));
        const QString gone = dir->filePath(QStringLiteral("gone"));
        locationEdit()->setText(gone);
        page->switchLanguage(QStringLiteral("xx"));
        const QString shown = locationEdit()->text();
        QVERIFY(QDir().rename(away, desktop));
        // A real folder with its free space, not a missing one counted as full.
        QCOMPARE(shown, QDir::homePath());
        QVERIFY(packageButton()->isEnabled());
    }

    void folderNameIsValidatedAndRestored()
    {
        const QValidator* validator = nameEdit()->validator();
        QVERIFY(validator);
        const auto check = [validator](QString text) {
            int pos = 0;
            return validator->validate(text, pos);
        };
        QCOMPARE(check(QString(100, QLatin1Char('a'))), QValidator::Acceptable);
        QCOMPARE(check(QString(101, QLatin1Char('a'))), QValidator::Invalid);
        for (const char* bad : {"a.b", "a/b", "a\\b", "a?", "a\"", "a<", "a>", "a:", "a*", "a|"})
            QVERIFY2(check(QLatin1String(bad)) == QValidator::Invalid, bad);
        QCOMPARE(check(QStringLiteral("Show 2 - final")), QValidator::Acceptable);

        // Typing cannot get past the rule either.
        page->setDefaultFolderName(QStringLiteral("Show"));
        nameEdit()->setCursorPosition(4);
        QTest::keyClicks(nameEdit(), QStringLiteral(".x"));
        QCOMPARE(nameEdit()->text(), QStringLiteral("Showx"));

        // Editing finished with a name keeps it; an emptied box brings it back.
        Q_EMIT nameEdit()->editingFinished();
        nameEdit()->clear();
        Q_EMIT nameEdit()->editingFinished();
        QCOMPARE(nameEdit()->text(), QStringLiteral("Showx"));

        // Losing focus alone restores it too (signals blocked, so only the filter acts).
        nameEdit()->clear();
        const QSignalBlocker blocker(nameEdit());
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(nameEdit(), &focusOut);
        QCOMPARE(nameEdit()->text(), QStringLiteral("Showx"));
    }

    void chooserStartsAtTheLocationAndMeasuresEveryPick()
    {
        const QString before = locationEdit()->text();
        QString startedIn;
        driver->onNext<QFileDialog>("folder chooser", [&startedIn](QFileDialog* dialog) {
            startedIn = dialog->directory().absolutePath();
            dialog->reject();
        });
        QTest::ignoreMessage(QtWarningMsg, "--PackageSetting--browse folder is empty!");
        widget<QPushButton>("packageSelectButton")->click();
        QCOMPARE(locationEdit()->text(), before);
        QCOMPARE(startedIn, QDir(before).absolutePath());

        const QString chosen = dir->filePath(QStringLiteral("out"));
        QVERIFY(QDir().mkdir(chosen));
        gFreeBytes = 50 * MiB;
        driver->acceptFileDialog(chosen);
        widget<QPushButton>("packageSelectButton")->click();
        QCOMPARE(QDir(locationEdit()->text()), QDir(chosen));
        QCOMPARE(driver->fileDialogTitles(), QStringList{QStringLiteral("SelectFolder")});
        QVERIFY(!packageButton()->isEnabled());

        // Space freed meanwhile: the same folder again is measured again.
        gFreeBytes = 10240 * MiB;
        driver->acceptFileDialog(chosen);
        widget<QPushButton>("packageSelectButton")->click();
        QVERIFY(packageButton()->isEnabled());
    }

    void startingShowsFirstTextsAndLeavesUserFilesAlone()
    {
        // A file of the user's with the probe's name must survive the probe.
        const QString userFile = dir->filePath(QStringLiteral("tempfile.bin"));
        {
            QFile file(userFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("mine");
        }
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        LogCapture log;
        start(QStringLiteral("Show"));

        QCOMPARE(readFile(userFile), QByteArray("mine"));
        QCOMPARE(QDir(dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{QStringLiteral("tempfile.bin")});

        QCOMPARE(begun.count(), 1);
        const auto package = begun.at(0).at(0).value<STPackage>();
        QVERIFY(package.packagePath.empty() && package.resPath.empty() && package.imagePath.empty() &&
                package.optimizatedPath.empty());
        QCOMPARE(package.mediaList, (std::vector<std::int64_t>{7, -3}));
        QVERIFY(!package.allMedias);
        QCOMPARE(begun.at(0).at(1).toString(), QStringLiteral("Show"));
        QCOMPARE(begun.at(0).at(2).toString(), dir->path());
        QCOMPARE(mgr->stopPackageValues(), std::vector<bool>{false});
        QCOMPARE(log.count(QStringLiteral("--PROJECTFILEMGR-- Notify Continue Package!")), 1);

        QCOMPARE(label("packageRemainTime")->text(), QStringLiteral("00:00:00"));
        QCOMPARE(label("packageFinishedSize")->text(), QStringLiteral("0.0K"));
        QCOMPARE(label("packageTotalSize")->text(), QStringLiteral("/1000.0B "));
        QVERIFY(label("packageSpeed")->text().endsWith(QStringLiteral("/s")));
        QCOMPARE(packageButton()->text(), QStringLiteral("CancelPackage"));
        QVERIFY(packageButton()->isEnabled());
        QVERIFY(!nameEdit()->isEnabled() && !locationEdit()->isEnabled());
        QVERIFY(!widget<QWidget>("packageProgress")->isHidden());

        // The space check never takes the cancel button away.
        gFreeBytes = 0;
        page->setMediaSize(STPackageInfo());
        QVERIFY(packageButton()->isEnabled());
    }

    void startThatCannotBeginStaysIdle_data()
    {
        QTest::addColumn<QString>("blocker"); // what already stands in the way
        QTest::addColumn<QString>("tip");
        QTest::newRow("folder of that name") << QStringLiteral("folder") << QStringLiteral("ReSelect");
        QTest::newRow("file of that name") << QStringLiteral("file") << QStringLiteral("ReSelect");
        QTest::newRow("location not writable") << QStringLiteral("location") << QStringLiteral("NoPermission");
    }

    void startThatCannotBeginStaysIdle()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, tip);
        const QString taken = dir->filePath(QStringLiteral("Taken"));
        if (blocker == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(taken));
        } else {
            QFile file(taken);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (blocker == QLatin1String("location")) {
            const QSignalBlocker noCheck(locationEdit());
            locationEdit()->setText(taken); // a file, not a folder
        }
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        driver->answerTip(1);
        start(QStringLiteral("Taken"));
        QCOMPARE(driver->tipTexts(), QStringList{tip});
        QCOMPARE(begun.count(), 0);
        QVERIFY(mgr->stopPackageValues().empty());
        QCOMPARE(packageButton()->text(), QStringLiteral("ToPackage"));
        QVERIFY(nameEdit()->isEnabled());
        QVERIFY(widget<QWidget>("packageProgress")->isHidden());
    }

    void progressReportsFillTheTexts()
    {
        start();
        LogCapture log;
        report(1);
        QTRY_COMPARE(progressBar()->value(), 1);
        QCOMPARE(label("packageFinishedSize")->text(), QStringLiteral("1.0B "));
        QCOMPARE(log.countContaining(QStringLiteral("Package progress show: size: 1   speed:")), 1);
        QCOMPARE(log.countContaining(QStringLiteral("remain size: 999    remainTime:")), 1);
        QCOMPARE(log.count(QStringLiteral("current progress value == : 1")), 1);

        // A report of nothing changes nothing; more than announced stops at 100.
        report(0);
        report(5000);
        QTRY_COMPARE(progressBar()->value(), 100);
        QCOMPARE(label("packageRemainTime")->text(), QStringLiteral("00:00:00"));
        QCOMPARE(label("packageFinishedSize")->text(), QStringLiteral("4.9K "));
        QCOMPARE(log.countContaining(QStringLiteral("Package progress show:")), 2);
    }

    void fastForeignReportsAreAllCountedAndTheGuiKeepsUp()
    {
        setMedia(3000000, 3000000);
        start();
        LogCapture log;
        constexpr int reports = 3000;
        std::atomic<bool> done{false};
        int ticksWhileReporting = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] { ticksWhileReporting += done ? 0 : 1; });
        ticker.start(0);
        RecordingManager* m = mgr.get();
        std::thread reporter([m, &done] {
            for (int i = 0; i < reports; ++i)
                m->sigPackageProgress(1000);
            done = true;
        });
        QTRY_VERIFY(done.load());
        reporter.join();
        ticker.stop();

        QTRY_COMPARE(progressBar()->value(), 100);
        QCOMPARE(label("packageFinishedSize")->text(), QStringLiteral("2.9M "));
        QCOMPARE(label("packageRemainTime")->text(), QStringLiteral("00:00:00"));
        // One log line per report, in order; the GUI saw the newest texts, not a backlog.
        QCOMPARE(log.countContaining(QStringLiteral("Package progress show:")), reports);
        const int updates = log.countContaining(QStringLiteral("current progress value == :"));
        QVERIFY(updates >= 1 && updates <= reports);
        qInfo("%d reports reached the GUI as %d updates; %d timer ticks meanwhile", reports, updates,
              ticksWhileReporting);
    }

    void cancelByButtonWaitsForTheHost()
    {
        start();
        LogCapture log;
        packageButton()->click();
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QCOMPARE(log.count(QStringLiteral("--PROJECTFILEMGR-- Notify Stop Package!")), 1);
        QVERIFY(!packageButton()->isEnabled());
        QCOMPARE(packageButton()->text(), QStringLiteral("Canceling"));
        QVERIFY(nameEdit()->isEnabled());
        QVERIFY(widget<QWidget>("packageProgress")->isHidden());

        // Reports that still come in are counted from zero.
        report(700);
        QTRY_COMPARE(log.count(QStringLiteral("Package was stopped!")), 1);
        QTRY_COMPARE(label("packageFinishedSize")->text(), QStringLiteral("0.0B "));

        // The space check must not re-enable the button before the host is ready.
        page->setMediaSize(STPackageInfo());
        QVERIFY(!packageButton()->isEnabled());

        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] { m->sigPackageAble(); });
        QTRY_VERIFY(packageButton()->isEnabled());
        QCOMPARE(packageButton()->text(), QStringLiteral("ToPackage"));
    }

    void closeWhilePackagingAsksAndWaitsForTheHost()
    {
        page->show();
        start();
        QTest::ignoreMessage(QtWarningMsg, "now isPackageing, is need stop Package?");
        driver->answerTip(2);
        page->close();
        QVERIFY(page->isVisible());
        QCOMPARE(packageButton()->text(), QStringLiteral("CancelPackage"));
        QCOMPARE(mgr->stopPackageValues(), std::vector<bool>{false});

        QTest::ignoreMessage(QtWarningMsg, "now isPackageing, is need stop Package?");
        driver->answerTip(1);
        page->close();
        QVERIFY(page->isVisible());
        QCOMPARE(packageButton()->text(), QStringLiteral("Canceling"));
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QCOMPARE(driver->tipTexts(), (QStringList{QStringLiteral("ClosePackageTip"), QStringLiteral("ClosePackageTip")}));

        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] { m->sigPackageAble(); });
        QTRY_VERIFY(!page->isVisible());
    }

    void escapeIsSwallowedOnlyWhilePackaging()
    {
        page->show();
        QKeyEvent idleEscape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(page.get(), &idleEscape);
        QVERIFY(!idleEscape.isAccepted());

        start();
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(page.get(), &escape);
        QVERIFY(escape.isAccepted());
        QVERIFY(page->isVisible());
        QCOMPARE(packageButton()->text(), QStringLiteral("CancelPackage"));
    }

    void finishReportEndsIdleWithTheButtonEnabled()
    {
        QSignalSpy begun(page.get(), &PackagePage::beginPackage);
        start();
        page->stopPackage();
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));
        QVERIFY(packageButton()->isEnabled());
        QCOMPARE(packageButton()->text(), QStringLiteral("ToPackage"));
        QVERIFY(label("packageSpeed")->text().isEmpty());
        QVERIFY(label("packageTotalSize")->text().isEmpty());

        // A second report starts nothing new. A cancel that crosses the end
        // gets only the end report: that too leaves the dialog usable.
        page->stopPackage();
        start(QStringLiteral("Second"));
        packageButton()->click();
        page->stopPackage();
        QCOMPARE(begun.count(), 2);
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true, false, true}));
        QCOMPARE(packageButton()->text(), QStringLiteral("ToPackage"));
        QVERIFY(packageButton()->isEnabled());
        QVERIFY(nameEdit()->isEnabled());
    }

    void closeQuestionCrossingTheEndClosesAndLeavesNothingBehind()
    {
        page->show();
        start();
        QTest::ignoreMessage(QtWarningMsg, "now isPackageing, is need stop Package?");
        PackagePage* dialog = page.get();
        driver->onNext<vexa::widgets::TipDialog>("close question", [dialog](vexa::widgets::TipDialog* tip) {
            // The host finishes while the user reads the question, then the user says yes.
            dialog->stopPackage();
            dialog->close();
            tip->findChild<QAbstractButton*>(QStringLiteral("tipConfirmButton"))->click();
        });
        page->close();
        QVERIFY(!page->isVisible());
        QCOMPARE(mgr->stopPackageValues(), (std::vector<bool>{false, true}));

        // The next opening starts clean: a cancel waits for the host and keeps the dialog open.
        page->show();
        QCOMPARE(packageButton()->text(), QStringLiteral("ToPackage"));
        start(QStringLiteral("Next"));
        packageButton()->click();
        RecordingManager* m = mgr.get();
        RecordingManager::fromForeignThread([m] { m->sigPackageAble(); });
        QTRY_VERIFY(packageButton()->isEnabled());
        QVERIFY(page->isVisible());
    }
};

VEXA_TEST_MAIN(TestPackagePage)
#include "tst_packagepage.moc"
