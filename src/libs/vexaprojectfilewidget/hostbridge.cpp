#include "hostbridge.h"

#include "ihxruntime.h"
#include "iprojectfilemgr.h"
#include "runtimecall.h"

#include <QDebug>
#include <mutex>

namespace vexa {
namespace projectfilemgr {

struct HostBridge::NoticeGate {
    std::mutex mutex;
    HostBridge* bridge = nullptr;

    void deliver(void (HostBridge::*handler)(void*), void* argument)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (bridge)
            (bridge->*handler)(argument);
    }
    void close()
    {
        std::lock_guard<std::mutex> lock(mutex);
        bridge = nullptr;
    }
};

HostBridge::HostBridge(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<STPackageInfo>("STPackageInfo");
    qRegisterMetaType<STPackage>("STPackage");
    qRegisterMetaType<EnProjectOpenStatus>("EnProjectOpenStatus");
    qRegisterMetaType<std::string>("std::string");
}

HostBridge::~HostBridge()
{
    // The page detaches first; this only covers a bridge used on its own.
    if (projectFileMgr)
        detachManager();
    dropRuntimeNotices();
}

bool HostBridge::callInRuntime(const char* file, int line, const char* function, const std::function<void()>& call) const
{
    return vexa::projectfilemgr::callInRuntime(hxRuntime, file, line, function, call);
}

bool HostBridge::attachManager(IProjectFileMgr* mgr)
{
    if (projectFileMgr)
        detachManager(); // one manager at a time, each slot connected once
    HostBridge* bridge = this;
    const bool connected = VEXA_CALL_IN_RUNTIME(this, "setProjectFileMgr", [mgr, bridge] {
        mgr->sigShowPackageDialog.connect(&HostBridge::notifyShowPackageDialog, bridge);
        mgr->sigPackageFinished.connect(&HostBridge::notifyFinishPackage, bridge);
        mgr->sigOpenFinished.connect(&HostBridge::notifyOpenFinish, bridge);
        mgr->sigSaveFinished.connect(&HostBridge::notifySaveFinish, bridge);
        mgr->sigProhibitPackage.connect(&HostBridge::notifyProhibitPackage, bridge);
        mgr->sigResetShortcut.connect(&HostBridge::notifyResetShortcut, bridge);
    });
    if (connected)
        projectFileMgr = mgr;
    return connected;
}

void HostBridge::detachManager()
{
    if (!projectFileMgr)
        return;
    disconnectManager();
    projectFileMgr = nullptr;
}

void HostBridge::disconnectManager()
{
    IProjectFileMgr* mgr = projectFileMgr;
    HostBridge* bridge = this;
    callInRuntimeOrHere(hxRuntime, __FILE__, __LINE__, "unsetProjectFileMgr", [mgr, bridge] {
        mgr->sigShowPackageDialog.disconnect(&HostBridge::notifyShowPackageDialog, bridge);
        mgr->sigPackageFinished.disconnect(&HostBridge::notifyFinishPackage, bridge);
        mgr->sigOpenFinished.disconnect(&HostBridge::notifyOpenFinish, bridge);
        mgr->sigSaveFinished.disconnect(&HostBridge::notifySaveFinish, bridge);
        mgr->sigProhibitPackage.disconnect(&HostBridge::notifyProhibitPackage, bridge);
        mgr->sigResetShortcut.disconnect(&HostBridge::notifyResetShortcut, bridge);
    });
}

void HostBridge::attachRuntime(norvane::IHXRuntime* runtime)
{
    // A runtime attached before must not keep handlers pointing at this page,
    // and the same one attached again must not call them twice.
    dropRuntimeNotices();
    hxRuntime = runtime;
    noticeGate = std::make_shared<NoticeGate>();
    noticeGate->bridge = this;
    const std::shared_ptr<NoticeGate> gate = noticeGate;
    runtime->registerNotify("OnSystemRestoreWait", "ProjectFileWidget::Impl::onSystemRestoreWaitNotify",
                            [gate](void* argument) { gate->deliver(&HostBridge::onSystemRestoreWaitNotify, argument); },
                            this, 3);
    runtime->registerNotify("OnSystemRestore", "ProjectFileWidget::Impl::onSystemRestoreNotify",
                            [gate](void* argument) { gate->deliver(&HostBridge::onSystemRestoreNotify, argument); },
                            this, 3);
}

void HostBridge::detachRuntime()
{
    dropRuntimeNotices();
    hxRuntime = nullptr;
}

void HostBridge::dropRuntimeNotices()
{
    // Closed first: the runtime may be delivering a notice right now, and
    // does not wait for it when the handler is unregistered.
    if (noticeGate)
        noticeGate->close();
    noticeGate.reset();
    if (!hxRuntime)
        return;
    hxRuntime->unregisterNotify("OnSystemRestore", "ProjectFileWidget::Impl::onSystemRestoreNotify", this);
    hxRuntime->unregisterNotify("OnSystemRestoreWait", "ProjectFileWidget::Impl::onSystemRestoreWaitNotify", this);
}

void HostBridge::onSystemRestoreWaitNotify(void* argument)
{
    onSystemRestoreNotify(argument);
}

void HostBridge::onSystemRestoreNotify(void*)
{
    _isProjectRestoreFinished = false;
    systemRestorePending = true;
}

bool HostBridge::restorePending() const
{
    return systemRestorePending;
}

void HostBridge::setRestorePending(bool pending)
{
    systemRestorePending = pending;
}

bool HostBridge::restoreFinished() const
{
    return _isProjectRestoreFinished;
}

void HostBridge::setRestoreFinished(bool finished)
{
    _isProjectRestoreFinished = finished;
}

void HostBridge::notifyOpenFinish(const std::string& filePath, EnProjectOpenStatus status, bool)
{
    Q_EMIT openFinished(QString::fromStdString(filePath), status);
}

void HostBridge::notifySaveFinish(const std::string& filePath)
{
    Q_EMIT saveFinished(QString::fromStdString(filePath));
}

void HostBridge::notifyShowPackageDialog(const STPackageInfo& info)
{
    Q_EMIT packageDialogRequested(info);
}

void HostBridge::notifyFinishPackage(bool isSuccess, const std::string& path)
{
    Q_EMIT packageFinished(isSuccess, path);
}

void HostBridge::notifyProhibitPackage()
{
    Q_EMIT packageProhibited();
}

void HostBridge::notifyResetShortcut()
{
    Q_EMIT shortcutReset();
}

} // namespace projectfilemgr
} // namespace vexa
