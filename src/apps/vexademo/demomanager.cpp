#include "demomanager.h"

#include "autosavefile.h"
#include "packagejob.h"
#include "recentlist.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

using namespace vexa::projectfilemgr;

namespace vexademo {

namespace {

// "Kind:cause:path", the cause an errno value (0: none known).
std::string hostError(const char* kind, int cause, const std::string& path)
{
    return std::string(kind) + ':' + std::to_string(cause) + ':' + path;
}

} // namespace

DemoProjectMgr::DemoProjectMgr(const QString& listPath, const QString& imageFolder, const QString& autosaveFolder)
    : listPath_(listPath), imageFolder_(imageFolder), autosaveFolder_(autosaveFolder)
{
    sigStopPackage.connect(&DemoProjectMgr::onStopPackage, this);
    worker_ = std::thread([this] { workerLoop(); });
}

DemoProjectMgr::~DemoProjectMgr()
{
    cancel_ = true;
    {
        // What is queued still runs: every request gets its answer, and a
        // save the user asked for is not dropped.
        std::lock_guard<std::mutex> lock(queueMutex_);
        stopping_ = true;
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
            if (queue_.empty())
                return; // stopping, and everything queued has run
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
    packageCv_.wait(lock, [this] { return !packaging_ && !answering_; });
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

std::uint64_t DemoProjectMgr::changeCount() const
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    return changes_;
}

void DemoProjectMgr::touch()
{
    modified_ = true;
    ++changes_;
}

void DemoProjectMgr::closeProject()
{
    QString closed;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        closed = project_ ? projectPath_ : QString();
        project_.reset();
        projectPath_.clear();
        modified_ = false;
        ++generation_;
    }
    // On the worker, after an autosave that may be under way.
    post([this, closed] { removeAutosave(closed); });
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
            touch();
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
        touch();
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

void DemoProjectMgr::setSaveHook(std::function<void()> hook)
{
    std::lock_guard<std::mutex> lock(stateMutex_);
    saveHook_ = std::move(hook);
}

void DemoProjectMgr::requestAutosave()
{
    post([this] { doAutosave(); });
}

void DemoProjectMgr::recoverProject(const QString& autosaveFile)
{
    post([this, autosaveFile] { doRecover(autosaveFile); });
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
    std::unique_lock<std::mutex> lock(packageMutex_);
    packageCv_.wait(lock, [this] { return !answering_; }); // the last package's thread is about to end
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
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        if (packaging_) {
            cancel_ = true; // the package thread cleans up and answers sigPackageAble
            return;
        }
    }
    // Nothing is running (the package ended just before): ready at once.
    post([this] { sigPackageAble(); });
}

// ---------------------------------------------------------------------------
// Work

void DemoProjectMgr::adopt(const DemoProject& project, const QString& file, const QString& thumbnail, bool modified)
{
    QString replaced;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        replaced = project_ && projectPath_ != file ? projectPath_ : QString();
        project_ = project;
        projectPath_ = file;
        modified_ = modified;
        ++changes_;
        autosaved_ = modified ? changes_ : 0;
        ++generation_;
    }
    removeAutosave(replaced);
    addRecentProject(listPath_, file, project.name, thumbnail);
    sigProjectChanged();
}

void DemoProjectMgr::removeAutosave(const QString& projectPath)
{
    if (autosaveFolder_.isEmpty() || projectPath.isEmpty())
        return;
    const QString file = autosavePathFor(autosaveFolder_, projectPath);
    if (QFileInfo::exists(file) && !QFile::remove(file))
        qWarning() << "autosave not removed:" << file;
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
        writeThumbnail(project, thumbnail);
    adopt(project, file, thumbnail);
    sigOpenFinished(path, Success, false);
}

void DemoProjectMgr::doRecover(const QString& autosaveFile)
{
    AutosaveRecord record;
    QString error;
    if (!readAutosave(autosaveFile, record, &error)) {
        qWarning() << "autosave cannot be recovered:" << autosaveFile << error;
        sigOpenFinished(autosaveFile.toStdString(), FileDamage, false);
        return;
    }
    // Saving writes the project file again; the autosave stays until then.
    adopt(record.project, record.projectPath, thumbnailPathFor(imageFolder_, record.projectPath), true);
    sigOpenFinished(record.projectPath.toStdString(), Success, false);
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
    writeThumbnail(project, thumbnail);
    adopt(project, file, thumbnail);
    sigOpenFinished(path, Success, false);
}

void DemoProjectMgr::doSave(const STProjectFile& record, bool isSaveAs)
{
    const QString file = QString::fromStdString(record.strProfilePath);
    DemoProject project;
    std::uint64_t changes = 0;
    std::uint64_t generation = 0;
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_) {
            qWarning() << "save refused: no project is open";
            sigHostError(hostError("SaveFailed", 0, record.strProfilePath));
            return;
        }
        project = *project_;
        changes = changes_;
        generation = generation_;
        hook = saveHook_;
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
    if (hook)
        hook();
    const QString folder = record.strImagePath.empty() ? imageFolder_ : QString::fromStdString(record.strImagePath);
    const QString thumbnail = thumbnailPathFor(folder, file);
    if (!writeThumbnail(project, thumbnail))
        qWarning() << "thumbnail not written:" << thumbnail << std::strerror(errno);
    markSaved(project, file, changes, generation, isSaveAs);
    addRecentProject(listPath_, file, project.name, thumbnail);
    sigProjectChanged();
    sigSaveFinished(record.strProfilePath);
}

void DemoProjectMgr::markSaved(const DemoProject& saved, const QString& file, std::uint64_t changes,
                               std::uint64_t generation, bool isSaveAs)
{
    QString left; // the file whose autosave the save has made needless
    bool clean = false;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_ || generation_ != generation || (!isSaveAs && projectPath_ != file))
            return; // another project is open now: it keeps its own state
        left = projectPath_;
        if (isSaveAs) {
            // The new file is the one the user goes on with: later saves go
            // there. Edits made while it was written stay in the open project.
            for (DemoMedia& m : project_->media)
                m.path = resolveMediaPath(projectPath_, m);
            project_->name = saved.name;
            projectPath_ = file;
            autosaved_ = 0; // the new file has no autosave yet
        }
        project_->modified = saved.modified;
        clean = changes_ == changes;
        modified_ = !clean;
    }
    if (left != file || clean)
        removeAutosave(left);
    if (left != file && clean)
        removeAutosave(file);
}

void DemoProjectMgr::doAutosave()
{
    if (autosaveFolder_.isEmpty())
        return;
    DemoProject project;
    QString path;
    std::uint64_t changes = 0;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (!project_ || !modified_ || autosaved_ == changes_)
            return;
        project = *project_;
        path = projectPath_;
        changes = changes_;
    }
    if (!writeAutosave(autosaveFolder_, path, project)) {
        qWarning() << "autosave not written:" << autosavePathFor(autosaveFolder_, path) << std::strerror(errno);
        return;
    }
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (project_ && projectPath_ == path)
        autosaved_ = changes;
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
    PackageJob::Settings settings;
    settings.copyRate = copyRate_;
    settings.cancel = &cancel_;
    settings.progress = [this](std::uint64_t bytes) { sigPackageProgress(bytes); };
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        settings.chunkHook = chunkHook_;
    }
    PackageJob job(record, project, projectPath, settings);
    const bool ok = job.run();

    bool cancelled = false;
    {
        // A stop that arrives from now on finds nothing running and is answered at once.
        std::lock_guard<std::mutex> lock(packageMutex_);
        cancelled = cancel_;
        packaging_ = false;
        answering_ = true;
        packageError_ = ok || cancelled ? 0 : job.cause();
    }
    if (cancelled && ok)
        job.discard(); // finished just as the user stopped it
    if (cancelled)
        sigPackageAble();
    else
        sigPackageFinished(ok, record.packageData.packagePath);
    {
        std::lock_guard<std::mutex> lock(packageMutex_);
        answering_ = false;
    }
    packageCv_.notify_all();
}

} // namespace vexademo
