#pragma once

// The host's project-file manager as the start page sees it. The host
// implements it; the page calls it (on the runtime's thread, except
// requestPackage) and connects to its signals, which the manager raises on
// threads of its own.

#include "projectfiletypes.h"
#include "threadsafesignal.h"

#include <cstdint>
#include <string>

namespace vexa {
namespace projectfilemgr {

class IProjectFileMgr
{
public:
    virtual ~IProjectFileMgr() = default;

    // Host-side queries; the page never calls these.
    virtual bool isProjectOpen() const = 0;
    virtual std::string currentProjectPath() const = 0;
    virtual std::string currentProjectName() const = 0;
    virtual bool isModified() const = 0;

    // Starts opening; answers later with sigOpenFinished.
    virtual void loadProject(const std::string& filePath, unserializeType type) = 0;
    // Creates a project from a template; answers later with sigOpenFinished.
    virtual void createProject(const std::string& filePath, TemplateType type) = 0;
    // Saves (isSaveAs: under a new path) or packages (projectFile.isPackage);
    // answers with sigSaveFinished, or for a package with progress and sigPackageFinished.
    virtual void writeProject(const STProjectFile& projectFile, bool isSaveAs) = 0;

    // Host-side operations; the page never calls these.
    virtual void closeProject() = 0;
    virtual std::uint64_t projectMediaSize(bool allMedias) const = 0;

    // Answers with sigShowPackageDialog or sigProhibitPackage.
    virtual void requestPackage() = 0;

    ThreadSafeSignal<const std::string&, EnProjectOpenStatus, bool> sigOpenFinished;
    ThreadSafeSignal<const std::string&> sigSaveFinished;
    ThreadSafeSignal<> sigArgumentOpenFailed;
    ThreadSafeSignal<const STPackageInfo&> sigShowPackageDialog;
    ThreadSafeSignal<bool, const std::string&> sigPackageFinished;
    ThreadSafeSignal<std::uint64_t> sigPackageProgress; // bytes written since the last report
    ThreadSafeSignal<bool> sigStopPackage;              // true: stop; false: a package starts now
    ThreadSafeSignal<> sigPackageAble;
    ThreadSafeSignal<> sigProhibitPackage;
    ThreadSafeSignal<> sigResetShortcut;
    ThreadSafeSignal<> sigOpenFinishReceived;
};

} // namespace projectfilemgr
} // namespace vexa
