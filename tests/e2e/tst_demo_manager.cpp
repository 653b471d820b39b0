// The demo host's project-file manager on its own: what reaches the disk and
// what the manager answers, when saves, edits, packages and its own end meet.

#include "demomanager.h"
#include "testmain.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

using namespace vexademo;
using namespace vexa::projectfilemgr;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file written past this many bytes fails, as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

QByteArray projectWith(int screens, int media, const QByteArray& size, const QByteArray& path = "/nowhere/m.bin")
{
    QByteArray json = R"({"format":"vexademo-project","version":1,"name":"H","screens":[)";
    for (int i = 0; i < screens; ++i)
        json += QByteArray(i ? "," : "") + R"({"width":1,"height":1})";
    json += R"(],"media":[)";
    for (int i = 0; i < media; ++i)
        json += QByteArray(i ? "," : "") + R"({"path":")" + path + R"(","size":")" + size + R"("})";
    return json + "]}";
}

} // namespace

class TestDemoManager : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<DemoProjectMgr> mgr;

    QString tmp(const QString& name) const { return dir->filePath(name); }

    QString media(const QString& name, int bytes)
    {
        QFile file(tmp(name));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(bytes, 'm'));
        return file.fileName();
    }

    void open(const QString& path, const DemoProject& project)
    {
        QVERIFY(writeProjectFile(path, project));
        mgr->loadProject(path.toStdString(), unserializeDefault);
        mgr->waitIdle();
        QVERIFY(mgr->isProjectOpen());
    }

    STProjectFile packageRecord(const QString& folder)
    {
        STProjectFile record;
        record.isPackage = true;
        record.packageData.packagePath = folder.toStdString();
        record.packageData.allMedias = true;
        return record;
    }

private Q_SLOTS:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); } // a write past the size limit fails instead

    void init()
    {
        dir.reset(new QTemporaryDir);
        mgr.reset(new DemoProjectMgr(tmp("list.json"), tmp("images"), tmp("autosave")));
    }

    void cleanup() { mgr.reset(); }

    // An edit made while a save is writing stays: the project still reads as
    // modified, and a Save As changes only the path and name of what is open.
    void editsDuringASaveAreKept_data()
    {
        QTest::addColumn<bool>("saveAs");
        QTest::newRow("save") << false;
        QTest::newRow("save as") << true;
    }

    void editsDuringASaveAreKept()
    {
        QFETCH(bool, saveAs);
        open(tmp("Show.ptr7"), projectFromTemplate("Show", BlankTemplate));
        const QString added = media("late.bin", 10);
        mgr->setSaveHook([&] { mgr->addMedia({added}); });
        STProjectFile record;
        record.strProfilePath = (saveAs ? tmp("Copy.ptr7") : tmp("Show.ptr7")).toStdString();
        mgr->writeProject(record, saveAs);
        mgr->waitIdle();
        DemoProject onDisk;
        QVERIFY(readProjectFile(QString::fromStdString(record.strProfilePath), onDisk));
        QCOMPARE(onDisk.media.size(), 0);
        QVERIFY(mgr->isModified());
        QCOMPARE(mgr->currentProject()->media.size(), 1);
        QCOMPARE(mgr->currentProjectPath(), record.strProfilePath);
        QCOMPARE(mgr->currentProjectName(), std::string(saveAs ? "Copy" : "Show"));
    }

    // A thumbnail that cannot be written whole leaves the previous one.
    void aThumbnailWrittenOnAFullDiskKeepsTheOldOne()
    {
        open(tmp("Show.ptr7"), projectFromTemplate("Show", BlankTemplate));
        const QString thumbnail = thumbnailPathFor(tmp("images"), tmp("Show.ptr7"));
        const QByteArray before = readAll(thumbnail);
        QVERIFY(before.size() > 4096 && projectToJson(*mgr->currentProject()).size() < 4096);
        STProjectFile record;
        record.strProfilePath = tmp("Show.ptr7").toStdString();
        {
            const FileSizeLimit full(4096);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("thumbnail not written"));
            mgr->writeProject(record, false);
            mgr->waitIdle();
        }
        QCOMPARE(readAll(thumbnail), before);
    }

    // Counts and sizes no real project has are refused with the limit named,
    // and a total of many large media never wraps round to a small number.
    void implausibleProjectsAreRefused_data()
    {
        QTest::addColumn<int>("screens");
        QTest::addColumn<int>("media");
        QTest::addColumn<QByteArray>("size");
        QTest::addColumn<QString>("refusal"); // empty: accepted
        const QString counts = "at most 4096 screens and 100000 media";
        QTest::newRow("screens at the limit") << 4096 << 1 << QByteArray("1") << QString();
        QTest::newRow("one screen more") << 4097 << 1 << QByteArray("1") << counts;
        QTest::newRow("media at the limit") << 1 << 100000 << QByteArray("1") << QString();
        QTest::newRow("one media more") << 1 << 100001 << QByteArray("1") << counts;
        QTest::newRow("1 PiB") << 1 << 2 << QByteArray::number(1ull << 50) << QString();
        QTest::newRow("2^63 bytes") << 1 << 2 << QByteArray::number(1ull << 63) << "above the limit of 1125899906842624";
    }

    void implausibleProjectsAreRefused()
    {
        QFETCH(int, screens);
        QFETCH(int, media);
        QFETCH(QByteArray, size);
        QFETCH(QString, refusal);
        DemoProject project;
        QString error;
        QCOMPARE(projectFromJson(projectWith(screens, media, size), project, &error), refusal.isEmpty());
        QVERIFY2(error.contains(refusal), qPrintable(error));
    }

    void aTotalPastTwoToTheSixtyFourStaysAtTheTop()
    {
        DemoProject project;
        QVERIFY(projectFromJson(projectWith(1, 16384, QByteArray::number(1ull << 50)), project));
        QCOMPARE(totalMediaSize(tmp("p.ptr7"), project, true), std::numeric_limits<quint64>::max());
    }

    // A FIFO or a device named as media fails the package at once and leaves
    // nothing behind; a file on another file system is copied whole.
    void mediaThatAreNoRegularFiles_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("device") << "device";
        QTest::newRow("another file system") << "shm";
    }

    void mediaThatAreNoRegularFiles()
    {
        QFETCH(QString, kind);
        QString path = tmp("pipe");
        if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == "device")
            path = "/dev/zero";
        QTemporaryDir shm("/dev/shm/vexa-XXXXXX");
        if (kind == "shm") {
            if (!shm.isValid())
                QSKIP("no /dev/shm here");
            path = shm.filePath("clip.bin");
            QFile(media("clip.bin", 3 << 20)).copy(path);
        }
        DemoProject project = projectFromTemplate("Show", BlankTemplate);
        project.media.push_back({"m", path, 1000, true});
        open(tmp("Show.ptr7"), project);
        std::atomic<int> finished{-1};
        mgr->sigPackageFinished.connect(std::function<void(bool, const std::string&)>(
            [&](bool ok, const std::string&) { finished = ok ? 1 : 0; }));
        const FileSizeLimit guard(64 << 20); // a copy of /dev/zero ends here, not on a full disk
        mgr->writeProject(packageRecord(tmp("out/Pack")), false);
        QTRY_VERIFY_WITH_TIMEOUT(finished >= 0, 20000);
        mgr->waitIdle();
        if (kind == "shm") {
            QCOMPARE(readAll(tmp("out/Pack/resPath/clip.bin")), readAll(path));
            return;
        }
        QCOMPARE(finished.load(), 0);
        QCOMPARE(mgr->lastPackageError(), EINVAL);
        QVERIFY(!QFileInfo::exists(tmp("out/Pack")));
    }

    // The progress reaches the whole only once the copies are on the device.
    void progressCountsTheFlush()
    {
        DemoProject project = projectFromTemplate("Show", BlankTemplate);
        project.media.push_back({"a", media("a.bin", 3 << 20), 0, true});
        open(tmp("Show.ptr7"), project);
        std::atomic<quint64> reported{0}, atLastChunk{0};
        mgr->sigPackageProgress.connect(std::function<void(std::uint64_t)>([&](std::uint64_t n) { reported += n; }));
        mgr->setCopyRate(100 << 20); // copies in small chunks
        mgr->setChunkHook([&](quint64 done, quint64 total) {
            QThread::msleep(110); // every chunk is due for a report
            if (done == total)
                atLastChunk = reported.load();
        });
        mgr->writeProject(packageRecord(tmp("out/Pack")), false);
        mgr->waitIdle();
        QCOMPARE(reported.load(), quint64(3 << 20));
        QVERIFY(atLastChunk < reported);
    }

    // waitIdle() returns once the package's answer has been sent.
    void waitIdleWaitsForThePackagesAnswer()
    {
        open(tmp("Show.ptr7"), projectFromTemplate("Show", BlankTemplate));
        std::atomic<bool> answered{false};
        mgr->sigPackageFinished.connect(std::function<void(bool, const std::string&)>([&](bool, const std::string&) {
            QThread::msleep(100);
            answered = true;
        }));
        mgr->writeProject(packageRecord(tmp("out/Pack")), false);
        mgr->waitIdle();
        QVERIFY(answered);
    }

    // Requests still queued when the manager goes are carried out and answered.
    void queuedRequestsAreAnsweredAtTheEnd()
    {
        open(tmp("Show.ptr7"), projectFromTemplate("Show", BlankTemplate));
        std::atomic<bool> release{false};
        mgr->setSaveHook([&] {
            while (!release)
                QThread::msleep(1);
        });
        std::atomic<int> saves{0}, opens{0};
        mgr->sigSaveFinished.connect(std::function<void(const std::string&)>([&](const std::string&) { ++saves; }));
        mgr->sigOpenFinished.connect(
            std::function<void(const std::string&, EnProjectOpenStatus, bool)>([&](const std::string&, EnProjectOpenStatus, bool) { ++opens; }));
        STProjectFile record;
        record.strProfilePath = tmp("Show.ptr7").toStdString();
        mgr->writeProject(record, false); // held in the hook
        mgr->writeProject(record, false);
        mgr->loadProject(record.strProfilePath, unserializeDefault);
        std::thread end([this] { mgr.reset(); });
        QTest::qWait(100); // the destructor has begun
        release = true;
        end.join();
        QCOMPARE(saves.load(), 2);
        QCOMPARE(opens.load(), 1);
    }
};

VEXA_TEST_MAIN(TestDemoManager)
#include "tst_demo_manager.moc"
