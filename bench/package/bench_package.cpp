// Raises package progress reports from a foreign thread while the GUI thread
// runs its event loop with the package dialog open and packaging:
//   burst  - 10 000 reports as fast as the reporting thread can raise them;
//   steady - 1 000 reports per second for 5 seconds.
// Prints the reporting thread's cost per report, how many updates reached the
// GUI thread, and (steady) the worst lateness of a 5 ms repeating timer.
// Log lines are counted and dropped, so the figures leave out the host's logger.

#include "hxruntime.h"
#include "iprojectfilemgr.h"
#include "packagemath.h"
#include "packagepage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace vexa::projectfilemgr;
using Clock = std::chrono::steady_clock;

namespace {

std::atomic<long> gProgressLines{0};
std::atomic<long> gUpdateLines{0};

void countingHandler(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (message.startsWith(QLatin1String("Package progress show:")))
        ++gProgressLines;
    else if (message.startsWith(QLatin1String("current progress value")))
        ++gUpdateLines;
}

bool plentyOfSpace(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    bytes = 1ULL << 40;
    errorCode = 0;
    return true;
}

class Manager : public IProjectFileMgr
{
public:
    bool isProjectOpen() const override { return true; }
    std::string currentProjectPath() const override { return {}; }
    std::string currentProjectName() const override { return {}; }
    bool isModified() const override { return false; }
    void loadProject(const std::string&, unserializeType) override {}
    void createProject(const std::string&, TemplateType) override {}
    void writeProject(const STProjectFile&, bool) override {}
    void closeProject() override {}
    std::uint64_t projectMediaSize(bool) const override { return 0; }
    void requestPackage() override {}
};

struct RunResult {
    double seconds = 0;
    double meanReportMicros = 0;
    double worstReportMicros = 0;
    long updates = 0;
    double worstLatencyMs = 0;
    long ticks = 0;
};

// Runs the GUI loop until `reports` have been raised (at `perSecond`, or as
// fast as possible when 0) and the last update has arrived.
RunResult run(Manager& mgr, int reports, int perSecond)
{
    gUpdateLines = 0;
    gProgressLines = 0;
    RunResult result;
    std::atomic<bool> done{false};
    std::vector<double> costs(static_cast<std::size_t>(reports));

    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    const int tickMs = 5;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double elapsed = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6;
        sinceTick.restart();
        result.worstLatencyMs = std::max(result.worstLatencyMs, elapsed - tickMs);
        ++result.ticks;
    });
    sinceTick.start();
    ticker.start(tickMs);

    const auto begin = Clock::now();
    std::thread reporter([&] {
        auto next = Clock::now();
        const auto step = perSecond > 0 ? std::chrono::nanoseconds(1000000000LL / perSecond) : std::chrono::nanoseconds(0);
        for (int i = 0; i < reports; ++i) {
            if (perSecond > 0) {
                next += step;
                std::this_thread::sleep_until(next);
            }
            const auto t0 = Clock::now();
            mgr.sigPackageProgress(4096);
            costs[static_cast<std::size_t>(i)] =
                std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
        }
        done = true;
    });

    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done && gProgressLines == reports && gUpdateLines > 0) {
            // Let the last queued update land.
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            poll.stop();
        }
    });
    poll.start(1);
    loop.exec();
    reporter.join();
    ticker.stop();
    result.seconds = std::chrono::duration<double>(Clock::now() - begin).count();

    double sum = 0;
    for (double c : costs) {
        sum += c;
        result.worstReportMicros = std::max(result.worstReportMicros, c);
    }
    result.meanReportMicros = sum / reports;
    result.updates = gUpdateLines;
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QApplication app(appArgc, argv);
    Q_UNUSED(argc)
    qInstallMessageHandler(countingHandler);
    setPackageFreeSpaceQuery(&plentyOfSpace);

    QTemporaryDir dir;
    norvane::HXRuntime runtime;
    Manager mgr;
    PackagePage page;
    page.setHXRuntime(&runtime);
    page.setProjectFileMgr(&mgr);
    STPackageInfo info;
    info.usedMediasSize = info.allMediasSize = 1ULL << 36;
    page.setMediaSize(info);
    page.findChild<QLineEdit*>(QStringLiteral("packageLocationEdit"))->setText(dir.path());
    page.setDefaultFolderName(QStringLiteral("bench"));
    page.show();
    page.findChild<QPushButton*>(QStringLiteral("packageButton"))->click();

    const RunResult burst = run(mgr, 10000, 0);
    std::printf("burst : 10000 reports in %.3f s; reporter %.2f us/report mean, %.1f us worst; "
                "%ld updates reached the GUI; worst timer lateness %.2f ms\n",
                burst.seconds, burst.meanReportMicros, burst.worstReportMicros, burst.updates,
                burst.worstLatencyMs);

    const RunResult steady = run(mgr, 5000, 1000);
    std::printf("steady: 5000 reports at 1000/s in %.3f s; reporter %.2f us/report mean, %.1f us worst; "
                "%ld updates reached the GUI; 5 ms timer: %ld ticks, worst lateness %.2f ms\n",
                steady.seconds, steady.meanReportMicros, steady.worstReportMicros, steady.updates, steady.ticks,
                steady.worstLatencyMs);

    page.unsetProjectFileMgr();
    page.unsetHXRuntime();
    setPackageFreeSpaceQuery(nullptr);
    return 0;
}
