#pragma once

// The host runtime: owns the thread on which manager calls run and delivers
// named notifications.

#include <functional>

namespace norvane {

class IHXRuntime
{
public:
    virtual ~IHXRuntime() = default;

    // Runs the task later on the runtime's thread. file/line/function name the
    // calling place for the runtime's diagnostics.
    virtual void postTask(std::function<void()> task, const char* file, int line, const char* function) = 0;

    // Calls `handler` whenever the notification `name` is raised.
    virtual void registerNotify(const char* name, const char* handlerName, std::function<void(void*)> handler,
                                void* owner, int mode) = 0;
    virtual void unregisterNotify(const char* name, const char* handlerName, void* owner) = 0;

    // True when the caller already runs on the runtime's thread.
    virtual bool isRuntimeThread() = 0;

    // False means the call must not be made now.
    virtual bool canCall(const char* file, int line, const char* function) = 0;
};

} // namespace norvane
