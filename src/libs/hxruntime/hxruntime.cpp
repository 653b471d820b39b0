#include "hxruntime.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <vector>

namespace norvane {

namespace {
struct Handler
{
    std::string name;
    std::string handlerName;
    std::function<void(void*)> fn;
    void* owner;
    int mode;
};
} // namespace

struct HXRuntime::Private
{
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> tasks;
    bool stopping = false;
    std::atomic<bool> callable{true};
    std::vector<Handler> handlers;
    std::string lastPostedFrom;
    std::thread thread;
    std::thread::id threadId;

    void loop()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return stopping || !tasks.empty(); });
                if (stopping)
                    return;
                task = std::move(tasks.front());
                tasks.pop_front();
            }
            // A throwing task must not take the runtime down with it.
            try {
                task();
            } catch (...) {
            }
        }
    }
};

HXRuntime::HXRuntime() : d(new Private)
{
    d->thread = std::thread([this] { d->loop(); });
    d->threadId = d->thread.get_id();
}

HXRuntime::~HXRuntime()
{
    stop();
}

void HXRuntime::stop()
{
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        if (d->stopping)
            return;
        d->stopping = true;
        dropped.swap(d->tasks);
    }
    d->wake.notify_all();
    if (d->thread.joinable()) {
        if (std::this_thread::get_id() == d->threadId)
            d->thread.detach();
        else
            d->thread.join();
    }
    // Destroying the dropped tasks outside the lock releases their waiters.
    dropped.clear();
}

void HXRuntime::postTask(std::function<void()> task, const char* file, int line, const char* function)
{
    if (!task)
        return;
    std::unique_lock<std::mutex> lock(d->mutex);
    d->lastPostedFrom = std::string(file ? file : "?") + ":" + std::to_string(line) + " " + (function ? function : "?");
    if (d->stopping) {
        lock.unlock();
        return; // dropped: the task is destroyed here
    }
    d->tasks.push_back(std::move(task));
    lock.unlock();
    d->wake.notify_one();
}

void HXRuntime::registerNotify(const char* name, const char* handlerName, std::function<void(void*)> handler,
                               void* owner, int mode)
{
    if (!name || !handler)
        return;
    std::lock_guard<std::mutex> lock(d->mutex);
    d->handlers.push_back(Handler{name, handlerName ? handlerName : "", std::move(handler), owner, mode});
}

void HXRuntime::unregisterNotify(const char* name, const char* handlerName, void* owner)
{
    if (!name)
        return;
    const std::string n(name);
    const std::string h(handlerName ? handlerName : "");
    std::lock_guard<std::mutex> lock(d->mutex);
    std::vector<Handler> kept;
    for (auto& entry : d->handlers) {
        if (!(entry.name == n && entry.handlerName == h && entry.owner == owner))
            kept.push_back(std::move(entry));
    }
    d->handlers.swap(kept);
}

bool HXRuntime::isRuntimeThread()
{
    return std::this_thread::get_id() == d->threadId;
}

bool HXRuntime::canCall(const char*, int, const char*)
{
    return d->callable.load();
}

void HXRuntime::setCallable(bool callable)
{
    d->callable.store(callable);
}

void HXRuntime::notify(const std::string& name, void* argument)
{
    postTask(
        [this, name, argument] {
            std::vector<std::function<void(void*)>> targets;
            {
                std::lock_guard<std::mutex> lock(d->mutex);
                for (const auto& entry : d->handlers) {
                    if (entry.name == name)
                        targets.push_back(entry.fn);
                }
            }
            for (auto& fn : targets)
                fn(argument);
        },
        __FILE__, __LINE__, "HXRuntime::notify");
}

void HXRuntime::waitIdle()
{
    if (isRuntimeThread())
        return;
    auto done = std::make_shared<std::promise<void>>();
    auto future = done->get_future();
    postTask([done] { done->set_value(); }, __FILE__, __LINE__, "HXRuntime::waitIdle");
    future.wait(); // a dropped task breaks the promise, which also releases us
}

std::thread::id HXRuntime::threadId() const
{
    return d->threadId;
}

std::size_t HXRuntime::notifyHandlerCount(const std::string& name) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    std::size_t count = 0;
    for (const auto& entry : d->handlers)
        count += entry.name == name ? 1 : 0;
    return count;
}

std::string HXRuntime::lastPostedFrom() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->lastPostedFrom;
}

} // namespace norvane
