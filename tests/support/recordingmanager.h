#pragma once

// A project-file manager for tests: records every call with its arguments and
// the thread it ran on, and raises any of its signals from a foreign thread.

#include "iprojectfilemgr.h"

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vexatest {

struct ManagerCall {
    std::string name;                 // "loadProject", "createProject", "writeProject", "requestPackage"
    std::string path;                 // file path argument, when there is one
    int mode = 0;                     // unserializeType / TemplateType / isSaveAs
    vexa::projectfilemgr::STProjectFile record; // writeProject's record
    std::thread::id thread;
};

class RecordingManager : public vexa::projectfilemgr::IProjectFileMgr
{
public:
    RecordingManager();
    ~RecordingManager() override;

    bool isProjectOpen() const override { return false; }
    std::string currentProjectPath() const override { return {}; }
    std::string currentProjectName() const override { return {}; }
    bool isModified() const override { return false; }
    void loadProject(const std::string& filePath, vexa::projectfilemgr::unserializeType type) override;
    void createProject(const std::string& filePath, vexa::projectfilemgr::TemplateType type) override;
    void writeProject(const vexa::projectfilemgr::STProjectFile& projectFile, bool isSaveAs) override;
    void closeProject() override {}
    std::uint64_t projectMediaSize(bool) const override { return 0; }
    void requestPackage() override;

    std::vector<ManagerCall> calls() const;
    std::size_t callCount(const std::string& name) const;
    ManagerCall lastCall(const std::string& name) const;
    void clearCalls();

    // Runs `raise` on a new thread and waits for it, so the manager's signal
    // reaches the page from a thread that is neither the GUI's nor the runtime's.
    static void fromForeignThread(const std::function<void()>& raise);

    // Called (on the runtime's thread) after a call is recorded; tests answer from here.
    std::function<void(const ManagerCall&)> onCall;
    // Sets onCall to answer every loadProject and createProject (only the
    // calls named `only`, when given) with `status`, from a foreign thread.
    void answerOpens(vexa::projectfilemgr::EnProjectOpenStatus status, const std::string& only = std::string());

    // Counts of the signals the page raises itself.
    int argumentOpenFailedCount() const;
    int openFinishReceivedCount() const;
    std::vector<bool> stopPackageValues() const;

private:
    void record(ManagerCall call);

    mutable std::mutex mutex_;
    std::vector<ManagerCall> calls_;
    int argumentOpenFailed_ = 0;
    int openFinishReceived_ = 0;
    std::vector<bool> stopPackage_;
};

} // namespace vexatest
