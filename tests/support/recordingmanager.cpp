#include "recordingmanager.h"

namespace vexatest {

RecordingManager::RecordingManager()
{
    sigArgumentOpenFailed.connect([this] {
        std::lock_guard<std::mutex> lock(mutex_);
        ++argumentOpenFailed_;
    });
    sigOpenFinishReceived.connect([this] {
        std::lock_guard<std::mutex> lock(mutex_);
        ++openFinishReceived_;
    });
    sigStopPackage.connect([this](bool stop) {
        std::lock_guard<std::mutex> lock(mutex_);
        stopPackage_.push_back(stop);
    });
}

RecordingManager::~RecordingManager() = default;

void RecordingManager::record(ManagerCall call)
{
    call.thread = std::this_thread::get_id();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(call);
    }
    if (onCall)
        onCall(call);
}

void RecordingManager::loadProject(const std::string& filePath, vexa::projectfilemgr::unserializeType type)
{
    ManagerCall call;
    call.name = "loadProject";
    call.path = filePath;
    call.mode = type;
    record(call);
}

void RecordingManager::createProject(const std::string& filePath, vexa::projectfilemgr::TemplateType type)
{
    ManagerCall call;
    call.name = "createProject";
    call.path = filePath;
    call.mode = type;
    record(call);
}

void RecordingManager::writeProject(const vexa::projectfilemgr::STProjectFile& projectFile, bool isSaveAs)
{
    ManagerCall call;
    call.name = "writeProject";
    call.path = projectFile.strProfilePath;
    call.mode = isSaveAs ? 1 : 0;
    call.record = projectFile;
    record(call);
}

void RecordingManager::requestPackage()
{
    ManagerCall call;
    call.name = "requestPackage";
    record(call);
}

std::vector<ManagerCall> RecordingManager::calls() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

std::size_t RecordingManager::callCount(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t count = 0;
    for (const auto& call : calls_)
        count += call.name == name ? 1 : 0;
    return count;
}

ManagerCall RecordingManager::lastCall(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        if (it->name == name)
            return *it;
    }
    return {};
}

void RecordingManager::clearCalls()
{
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

void RecordingManager::answerOpens(vexa::projectfilemgr::EnProjectOpenStatus status, const std::string& only)
{
    onCall = [this, status, only](const ManagerCall& call) {
        const bool open = call.name == "loadProject" || call.name == "createProject";
        if (open && (only.empty() || call.name == only))
            fromForeignThread([this, call, status] { sigOpenFinished(call.path, status, false); });
    };
}

void RecordingManager::fromForeignThread(const std::function<void()>& raise)
{
    std::thread thread(raise);
    thread.join();
}

int RecordingManager::argumentOpenFailedCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return argumentOpenFailed_;
}

int RecordingManager::openFinishReceivedCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return openFinishReceived_;
}

std::vector<bool> RecordingManager::stopPackageValues() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return stopPackage_;
}

} // namespace vexatest
