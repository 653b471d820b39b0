#pragma once

#include "projectfiletypes.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackageInfo)
Q_DECLARE_METATYPE(vexa::projectfilemgr::STPackage)
Q_DECLARE_METATYPE(vexa::projectfilemgr::EnProjectOpenStatus)
// Qt 6 knows std::string without it, and moc's code for the recent list's
// signals, compiled before this header, would make a second declaration clash.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
Q_DECLARE_METATYPE(std::string)
#endif

namespace norvane {
class IHXRuntime;
}

#define VEXA_CALL_IN_RUNTIME(bridge, function, ...) (bridge)->callInRuntime(__FILE__, __LINE__, function, __VA_ARGS__)

namespace vexa {
namespace projectfilemgr {

class IProjectFileMgr;

// The start page's way to the host: attaching and detaching the runtime and
// the manager, calls on the runtime's thread, the manager's answers and the
// runtime's restore notices. The answers arrive on the host's threads; the
// signals below are raised there, so connect them queued to reach the GUI
// thread. Once a detach returns, nothing of the host calls into the page.
class HostBridge : public QObject
{
    Q_OBJECT
public:
    explicit HostBridge(QObject* parent = nullptr);
    ~HostBridge() override;

    // Listens to the runtime's restore notices; a runtime attached before
    // (or the same one again) gives up its handlers first.
    void attachRuntime(norvane::IHXRuntime* runtime);
    // Once this returns no restore notice touches the page, not even one
    // the runtime is delivering at this moment.
    void detachRuntime();
    norvane::IHXRuntime* runtime() const { return hxRuntime; }

    // Connects the manager's answers through the runtime; false, with nothing
    // attached, when the runtime refuses the call. One manager at a time.
    bool attachManager(IProjectFileMgr* mgr);
    // Once this returns no manager signal calls into the page, whatever the runtime did.
    void detachManager();
    IProjectFileMgr* manager() const { return projectFileMgr; }

    // Runs `call` on the runtime's thread and returns once it has run; false
    // when it did not run (see callInRuntime).
    bool callInRuntime(const char* file, int line, const char* function, const std::function<void()>& call) const;

    // A system restore was announced and not yet begun.
    bool restorePending() const;
    void setRestorePending(bool pending);
    // No restore is under way (the busy dialog of one may close).
    bool restoreFinished() const;
    void setRestoreFinished(bool finished);

Q_SIGNALS:
    void openFinished(const QString& filePath, vexa::projectfilemgr::EnProjectOpenStatus status);
    void saveFinished(const QString& filePath);
    void packageDialogRequested(const vexa::projectfilemgr::STPackageInfo& info);
    void packageFinished(bool isSuccess, const std::string& path);
    void packageProhibited();
    void shortcutReset();

private:
    // The handlers run on the manager's threads: they only copy their
    // arguments and raise the matching signal.
    void notifyOpenFinish(const std::string& filePath, EnProjectOpenStatus status, bool);
    void notifySaveFinish(const std::string& filePath);
    void notifyShowPackageDialog(const STPackageInfo& info);
    void notifyFinishPackage(bool isSuccess, const std::string& path);
    void notifyProhibitPackage();
    void notifyResetShortcut();
    void disconnectManager();
    void dropRuntimeNotices();

    void onSystemRestoreWaitNotify(void*);
    void onSystemRestoreNotify(void*);

    IProjectFileMgr* projectFileMgr = nullptr;
    norvane::IHXRuntime* hxRuntime = nullptr;
    // Written by the restore notices on the runtime's thread, read by run().
    std::atomic<bool> systemRestorePending{false};
    std::atomic<bool> _isProjectRestoreFinished{true};
    // What the runtime's handlers reach this bridge through. Each attach has
    // its own; a detach closes it under its lock, so a delivery under way
    // either ends before the detach returns or finds it closed.
    struct NoticeGate;
    std::shared_ptr<NoticeGate> noticeGate;
};

} // namespace projectfilemgr
} // namespace vexa
