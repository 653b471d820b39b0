#include "storagemode.h"

#include "benchfiles.h"
#include "projectfilewidget.h"
#include "slowshare.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLocal = 200;
constexpr int kOnShare = 3;
constexpr int kShareDelayMs = 5000;
constexpr int kWatchMs = 3000;
constexpr int kRounds = 5;

void writeList(const QString& files, const QString& share, int onShare)
{
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write the list file");
    QTextStream out(&file);
    out << "{\"projects\":[";
    for (int i = 0; i < kLocal + kOnShare; ++i) {
        // The share's projects among the newest, where a user opens them from.
        const bool shared = i < onShare;
        const QString project = shared ? QDir(share).filePath(QStringLiteral("shared_%1.ptr7").arg(i))
                                       : projectPath(files, i);
        out << (i ? "," : "") << "{\"strProfileName\":\"p" << i << "\",\"strProfilePath\":\"" << project
            << "\",\"strImagePath\":\"" << imagePath(files, i) << "\",\"isDamageFile\":false}";
    }
    out << "]}";
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool runChild(const QString& program, const QString& files, const QString& share, int onShare, double* run,
              double* silence)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--storage-one"), files, share, QString::number(onShare)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
    if (f.size() != 3 || f[0] != "STORAGE")
        return false;
    *run = f[1].toDouble();
    *silence = f[2].toDouble();
    return true;
}

} // namespace

int measureStorageOne(const QString& files, const QString& share, int onShare)
{
    writeList(files, share, onShare);
    vexa::projectfilemgr::ProjectFileWidget page;
    page.resize(1280, 800);
    bool painted = false;
    struct PaintSeen : QObject {
        bool* seen;
        explicit PaintSeen(bool* s) : seen(s) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            *seen = *seen || event->type() == QEvent::Paint;
            return false;
        }
    } watch(&painted);
    page.findChild<QListWidget*>(QStringLiteral("FileListWidget"))->viewport()->installEventFilter(&watch);

    // A 5 ms timer: the longest gap between its turns is the longest the
    // page held the GUI thread.
    QElapsedTimer clock;
    double lastTick = 0, silence = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    ticks.setInterval(5);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const double now = clock.nsecsElapsed() / 1e6;
        silence = std::max(silence, now - lastTick);
        lastTick = now;
    });
    clock.start();
    ticks.start();
    page.run();
    while (!painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double run = clock.nsecsElapsed() / 1e6;
    silence = std::max(silence, run - lastTick);
    while (clock.elapsed() < kWatchMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("STORAGE %.2f %.2f\n", run, silence);
    std::fflush(stdout);
    // The questions still waiting on the share end with the process.
    std::_Exit(0);
}

int measureStorage(const QString& program, const QString& files)
{
    vexatest::SlowShare share(kShareDelayMs, 0);
    if (!share.mounted()) {
        std::printf("storage mode skipped: FUSE mount not made: %s\n", qPrintable(share.why()));
        return 0;
    }
    for (int i = 0; i < kOnShare; ++i) {
        if (!QFile::copy(projectPath(files, kLocal + i), share.backing(QStringLiteral("shared_%1.ptr7").arg(i))))
            return 1;
    }
    std::vector<double> slowRun, slowSilence, localRun, localSilence;
    for (int round = 0; round < kRounds; ++round) {
        for (const bool slow : {true, false}) {
            QElapsedTimer started;
            started.start();
            double run = 0, silence = 0;
            if (!runChild(program, files, share.path(), slow ? kOnShare : 0, &run, &silence))
                return 1;
            (slow ? slowRun : localRun).push_back(run);
            (slow ? slowSilence : localSilence).push_back(silence);
            // The share's waits of this child end before the next one asks.
            while (slow && started.elapsed() < kShareDelayMs + 500)
                QThread::msleep(50);
        }
    }
    std::printf("\nstorage: %d local projects plus %d on a share whose every stat takes %d ms, against all local\n",
                kLocal, kOnShare, kShareDelayMs);
    std::printf("%-22s | %12s %24s\n", "", "run() ms", "worst GUI silence ms");
    std::printf("%-22s | %12.1f %24.1f\n", "3 on the slow share", median(slowRun), median(slowSilence));
    std::printf("%-22s | %12.1f %24.1f\n", "all local", median(localRun), median(localSilence));
    std::printf("ratio run() slow / local: %.2f (by round:", median(slowRun) / median(localRun));
    for (int round = 0; round < kRounds; ++round)
        std::printf(" %.2f", slowRun[static_cast<std::size_t>(round)] / localRun[static_cast<std::size_t>(round)]);
    std::printf(")\n");
    return 0;
}
