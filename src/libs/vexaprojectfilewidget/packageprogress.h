#pragma once

// The running figures of one package: bytes packaged, the rate and the texts
// the dialog shows. The reporting thread adds each report; the GUI thread
// takes the newest texts when its queued update arrives. A reporter only asks
// for an update when none is on its way, so a fast one cannot flood the GUI
// thread's queue.

#include "packagemath.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vexa {
namespace projectfilemgr {

class PackageProgress
{
public:
    struct Texts {
        std::uint64_t mediaSize = 0;
        QString speed;
        QString remainTime;
        QString finishSpace;
    };

    // What one report came to.
    struct Report {
        ProgressTexts texts;
        bool stopped = false; // counted as cancelled: packaged back to zero
        bool queue = false;   // no update on its way yet: queue one
    };

    // What the GUI thread shows.
    struct Shown {
        Texts texts;
        int percent = 0;
    };

    // The size of the package; read by the reporting thread.
    void setTotalSize(std::uint64_t bytes) { totalSize_ = bytes; }
    std::uint64_t totalSize() const { return totalSize_; }

    // A new package: nothing packaged, the clock starts now, and until the
    // first timed report the probe's rate is the best guess.
    void restart(double probeSpeed);
    // Nothing packaged any more.
    void clearPackaged();

    // Reporting thread. `cancelling` is asked under the lock, so a cancel
    // that clears the count is never undone by a report that began before it.
    Report add(std::uint64_t bytes, const std::function<bool()>& cancelling);
    // GUI thread, on a queued update carrying `queued`: the newest texts
    // (those of a later report if one came) and the progress bar's value.
    Shown take(const Texts& queued);

private:
    std::atomic<std::uint64_t> totalSize_{0};
    std::mutex mutex_;
    std::uint64_t packagedSize_ = 0;
    std::chrono::steady_clock::time_point lastReportTime_;
    SpeedMeter speedMeter_;
    Texts pending_;
    bool hasPending_ = false;
    bool updateQueued_ = false;
};

} // namespace projectfilemgr
} // namespace vexa
