#include "storagequeue.h"

#include <QFile>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>
#if defined(Q_OS_LINUX)
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace vexa {
namespace projectfilemgr {

namespace {

using Clock = std::chrono::steady_clock;

// A job running longer than this holds its thread for another reason than
// work: another thread takes over the queue meanwhile.
constexpr auto kStuckAfter = std::chrono::milliseconds(100);
// An idle thread ends after this.
constexpr auto kIdleEnd = std::chrono::seconds(10);

long threadId()
{
#if defined(Q_OS_LINUX)
    return static_cast<long>(::syscall(SYS_gettid));
#else
    return 0;
#endif
}

// Whether a thread sleeps in the system, waiting for the file system to
// answer, rather than waiting for a processor: on a busy machine a quick
// question can take longer than a slow one has taken so far.
bool waitsForTheSystem(long thread)
{
#if defined(Q_OS_LINUX)
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(thread));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int afterName = line.lastIndexOf(')');
    const char state = afterName >= 0 && afterName + 2 < line.size() ? line.at(afterName + 2) : 'S';
    return state == 'S' || state == 'D';
#else
    Q_UNUSED(thread)
    return true;
#endif
}

} // namespace

struct StorageQueue::Shared {
    struct Waiting {
        std::uint64_t id;
        Task task;
        Clock::time_point posted;
    };
    struct Running {
        std::uint64_t id;
        Clock::time_point started;
        std::function<void()> late; // empty once run
        long thread = 0;            // the system's id of the thread running it, where known
        // Set when the job has returned and its thread waits to hand in the result.
        std::shared_ptr<std::atomic<bool>> returned = std::make_shared<std::atomic<bool>>(false);
    };

    std::mutex mutex;
    std::condition_variable wake;  // for the threads: a job, or the end
    std::condition_variable ended; // for a waiting GUI thread
    std::deque<Waiting> queue;
    std::vector<Running> running;
    std::vector<std::function<void()>> results;
    std::uint64_t nextId = 1;
    int threads = 0;
    bool closed = false;
    bool deliveryQueued = false;
    StorageQueue* owner = nullptr; // valid while not closed

    // Under the lock.
    int stuck(Clock::time_point now) const
    {
        return static_cast<int>(std::count_if(running.begin(), running.end(),
                                              [now](const Running& r) { return now - r.started > kStuckAfter; }));
    }
    void startThreads(std::unique_lock<std::mutex>& lock, const std::shared_ptr<Shared>& self);
    void work(std::unique_lock<std::mutex>& lock);
    void finish(std::uint64_t id, std::function<void()> result);
};

void StorageQueue::Shared::startThreads(std::unique_lock<std::mutex>&, const std::shared_ptr<Shared>& self)
{
    // Threads that can take a job soon: the idle ones and those busy with
    // one that is not stuck.
    const int idle = threads - static_cast<int>(running.size());
    const int able = threads - stuck(Clock::now());
    int wanted = std::min(kThreads - able, static_cast<int>(queue.size()) - idle);
    for (; wanted > 0 && threads < kMostThreads; --wanted) {
        try {
            std::thread([self] {
                std::unique_lock<std::mutex> lock(self->mutex);
                self->work(lock);
            }).detach();
            ++threads;
        } catch (const std::system_error&) {
            break; // no thread to be had now: those there are go on
        }
    }
}

void StorageQueue::Shared::work(std::unique_lock<std::mutex>& lock)
{
    for (;;) {
        if (!wake.wait_for(lock, kIdleEnd, [this] { return closed || !queue.empty(); }) || closed)
            break;
        Waiting waiting = std::move(queue.front());
        queue.pop_front();
        running.push_back(Running{waiting.id, Clock::now(), std::move(waiting.task.late), threadId()});
        const std::shared_ptr<std::atomic<bool>> returned = running.back().returned;
        lock.unlock();
        std::function<void()> result;
        try {
            result = waiting.task.job();
        } catch (...) {
        }
        *returned = true;
        waiting.task.job = nullptr;
        lock.lock();
        finish(waiting.id, std::move(result));
    }
    --threads;
}

void StorageQueue::Shared::finish(std::uint64_t id, std::function<void()> result)
{
    running.erase(std::find_if(running.begin(), running.end(), [id](const Running& r) { return r.id == id; }));
    // A waiting GUI thread looks again every few milliseconds anyway; woken
    // for every job of a long list, it would spend its time waking.
    if (queue.empty())
        ended.notify_all();
    if (closed || !result)
        return;
    results.push_back(std::move(result));
    if (!deliveryQueued) {
        deliveryQueued = true;
        QMetaObject::invokeMethod(owner, "deliver", Qt::QueuedConnection);
    }
}

StorageQueue::StorageQueue(QObject* parent) : QObject(parent), shared(std::make_shared<Shared>())
{
    shared->owner = this;
    watch = new QTimer(this);
    watch->setInterval(100);
    connect(watch, &QTimer::timeout, this, &StorageQueue::checkDeadlines);
}

StorageQueue::~StorageQueue()
{
    std::deque<Shared::Waiting> dropped;
    std::vector<std::function<void()>> undelivered;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        shared->closed = true;
        shared->owner = nullptr;
        dropped.swap(shared->queue);
        undelivered.swap(shared->results);
    }
    shared->wake.notify_all();
}

void StorageQueue::setDeadline(std::chrono::milliseconds after)
{
    deadline = after;
}

void StorageQueue::post(Job job, std::function<void()> late)
{
    std::vector<Task> tasks;
    tasks.push_back(Task{std::move(job), std::move(late)});
    post(std::move(tasks));
}

void StorageQueue::post(std::vector<Task> tasks)
{
    if (tasks.empty())
        return;
    std::unique_lock<std::mutex> lock(shared->mutex);
    const Clock::time_point now = Clock::now();
    for (Task& task : tasks)
        shared->queue.push_back(Shared::Waiting{shared->nextId++, std::move(task), now});
    shared->startThreads(lock, shared);
    lock.unlock();
    shared->wake.notify_all();
    if (!watch->isActive())
        watch->start();
}

std::size_t StorageQueue::pending() const
{
    std::lock_guard<std::mutex> lock(shared->mutex);
    return shared->queue.size() + shared->running.size();
}

void StorageQueue::waitWhileQuick(std::chrono::milliseconds bound, std::chrono::milliseconds slow)
{
    const Clock::time_point end = Clock::now() + bound;
    {
        std::unique_lock<std::mutex> lock(shared->mutex);
        for (;;) {
            const Clock::time_point now = Clock::now();
            // Done waiting once every job still running has run `slow` and
            // its thread sleeps in the file system; else when to look again.
            Clock::time_point look = now;
            for (const Shared::Running& job : shared->running) {
                if (job.started + slow > now)
                    look = std::max(look, job.started + slow);
                else if (*job.returned || !waitsForTheSystem(job.thread))
                    look = std::max(look, now + std::chrono::milliseconds(1));
            }
            if ((shared->queue.empty() && look <= now) || now >= end)
                break;
            // Jobs stuck meanwhile leave the queue to fresh threads.
            shared->startThreads(lock, shared);
            shared->wake.notify_all();
            if (!shared->queue.empty())
                look = now + std::chrono::milliseconds(1);
            shared->ended.wait_until(lock, std::min(end, look));
        }
    }
    deliver();
}

void StorageQueue::deliver()
{
    std::vector<std::function<void()>> ready;
    {
        std::lock_guard<std::mutex> lock(shared->mutex);
        ready.swap(shared->results);
        shared->deliveryQueued = false;
    }
    for (std::function<void()>& result : ready)
        result();
}

void StorageQueue::checkDeadlines()
{
    std::vector<std::function<void()>> overdue;
    {
        std::unique_lock<std::mutex> lock(shared->mutex);
        const Clock::time_point now = Clock::now();
        if (deadline.count() > 0) {
            for (Shared::Running& job : shared->running) {
                if (job.late && now - job.started > deadline)
                    overdue.push_back(std::exchange(job.late, nullptr));
            }
            for (Shared::Waiting& job : shared->queue) {
                if (job.task.late && now - job.posted > 2 * deadline)
                    overdue.push_back(std::exchange(job.task.late, nullptr));
            }
        }
        shared->startThreads(lock, shared);
        if (shared->queue.empty() && shared->running.empty())
            watch->stop();
    }
    shared->wake.notify_all();
    for (std::function<void()>& late : overdue)
        late();
}

} // namespace projectfilemgr
} // namespace vexa
