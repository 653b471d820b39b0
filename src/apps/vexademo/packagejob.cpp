#include "packagejob.h"

#include "durablecopy.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <limits>
#include <thread>

using namespace vexa::projectfilemgr;

namespace vexademo {

namespace {

constexpr qint64 kReportIntervalMs = 100;
// Large enough that a chunk costs few system calls, small enough that the
// device is kept busy while the next one is copied.
constexpr std::uint64_t kChunk = 8 * 1024 * 1024;
constexpr std::uint64_t kCappedChunk = 256 * 1024;

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// A file name not yet taken in `folder` (and not in `taken`): name, name-2, ...
QString freeName(const QString& folder, const QString& name, QStringList& taken)
{
    const QFileInfo info(name);
    QString candidate = name;
    for (int i = 2; taken.contains(candidate) || QFileInfo::exists(folder + QLatin1Char('/') + candidate); ++i) {
        candidate = info.suffix().isEmpty()
                        ? QStringLiteral("%1-%2").arg(info.completeBaseName()).arg(i)
                        : QStringLiteral("%1-%2.%3").arg(info.completeBaseName()).arg(i).arg(info.suffix());
    }
    taken << candidate;
    return candidate;
}

QString orDefault(const std::string& given, const QString& fallback)
{
    return given.empty() ? fallback : QString::fromStdString(given);
}

} // namespace

PackageJob::PackageJob(const STProjectFile& record, const DemoProject& project, const QString& projectPath,
                       Settings settings)
    : record_(record), project_(project), projectPath_(projectPath), settings_(std::move(settings))
{
    const STPackage& pkg = record_.packageData;
    packagePath_ = QString::fromStdString(pkg.packagePath);
    resPath_ = orDefault(pkg.resPath, packagePath_ + QStringLiteral("/resPath"));
    imagePath_ = orDefault(record_.strImagePath, packagePath_ + QStringLiteral("/imagePath/"));
    projectFile_ = orDefault(record_.strProfilePath, packagePath_ + QStringLiteral("/project.ptr7"));
    for (const DemoMedia& m : project_.media) {
        if (!pkg.allMedias && !m.used)
            continue;
        chosen_.push_back(m);
        sizes_.push_back(mediaSizeOnDisk(projectPath_, m));
        total_ = sizes_.last() > std::numeric_limits<quint64>::max() - total_ ? std::numeric_limits<quint64>::max()
                                                                              : total_ + sizes_.last();
    }
}

bool PackageJob::cancelled() const
{
    return settings_.cancel && *settings_.cancel;
}

bool PackageJob::fail(int cause, const QString& what)
{
    cause_ = cause;
    if (!cancelled())
        qWarning() << "package failed:" << what;
    return false;
}

bool PackageJob::run()
{
    // Everything this package made, so a cancel or a failure takes away
    // exactly that and nothing the user had there before.
    const STPackage& pkg = record_.packageData;
    for (const std::string& folder : {pkg.optimizatedPath, pkg.resPath, pkg.imagePath, pkg.packagePath}) {
        if (!folder.empty())
            packageFolders_ << QDir::cleanPath(QString::fromStdString(folder));
    }
    for (const QString& folder : {resPath_, imagePath_}) {
        if (!QFileInfo::exists(folder)) {
            QDir().mkpath(folder);
            packageFolders_.prepend(QDir::cleanPath(folder));
        }
    }
    started_ = nowMs();
    lastReport_ = started_;
    const bool ok = copyMedia() && !cancelled() && writeProjectAndThumbnail() && syncFolders();
    if (ok && !cancelled()) {
        onDurable(0, true); // the last bytes count once their folders are on the device too
        return true;
    }
    discard();
    return false;
}

bool PackageJob::copyMedia()
{
    const bool capped = settings_.copyRate > 0;
    DurableCopy copier([this](std::uint64_t bytes) { return onCopied(bytes); },
                       [this](std::uint64_t bytes) { onDurable(bytes, false); }, capped ? kCappedChunk : kChunk);
    QStringList taken;
    for (int i = 0; i < chosen_.size() && !cancelled(); ++i) {
        const QString source = resolveMediaPath(projectPath_, chosen_[i]);
        const QString name = freeName(resPath_, QFileInfo(source).fileName(), taken);
        const QString target = resPath_ + QLatin1Char('/') + name;
        if (!QFileInfo::exists(source))
            return fail(ENOENT, QStringLiteral("cannot read %1").arg(source));
        const int cause = copier.copy(source, target, sizes_[i]);
        if (QFileInfo::exists(target) && !createdFiles_.contains(target) && cause != EEXIST)
            createdFiles_ << target;
        if (cause == ECANCELED || cancelled())
            return false;
        if (cause != 0)
            return fail(cause, copier.failure());
        DemoMedia copy = chosen_[i];
        copy.path = QStringLiteral("resPath/") + name;
        copy.size = static_cast<quint64>(QFileInfo(target).size());
        packaged_.push_back(copy);
    }
    return true;
}

bool PackageJob::writeProjectAndThumbnail()
{
    DemoProject packaged = project_;
    packaged.media = packaged_;
    packaged.modified = QDateTime::currentDateTime();
    if (QFileInfo::exists(projectFile_))
        return fail(EEXIST, QStringLiteral("cannot write %1").arg(projectFile_));
    if (!writeProjectFile(projectFile_, packaged))
        return fail(errno, QStringLiteral("cannot write %1").arg(projectFile_));
    createdFiles_ << projectFile_;
    const QString thumbnail = QDir(imagePath_).filePath(QStringLiteral("project.png"));
    if (!QFileInfo::exists(thumbnail)) {
        if (writeThumbnail(packaged, thumbnail))
            createdFiles_ << thumbnail;
        else
            qWarning() << "package thumbnail not written:" << thumbnail;
    }
    return true;
}

bool PackageJob::syncFolders()
{
    // The new entries of every folder, and the package folder's own entry in its parent.
    QStringList folders{resPath_, imagePath_, QFileInfo(projectFile_).absolutePath(), packagePath_,
                        QFileInfo(packagePath_).absolutePath()};
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        if (QFileInfo(folder).isDir() && !syncFolder(folder))
            return fail(errno, QStringLiteral("cannot flush %1").arg(folder));
    }
    return true;
}

bool PackageJob::onCopied(std::uint64_t bytes)
{
    done_ += bytes;
    if (settings_.copyRate > 0) {
        const qint64 due = static_cast<qint64>(done_ * 1000 / settings_.copyRate);
        const qint64 ahead = due - (nowMs() - started_);
        if (ahead > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(ahead));
    }
    if (settings_.chunkHook)
        settings_.chunkHook(done_, total_);
    return !cancelled();
}

void PackageJob::onDurable(std::uint64_t bytes, bool force)
{
    unreported_ += bytes;
    if (cancelled() || unreported_ == 0 || !settings_.progress)
        return;
    if (force || nowMs() - lastReport_ >= kReportIntervalMs) {
        lastReport_ = nowMs();
        settings_.progress(unreported_);
        unreported_ = 0;
    }
}

void PackageJob::discard()
{
    for (auto it = createdFiles_.crbegin(); it != createdFiles_.crend(); ++it)
        QFile::remove(*it);
    // rmdir removes a folder only when it is empty.
    for (const QString& folder : packageFolders_)
        QDir().rmdir(folder);
}

} // namespace vexademo
