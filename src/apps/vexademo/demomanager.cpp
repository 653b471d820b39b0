#include "demomanager.h"

#include "recentlist.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

using namespace vexa::projectfilemgr;

namespace vexademo {

namespace {

constexpr qint64 kChunk = 256 * 1024;
constexpr qint64 kReportIntervalMs = 100;

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

// "Kind:cause:path", the cause an errno value (0: none known).
std::string hostError(const char* kind, int cause, const std::string& path)
{
    return std::string(kind) + ':' + std::to_string(cause) + ':' + path;
}

// Why a write failed: Qt tells a full disk apart; anything else is in errno.
int writeCause(const QFile& file)
{
    return file.error() == QFileDevice::ResourceError ? ENOSPC : errno;
}

} // namespace

DemoProjectMgr::DemoProjectMgr(const QString& listPath, const QString& imageFolder)
    : listPath_(listPath), imageFolder_(imageFolder)
{
    sigStopPackage.connect(&DemoProjectMgr::onStopPackage, this);
    worker_ = std::thread([this] { workerLoop(); });
}

DemoProjectMgr::~DemoProjectMgr()
{
    cancel_ = true;
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        stopping_ = true;
        queue_.clear();
    }
    queueCv_.notify_all();
    if (worker_.joinable())
        worker_.join();
    std::thread package;
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        package = std::move(packageThread_);
    }
    if (package.joinable())
        package.join();
}

// ---------------------------------------------------------------------------
// Worker

void DemoProjectMgr::post(std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> lock(queueMutex_);
        if (stopping_)
            return;
        queue_.push_back(std::move(job));
    }
    queueCv_.notify_all();
}

void DemoProjectMgr::workerLoop()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(queueMutex_);
            queueCv_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_)
                return;
            job = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }
        job();
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            busy_ = false;
        }
        queueCv_.notify_all();
    }
}

void DemoProjectMgr::waitIdle()
{
    {
        std::unique_lock<std::mutex> lock(queueMutex_);
        queueCv_.wait(lock, [this] { return stopping_ || (queue_.empty() && !busy_); });
    }
    std::unique_lock<std::mutex> lock(packageMutex_);
    packageCv_.wait(lock, [this] { return !packaging_; });
}

// ---------------------------------------------------------------------------
// Queries

bool DemoProjectMgr::isProjectOpen() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_.has_value();
}

std::string DemoProjectMgr::currentProjectPath() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_ ? projectPath_.toStdString() : std::string();
}

std::string DemoProjectMgr::currentProjectName() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_ ? project_->name.toStdString() : std::string();
}

bool DemoProjectMgr::isModified() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_ && modified_;
}

std::optional<DemoProject> DemoProjectMgr::currentProject() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_;
}

std::uint64_t DemoProjectMgr::projectMediaSize(bool allMedias) const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return project_ ? totalMediaSize(projectPath_, *project_, allMedias) : 0;
}

int DemoProjectMgr::lastPackageError() const
{
    std::lock_guard<std::mutex> lock(packageMutex_);
    return packageError_;
}

bool DemoProjectMgr::isPackaging() const
{
    return packaging_;
}

void DemoProjectMgr::closeProject()
{
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        project_.reset();
        projectPath_.clear();
        modified_ = false;
    }
    sigProjectChanged();
}

int DemoProjectMgr::addMedia(const QStringList& files)
{
    int added = 0;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_)
            return 0;
        for (const QString& file : files) {
            const QFileInfo info(file);
            if (!info.isFile())
                continue;
            DemoMedia media;
            media.name = info.completeBaseName();
            media.path = info.absoluteFilePath();
            media.size = static_cast<quint64>(info.size());
            project_->media.push_back(media);
            ++added;
        }
        if (added > 0)
            modified_ = true;
    }
    if (added > 0)
        sigProjectChanged();
    return added;
}

bool DemoProjectMgr::setMediaUsed(int index, bool used)
{
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_ || index < 0 || index >= project_->media.size())
            return false;
        if (project_->media[index].used == used)
            return true;
        project_->media[index].used = used;
        modified_ = true;
    }
    sigProjectChanged();
    return true;
}

void DemoProjectMgr::setCopyRate(quint64 bytesPerSecond)
{
    copyRate_ = bytesPerSecond;
}

void DemoProjectMgr::setChunkHook(std::function<void(quint64, quint64)> hook)
{
    std::lock_guard<std::mutex> lock(packageMutex_);
    chunkHook_ = std::move(hook);
}

// ---------------------------------------------------------------------------
// Requests from the page (on the runtime's thread): queue and return.

void DemoProjectMgr::loadProject(const std::string& filePath, unserializeType)
{
    post([this, filePath] { doLoad(filePath); });
}

void DemoProjectMgr::createProject(const std::string& filePath, TemplateType type)
{
    post([this, filePath, type] { doCreate(filePath, type); });
}

void DemoProjectMgr::writeProject(const STProjectFile& projectFile, bool isSaveAs)
{
    if (!projectFile.isPackage) {
        post([this, projectFile, isSaveAs] { doSave(projectFile, isSaveAs); });
        return;
    }
    // Packaging starts now, on a thread of its own, so progress and a cancel
    // can arrive while the copy runs.
    std::optional<DemoProject> project;
    QString projectPath;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        project = project_;
        projectPath = projectPath_;
    }
    std::lock_guard<std::mutex> lock(packageMutex_);
    if (!project || packaging_) {
        qWarning() << "package refused:" << (project ? "a package is running" : "no project is open");
        const std::string path = projectFile.packageData.packagePath;
        post([this, path] { sigPackageFinished(false, path); });
        return;
    }
    if (packageThread_.joinable())
        packageThread_.join(); // the previous package has ended
    cancel_ = false;
    packaging_ = true;
    packageThread_ = std::thread([this, projectFile, p = *project, projectPath] { runPackage(projectFile, p, projectPath); });
}

void DemoProjectMgr::requestPackage()
{
    post([this] { doRequestPackage(); });
}

void DemoProjectMgr::onStopPackage(bool stop)
{
    if (!stop)
        return;
    if (packaging_) {
        cancel_ = true; // the package thread cleans up and answers sigPackageAble
        return;
    }
    // Nothing is running (the package ended just before): ready at once.
    post([this] { sigPackageAble(); });
}

// ---------------------------------------------------------------------------
// Work

bool DemoProjectMgr::saveThumbnail(const DemoProject& project, const QString& file) const
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QImage image = renderThumbnail(project);
    const QString temp = file + QStringLiteral(".part");
    if (!image.save(temp, "PNG"))
        return false;
    QFile::remove(file);
    return QFile::rename(temp, file);
}

void DemoProjectMgr::adopt(const DemoProject& project, const QString& file, const QString& thumbnail)
{
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        project_ = project;
        projectPath_ = file;
        modified_ = false;
    }
    addRecentProject(listPath_, file, project.name, thumbnail);
    sigProjectChanged();
}

void DemoProjectMgr::doLoad(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    DemoProject project;
    QString error;
    if (!readProjectFile(file, project, &error)) {
        qWarning() << "project cannot be opened:" << file << error;
        sigOpenFinished(path, FileDamage, false);
        return;
    }
    const QString thumbnail = thumbnailPathFor(imageFolder_, file);
    if (!QFileInfo::exists(thumbnail))
        saveThumbnail(project, thumbnail);
    adopt(project, file, thumbnail);
    sigOpenFinished(path, Success, false);
}

void DemoProjectMgr::doCreate(const std::string& path, int templateType)
{
    const QString file = QString::fromStdString(path);
    const DemoProject project = projectFromTemplate(QFileInfo(file).completeBaseName(), templateType);
    if (!writeProjectFile(file, project)) {
        const int cause = errno;
        qWarning() << "project cannot be created:" << file << std::strerror(cause);
        sigHostError(hostError("CreateFailed", cause, path));
        return;
    }
    const QString thumbnail = thumbnailPathFor(imageFolder_, file);
    saveThumbnail(project, thumbnail);
    adopt(project, file, thumbnail);
    sigOpenFinished(path, Success, false);
}

void DemoProjectMgr::doSave(const STProjectFile& record, bool isSaveAs)
{
    const QString file = QString::fromStdString(record.strProfilePath);
    DemoProject project;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_) {
            qWarning() << "save refused: no project is open";
            sigHostError(hostError("SaveFailed", 0, record.strProfilePath));
            return;
        }
        project = *project_;
        // Saved elsewhere, the project keeps its media where they are.
        if (isSaveAs) {
            for (DemoMedia& m : project.media)
                m.path = resolveMediaPath(projectPath_, m);
            project.name = QFileInfo(file).completeBaseName();
        }
    }
    project.modified = QDateTime::currentDateTime();
    if (file.isEmpty() || !writeProjectFile(file, project)) {
        const int cause = file.isEmpty() ? ENOENT : errno;
        qWarning() << "project cannot be saved:" << file << std::strerror(cause);
        sigHostError(hostError("SaveFailed", cause, record.strProfilePath));
        return;
    }
    const QString folder = record.strImagePath.empty() ? imageFolder_ : QString::fromStdString(record.strImagePath);
    const QString thumbnail = thumbnailPathFor(folder, file);
    if (!saveThumbnail(project, thumbnail))
        qWarning() << "thumbnail not written:" << thumbnail;
    if (isSaveAs) {
        // The new file is the one the user goes on with: later saves go there.
        adopt(project, file, thumbnail);
        sigSaveFinished(record.strProfilePath);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (project_ && projectPath_ == file) {
            project_->modified = project.modified;
            modified_ = false;
        }
    }
    addRecentProject(listPath_, file, project.name, thumbnail);
    sigProjectChanged();
    sigSaveFinished(record.strProfilePath);
}

void DemoProjectMgr::doRequestPackage()
{
    std::optional<DemoProject> project;
    QString projectPath;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        project = project_;
        projectPath = projectPath_;
    }
    if (!project || packaging_) {
        sigProhibitPackage();
        return;
    }
    STPackageInfo info;
    info.allMediasSize = totalMediaSize(projectPath, *project, true);
    info.usedMediasSize = totalMediaSize(projectPath, *project, false);
    for (int i = 0; i < project->media.size(); ++i)
        info.mediaList.push_back(i);
    sigShowPackageDialog(info);
}

void DemoProjectMgr::runPackage(STProjectFile record, DemoProject project, QString projectPath)
{
    const STPackage& pkg = record.packageData;
    const QString packagePath = QString::fromStdString(pkg.packagePath);
    const QString resPath = pkg.resPath.empty() ? packagePath + QStringLiteral("/resPath") : QString::fromStdString(pkg.resPath);
    const QString imagePath =
        record.strImagePath.empty() ? packagePath + QStringLiteral("/imagePath/") : QString::fromStdString(record.strImagePath);
    const QString projectFile = record.strProfilePath.empty() ? packagePath + QStringLiteral("/project.ptr7")
                                                              : QString::fromStdString(record.strProfilePath);

    // Everything this package made, so a cancel or a failure takes away
    // exactly that and nothing the user had there before.
    QStringList createdFiles;
    QStringList packageFolders;
    for (const std::string& folder : {pkg.optimizatedPath, pkg.resPath, pkg.imagePath, pkg.packagePath}) {
        if (!folder.empty())
            packageFolders << QDir::cleanPath(QString::fromStdString(folder));
    }
    for (const QString& folder : {resPath, imagePath}) {
        if (!QFileInfo::exists(folder)) {
            QDir().mkpath(folder);
            packageFolders.prepend(QDir::cleanPath(folder));
        }
    }

    std::function<void(quint64, quint64)> hook;
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        hook = chunkHook_;
    }

    QVector<DemoMedia> chosen;
    for (const DemoMedia& m : project.media) {
        if (pkg.allMedias || m.used)
            chosen.push_back(m);
    }
    quint64 total = 0;
    for (const DemoMedia& m : chosen)
        total += mediaSizeOnDisk(projectPath, m);

    bool ok = true;
    QString failure;
    int cause = 0;
    quint64 done = 0;
    quint64 unreported = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 lastReport = 0;
    QStringList taken;
    QVector<DemoMedia> packaged;
    std::vector<char> buffer(static_cast<std::size_t>(kChunk));

    for (const DemoMedia& m : chosen) {
        if (cancel_ || !ok)
            break;
        const QString source = resolveMediaPath(projectPath, m);
        const QString name = freeName(resPath, QFileInfo(source).fileName(), taken);
        const QString target = resPath + QLatin1Char('/') + name;
        QFile in(source);
        QFile out(target);
        if (!in.open(QIODevice::ReadOnly)) {
            cause = QFileInfo::exists(source) ? errno : ENOENT;
            ok = false;
            failure = QStringLiteral("cannot read %1").arg(source);
            break;
        }
        // NewOnly: never write over a file this package did not make.
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            cause = errno;
            ok = false;
            failure = QStringLiteral("cannot write %1").arg(target);
            break;
        }
        createdFiles << target;
        for (;;) {
            if (cancel_)
                break;
            const qint64 n = in.read(buffer.data(), kChunk);
            if (n < 0) {
                cause = QFileInfo::exists(source) ? errno : ENOENT;
                ok = false;
                failure = QStringLiteral("read error in %1").arg(source);
                break;
            }
            if (n == 0)
                break;
            if (out.write(buffer.data(), n) != n) {
                cause = writeCause(out);
                ok = false;
                failure = QStringLiteral("write error in %1").arg(target);
                break;
            }
            done += static_cast<quint64>(n);
            unreported += static_cast<quint64>(n);
            const quint64 rate = copyRate_;
            if (rate > 0) {
                const qint64 due = static_cast<qint64>(done * 1000 / rate);
                const qint64 ahead = due - clock.elapsed();
                if (ahead > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(ahead));
            }
            if (clock.elapsed() - lastReport >= kReportIntervalMs) {
                lastReport = clock.elapsed();
                sigPackageProgress(unreported);
                unreported = 0;
            }
            if (hook)
                hook(done, total);
        }
        if (ok && !out.flush()) {
            cause = writeCause(out);
            ok = false;
            failure = QStringLiteral("write error in %1").arg(target);
        }
        out.close();
        DemoMedia copy = m;
        copy.path = QStringLiteral("resPath/") + name;
        copy.size = static_cast<quint64>(QFileInfo(target).size());
        packaged.push_back(copy);
    }

    if (ok && !cancel_) {
        DemoProject packagedProject = project;
        packagedProject.media = packaged;
        packagedProject.modified = QDateTime::currentDateTime();
        if (QFileInfo::exists(projectFile) || !writeProjectFile(projectFile, packagedProject)) {
            cause = QFileInfo::exists(projectFile) ? EEXIST : errno;
            ok = false;
            failure = QStringLiteral("cannot write %1").arg(projectFile);
        } else {
            createdFiles << projectFile;
        }
        const QString thumbnail = imagePath + (imagePath.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) +
                                  QStringLiteral("project.png");
        if (ok && !QFileInfo::exists(thumbnail)) {
            if (renderThumbnail(packagedProject).save(thumbnail, "PNG"))
                createdFiles << thumbnail;
            else
                qWarning() << "package thumbnail not written:" << thumbnail;
        }
    }
    if (unreported > 0 && !cancel_)
        sigPackageProgress(unreported);

    const bool cancelled = cancel_;
    if (cancelled || !ok) {
        for (auto it = createdFiles.crbegin(); it != createdFiles.crend(); ++it)
            QFile::remove(*it);
        // rmdir removes a folder only when it is empty.
        for (const QString& folder : packageFolders)
            QDir().rmdir(folder);
    }
    if (!ok && !cancelled)
        qWarning() << "package failed:" << failure;

    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        packaging_ = false;
        packageError_ = ok ? 0 : cause;
    }
    packageCv_.notify_all();

    if (cancelled)
        sigPackageAble();
    else
        sigPackageFinished(ok, pkg.packagePath);
}

} // namespace vexademo
