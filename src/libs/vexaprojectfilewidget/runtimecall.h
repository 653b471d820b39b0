#pragma once

#include <functional>

namespace norvane {
class IHXRuntime;
}

namespace vexa {
namespace projectfilemgr {

// Runs `call` on the runtime's thread and returns once it has run: inline when
// already there, otherwise posted as a task while the caller blocks. Returns
// false when the call did not run (no runtime, canCall refused, the runtime
// dropped the task). Exceptions thrown by the call are logged, never passed on.
bool callInRuntime(norvane::IHXRuntime* runtime, const char* file, int line, const char* function,
                   const std::function<void()>& call);

// For calls that must happen whatever the runtime does (detaching from a
// manager's signals, which are thread-safe): through the runtime when it runs
// the call, otherwise directly on this thread with a warning.
void callInRuntimeOrHere(norvane::IHXRuntime* runtime, const char* file, int line, const char* function,
                         const std::function<void()>& call);

} // namespace projectfilemgr
} // namespace vexa
