#pragma once

// The demo host's project-file manager. Calls from the start page arrive on
// the runtime's thread and return at once; the work runs on a worker thread
// of the manager (opening, creating, saving) or on a package thread (copying),
// which raise the manager's signals when done.

#include "demoproject.h"
#include "iprojectfilemgr.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vexademo {

class DemoProjectMgr : public vexa::projectfilemgr::IProjectFileMgr
{
public:
    // listPath: the recent list file; imageFolder: where open and create put
    // the project's thumbnail (a save names its own folder); autosaveFolder:
    // where unsaved states are kept (empty: none are).
    DemoProjectMgr(const QString& listPath, const QString& imageFolder, const QString& autosaveFolder = QString());
    ~DemoProjectMgr() override;
    DemoProjectMgr(const DemoProjectMgr&) = delete;
    DemoProjectMgr& operator=(const DemoProjectMgr&) = delete;

    bool isProjectOpen() const override;
    std::string currentProjectPath() const override;
    std::string currentProjectName() const override;
    bool isModified() const override;
    void loadProject(const std::string& filePath, vexa::projectfilemgr::unserializeType type) override;
    void createProject(const std::string& filePath, vexa::projectfilemgr::TemplateType type) override;
    void writeProject(const vexa::projectfilemgr::STProjectFile& projectFile, bool isSaveAs) override;
    void closeProject() override;
    std::uint64_t projectMediaSize(bool allMedias) const override;
    void requestPackage() override;

    // Host side.
    std::optional<DemoProject> currentProject() const;
    // Adds media files to the open project (used, with their sizes now); the
    // project becomes modified. Returns how many were added.
    int addMedia(const QStringList& files);
    // Marks a media entry used or unused; the project becomes modified.
    bool setMediaUsed(int index, bool used);
    // Caps the package copy at this many bytes per second (0: no cap).
    void setCopyRate(quint64 bytesPerSecond);
    // Called on the package thread after every copied chunk.
    void setChunkHook(std::function<void(quint64 done, quint64 total)> hook);
    bool isPackaging() const;
    // Counts every change to the open project; a save clears the modified
    // flag only when the count is what it was when the save took its copy.
    std::uint64_t changeCount() const;
    // Writes the open project's unsaved state to its autosave file (on the
    // worker, after what is queued), when it changed since the last one.
    void requestAutosave();
    // Opens a project with the content of its autosave, marked unsaved; the
    // answer is the same as for loadProject.
    void recoverProject(const QString& autosaveFile);
    // Called on the worker after a save has written the project file, before
    // the project is marked saved.
    void setSaveHook(std::function<void()> hook);
    // Why the last package failed, as an errno value (0: it did not, or no cause is known).
    int lastPackageError() const;
    // Blocks until the worker has nothing queued and no package is running
    // or still sending its answer.
    void waitIdle();

    // Raised (on a worker thread) when the open project or its state changed.
    vexa::projectfilemgr::ThreadSafeSignal<> sigProjectChanged;
    // Raised (on a worker thread) when a request failed in a way the page has
    // no answer for: the host closes its busy dialog and tells the user.
    // "CreateFailed" or "SaveFailed", the errno value, the path, joined by ':'.
    vexa::projectfilemgr::ThreadSafeSignal<const std::string&> sigHostError;

private:
    struct PackageResult;

    void post(std::function<void()> job);
    void workerLoop();
    void onStopPackage(bool stop);
    void doLoad(const std::string& path);
    void doCreate(const std::string& path, int templateType);
    void doSave(const vexa::projectfilemgr::STProjectFile& record, bool isSaveAs);
    // After a save: the open project takes what the save changed (a Save As:
    // path, name, media paths) and is clean when nothing changed meanwhile.
    void markSaved(const DemoProject& saved, const QString& file, std::uint64_t changes, std::uint64_t generation,
                   bool isSaveAs);
    void doAutosave();
    void doRecover(const QString& autosaveFile);
    void doRequestPackage();
    void runPackage(vexa::projectfilemgr::STProjectFile record, DemoProject project, QString projectPath);
    // Makes an opened or created project the current one and lists it first;
    // the project it replaces leaves no autosave behind.
    void adopt(const DemoProject& project, const QString& file, const QString& thumbnail, bool modified = false);
    void removeAutosave(const QString& projectPath);
    // Marks the project changed; call with stateMutex_ held.
    void touch();

    const QString listPath_;
    const QString imageFolder_;
    const QString autosaveFolder_;

    mutable std::mutex stateMutex_;
    std::optional<DemoProject> project_;
    QString projectPath_;
    bool modified_ = false;
    std::uint64_t changes_ = 0;
    std::uint64_t generation_ = 0; // a new one for every project put in place
    std::uint64_t autosaved_ = 0;  // the change count the autosave file holds
    std::function<void()> saveHook_;

    std::mutex queueMutex_;
    std::condition_variable queueCv_;
    std::deque<std::function<void()>> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;

    mutable std::mutex packageMutex_;
    std::condition_variable packageCv_;
    std::thread packageThread_;
    std::atomic<bool> packaging_{false};
    bool answering_ = false; // the package has ended and is sending its answer
    std::atomic<bool> cancel_{false};
    std::atomic<quint64> copyRate_{0};
    std::function<void(quint64, quint64)> chunkHook_;
    int packageError_ = 0;
};

} // namespace vexademo
