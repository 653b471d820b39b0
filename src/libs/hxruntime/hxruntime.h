#pragma once

#include "hxruntime_global.h"
#include "ihxruntime.h"

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace norvane {

// A host runtime with its own thread and task queue. Tasks run one after the
// other on that thread; notifications are delivered there too. Tasks still
// queued when the runtime stops are dropped without running, so anyone
// waiting on them is released.
class HXRUNTIME_EXPORT HXRuntime : public IHXRuntime
{
public:
    HXRuntime();
    ~HXRuntime() override;
    HXRuntime(const HXRuntime&) = delete;
    HXRuntime& operator=(const HXRuntime&) = delete;

    void postTask(std::function<void()> task, const char* file, int line, const char* function) override;
    void registerNotify(const char* name, const char* handlerName, std::function<void(void*)> handler, void* owner,
                        int mode) override;
    void unregisterNotify(const char* name, const char* handlerName, void* owner) override;
    bool isRuntimeThread() override;
    bool canCall(const char* file, int line, const char* function) override;

    // Switch for canCall (true at start).
    void setCallable(bool callable);

    // Raises a notification: every handler registered for `name` is called on
    // the runtime's thread with `argument`.
    void notify(const std::string& name, void* argument = nullptr);

    // Blocks until every task posted before this call has run.
    void waitIdle();

    // Stops the thread; queued tasks are dropped. Called by the destructor.
    void stop();

    std::thread::id threadId() const;
    std::size_t notifyHandlerCount(const std::string& name) const;

    // Where the last postTask came from, for diagnostics.
    std::string lastPostedFrom() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace norvane
