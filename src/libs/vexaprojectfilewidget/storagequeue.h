#pragma once

// Work that asks the file system, kept off the GUI thread. A share that has
// gone to sleep or away can hold a question for seconds or minutes; here it
// holds one thread, never the page.

#include <QObject>

class QTimer;
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace vexa {
namespace projectfilemgr {

class StorageQueue : public QObject
{
    Q_OBJECT
public:
    // Runs on a thread of the queue's and may block as long as the file
    // system does; returns what is to run on the GUI thread with its result.
    using Job = std::function<std::function<void()>()>;

    explicit StorageQueue(QObject* parent = nullptr);
    // Jobs not begun are dropped; jobs stuck in the file system end on their
    // own, and their results with them. Never waits.
    ~StorageQueue() override;

    // A job still not done `deadline` after it began (or twice that after
    // it was posted, while it waits for a thread) has its `late` run on the
    // GUI thread, once. Its result still comes when it ends.
    void setDeadline(std::chrono::milliseconds deadline);

    struct Task {
        Job job;
        std::function<void()> late;
    };
    void post(Job job, std::function<void()> late = nullptr);
    // Many at once, for a long list: one hand-over instead of one per job.
    void post(std::vector<Task> tasks);
    // Waits at most `bound` while jobs end quickly: returns once none is
    // left, or each one left has run longer than `slow` (the file system is
    // slow there), then runs the results that have come in.
    void waitWhileQuick(std::chrono::milliseconds bound,
                        std::chrono::milliseconds slow = std::chrono::milliseconds(2));
    // Jobs posted and not yet ended.
    std::size_t pending() const;

    // Threads at work for jobs at most, besides those held by stuck jobs;
    // and the most there may be at all.
    static constexpr int kThreads = 4;
    static constexpr int kMostThreads = 16;

public Q_SLOTS:
    // Runs the results that have come in.
    void deliver();

private:
    void checkDeadlines();

    struct Shared;
    std::shared_ptr<Shared> shared;
    std::chrono::milliseconds deadline{0};
    QTimer* watch = nullptr;
};

} // namespace projectfilemgr
} // namespace vexa
