#include "runtimecall.h"

#include "ihxruntime.h"

#include <QDebug>
#include <exception>
#include <future>
#include <memory>

namespace vexa {
namespace projectfilemgr {

namespace {
void logFailure(const char* function, const char* what)
{
    qWarning() << "callInRuntime:" << function << "failed:" << what;
}
} // namespace

bool callInRuntime(norvane::IHXRuntime* runtime, const char* file, int line, const char* function,
                   const std::function<void()>& call)
{
    if (!runtime) {
        qWarning() << "hxRuntime is null, call not made:" << function;
        return false;
    }
    if (!runtime->canCall(file, line, function))
        return false;

    if (runtime->isRuntimeThread()) {
        try {
            call();
        } catch (const std::exception& e) {
            logFailure(function, e.what());
        } catch (...) {
            logFailure(function, "unknown exception");
        }
        return true;
    }

    auto task = std::make_shared<std::packaged_task<void()>>(call);
    std::future<void> done = task->get_future();
    runtime->postTask([task] { (*task)(); }, file, line, function);
    task.reset(); // only the runtime holds the task now, so dropping it releases the wait
    try {
        done.get();
    } catch (const std::future_error&) {
        logFailure(function, "the runtime dropped the task");
        return false;
    } catch (const std::exception& e) {
        logFailure(function, e.what());
    } catch (...) {
        logFailure(function, "unknown exception");
    }
    return true;
}

void callInRuntimeOrHere(norvane::IHXRuntime* runtime, const char* file, int line, const char* function,
                         const std::function<void()>& call)
{
    if (callInRuntime(runtime, file, line, function, call))
        return;
    qWarning() << "the runtime did not run" << function << ", made directly instead";
    call();
}

} // namespace projectfilemgr
} // namespace vexa
