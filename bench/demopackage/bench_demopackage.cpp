// Packages a few hundred MB of media with the demo host's manager and, in the
// same run, copies the same files with cp followed by sync; rounds alternate
// which goes first. Prints each round's wall times, the medians and their
// ratio (the package's time over cp + sync).
//   bench_demopackage [MiB=400] [rounds=5] [folder=the system's temporary folder]

#include "demomanager.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vexademo;
using namespace vexa::projectfilemgr;

namespace {

constexpr int kFiles = 8;

bool run(const QString& command)
{
    return QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}) == 0;
}

// Media files of distinct content, written and flushed before any round.
QStringList makeMedia(const QString& folder, qint64 totalBytes)
{
    QStringList files;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (int i = 0; i < kFiles; ++i) {
        QFile file(QStringLiteral("%1/clip%2.bin").arg(folder).arg(i));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        for (qint64 written = 0; written < totalBytes / kFiles; written += block.size()) {
            for (int b = 0; b < block.size(); b += 64)
                block[b] = static_cast<char>(written / block.size() + b / 64 + i);
            file.write(block);
        }
        files << file.fileName();
    }
    run(QStringLiteral("sync"));
    return files;
}

double packageSeconds(DemoProjectMgr& mgr, const QString& target)
{
    STProjectFile record;
    record.isPackage = true;
    record.packageData.packagePath = target.toStdString();
    record.packageData.allMedias = true;
    QElapsedTimer clock;
    clock.start();
    mgr.writeProject(record, false);
    mgr.waitIdle(); // returns once the finish has been sent
    return clock.nsecsElapsed() / 1e9;
}

double copySeconds(const QString& media, const QString& target)
{
    QElapsedTimer clock;
    clock.start();
    if (!run(QStringLiteral("cp -r '%1' '%2' && sync").arg(media, target)))
        return -1;
    return clock.nsecsElapsed() / 1e9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int appArgc = 1;
    QApplication app(appArgc, argv);
    const qint64 mib = argc > 1 ? std::atoll(argv[1]) : 400;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir work(argc > 3 ? QString::fromLocal8Bit(argv[3]) + QStringLiteral("/bench-XXXXXX") : QString());
    if (!work.isValid() || !QDir().mkpath(work.filePath(QStringLiteral("media"))))
        return 1;
    const QStringList media = makeMedia(work.filePath(QStringLiteral("media")), mib << 20);
    if (media.size() != kFiles)
        return 1;

    DemoProjectMgr mgr(work.filePath(QStringLiteral("list.json")), work.filePath(QStringLiteral("images")));
    std::atomic<int> failed{0};
    mgr.sigPackageFinished.connect(
        std::function<void(bool, const std::string&)>([&failed](bool ok, const std::string&) { failed += ok ? 0 : 1; }));
    DemoProject project = projectFromTemplate(QStringLiteral("Bench"), TwoScreenTemplate);
    for (const QString& file : media)
        project.media.push_back({QFileInfo(file).baseName(), file, static_cast<quint64>(QFileInfo(file).size()), true});
    const QString projectFile = work.filePath(QStringLiteral("Bench.ptr7"));
    if (!writeProjectFile(projectFile, project))
        return 1;
    mgr.loadProject(projectFile.toStdString(), unserializeDefault);
    mgr.waitIdle();

    std::printf("%lld MiB in %d files, %d rounds\nround  package s  cp+sync s\n", static_cast<long long>(mib), kFiles,
                rounds);
    std::vector<double> packaged, copied;
    for (int r = 0; r < rounds; ++r) {
        const QString out = work.filePath(QStringLiteral("out"));
        auto measure = [&](bool package) {
            (package ? packaged : copied).push_back(package ? packageSeconds(mgr, out + QStringLiteral("/pkg"))
                                                            : copySeconds(work.filePath(QStringLiteral("media")),
                                                                          out + QStringLiteral("/cp")));
        };
        QDir().mkpath(out);
        measure(r % 2 == 0);
        measure(r % 2 != 0);
        // The next round starts with the deletions on disk, not pending.
        QDir(out).removeRecursively();
        run(QStringLiteral("sync"));
        std::printf("%5d  %9.3f  %9.3f\n", r + 1, packaged.back(), copied.back());
    }
    if (failed > 0 || *std::min_element(copied.begin(), copied.end()) < 0) {
        std::fprintf(stderr, "a package or a copy failed\n");
        return 1;
    }
    const double p = median(packaged), c = median(copied);
    std::printf("median  %7.3f  %9.3f\nratio (package / cp+sync): %.3f\n", p, c, p / c);
    return 0;
}
