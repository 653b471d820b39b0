#include "packageprogress.h"

namespace vexa {
namespace projectfilemgr {

void PackageProgress::restart(double probeSpeed)
{
    std::lock_guard<std::mutex> lock(mutex_);
    packagedSize_ = 0;
    lastReportTime_ = std::chrono::steady_clock::now();
    speedMeter_ = SpeedMeter();
    speedMeter_.lastSpeed = probeSpeed;
}

void PackageProgress::clearPackaged()
{
    std::lock_guard<std::mutex> lock(mutex_);
    packagedSize_ = 0;
}

PackageProgress::Report PackageProgress::add(std::uint64_t bytes, const std::function<bool()>& cancelling)
{
    Report report;
    std::lock_guard<std::mutex> lock(mutex_);
    packagedSize_ += bytes;
    if (cancelling()) {
        packagedSize_ = 0;
        report.stopped = true;
    }
    const std::uint64_t packaged = packagedSize_;
    const auto now = std::chrono::steady_clock::now();
    const auto intervalMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastReportTime_).count();
    bool measured = false;
    const double speed = speedMeter_.measure(bytes, static_cast<std::int64_t>(intervalMs), measured);
    if (measured)
        lastReportTime_ = now;
    report.texts = progressTexts(speed, packaged, totalSize_);

    pending_.mediaSize = bytes;
    pending_.speed = report.texts.speed;
    pending_.remainTime = report.texts.remainTime;
    pending_.finishSpace = report.texts.packaged;
    hasPending_ = true;
    report.queue = !updateQueued_;
    updateQueued_ = true;
    return report;
}

PackageProgress::Shown PackageProgress::take(const Texts& queued)
{
    Shown shown{queued, 0};
    std::uint64_t packaged = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // Reports that came in after this update was queued replace its texts.
        if (hasPending_) {
            shown.texts = pending_;
            hasPending_ = false;
        }
        updateQueued_ = false;
        packaged = packagedSize_;
    }
    shown.percent = progressPercent(packaged, totalSize_);
    return shown;
}

} // namespace projectfilemgr
} // namespace vexa
