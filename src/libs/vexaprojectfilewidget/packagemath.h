#pragma once

// The arithmetic behind the package dialog's texts: sizes, speeds, remaining
// time, progress and the free-space rule. Kept free of widgets so every
// corner (zero intervals, zero speeds, overshooting reports) can be checked
// on its own.

#include "hxcutils.h"
#include "vexaprojectfilewidget_global.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace vexa {
namespace projectfilemgr {

// Unit of a size text.
enum SizeUnit : int { UnitB = 0, UnitK = 1, UnitM = 2, UnitG = 3 };

// One decimal and a unit letter; a unit is used only above 1024 of the one
// below. Speeds end in "/s", sizes in one space.
inline QString formatSize(std::uint64_t bytes, bool isSpeed, int* unit = nullptr)
{
    static const char letters[] = {'B', 'K', 'M', 'G'};
    double value = static_cast<double>(bytes);
    int code = UnitB;
    if (value > 1073741824.0) {
        value /= 1073741824.0;
        code = UnitG;
    } else if (value > 1048576.0) {
        value /= 1048576.0;
        code = UnitM;
    } else if (value > 1024.0) {
        value /= 1024.0;
        code = UnitK;
    }
    if (unit)
        *unit = code;
    QString text = QString::fromStdString(d2s(value, 1));
    text += QLatin1Char(letters[code]);
    text += isSpeed ? QStringLiteral("/s") : QStringLiteral(" ");
    return text;
}

// A byte rate as the whole number formatSize takes; nan, negative and
// infinite rates read as 0 or the largest count.
inline std::uint64_t wholeBytes(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= 18446744073709549568.0)
        return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(value);
}

// The number part of a speed text ("2.0M/s" -> 2.0).
inline double speedNumber(const QString& speedText)
{
    return speedText.left(speedText.size() - 3).toDouble();
}

// Seconds left when `remainBytes` go at `speed` units per second. The
// rounded speed text sets the estimate, as the user reads it. An unknown
// (zero) speed gives 0 rather than an endless time.
inline double remainSeconds(double remainBytes, int unit, double speed)
{
    double scaled = remainBytes;
    if (unit == UnitK)
        scaled /= 1024.0;
    else if (unit == UnitM)
        scaled *= std::pow(2.0, -20);
    else if (unit == UnitG)
        scaled *= std::pow(2.0, -30);
    if (!(speed > 0.0) || !(scaled > 0.0))
        return 0.0;
    const double seconds = scaled / speed;
    return std::isfinite(seconds) ? seconds : 0.0;
}

// "hh:mm:ss" with the true number of hours, so a day or more does not wrap.
inline QString remainTimeText(double seconds)
{
    // Keeps the count far inside 64 bits; such estimates mean nothing anyway.
    constexpr double kLongest = 3.6e15;
    std::int64_t whole = 0;
    if (seconds > 0.0 && std::isfinite(seconds))
        whole = static_cast<std::int64_t>(std::min(seconds, kLongest));
    const std::int64_t hours = whole / 3600;
    const int minutes = static_cast<int>((whole / 60) % 60);
    const int secs = static_cast<int>(whole % 60);
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secs, 2, 10, QLatin1Char('0'));
}

// Bytes per second of the write probe: ten blocks of 1024 bytes in the
// measured time. A probe too fast for the clock counts as one microsecond.
inline double probeSpeed(std::int64_t elapsedMicroseconds)
{
    const std::int64_t micros = elapsedMicroseconds > 0 ? elapsedMicroseconds : 1;
    return 10240.0 / (static_cast<double>(micros) / 1000.0 / 1000.0);
}

// Progress bar value, rounded up and kept within 0..100. Nothing to package
// counts as done once anything was reported.
inline int progressPercent(std::uint64_t packagedSize, std::uint64_t totalSize)
{
    if (totalSize == 0)
        return packagedSize > 0 ? 100 : 0;
    if (packagedSize >= totalSize)
        return 100;
    const double value = std::ceil(static_cast<double>(packagedSize) * 100.0 / static_cast<double>(totalSize));
    return static_cast<int>(std::min(value, 100.0));
}

// At least 100 MiB must stay free, before and after the package.
inline bool spaceIsShort(double freeMebibytes, std::uint64_t packageBytes)
{
    return freeMebibytes < 100.0 || freeMebibytes - static_cast<double>(packageBytes) / 1024.0 / 1024.0 < 100.0;
}

// Free bytes as the whole mebibytes the space check works with.
inline std::uint64_t wholeMebibytes(std::uint64_t bytes)
{
    return bytes / 1048576;
}

// Turns progress reports into a rate. Reports that arrive within the same
// millisecond as the last measured one cannot be timed: they keep the last
// rate and their bytes are carried into the next measurable interval.
struct SpeedMeter {
    double lastSpeed = 0.0;         // bytes per second
    std::uint64_t carriedBytes = 0; // reported but not yet timed

    // Returns the rate to show; `measured` tells whether the interval counted
    // (the caller then restarts its clock).
    double measure(std::uint64_t bytes, std::int64_t intervalMs, bool& measured)
    {
        carriedBytes += bytes;
        measured = intervalMs > 0;
        if (measured) {
            lastSpeed = static_cast<double>(carriedBytes) / (static_cast<double>(intervalMs) / 1000.0);
            carriedBytes = 0;
        }
        return lastSpeed;
    }
};

// The texts of one progress report.
struct ProgressTexts {
    QString speed;             // "2.0M/s"
    QString remainTime;        // "00:00:05"
    QString packaged;          // "1.0M "
    std::uint64_t remainBytes; // never below 0
};

inline ProgressTexts progressTexts(double speed, std::uint64_t packagedSize, std::uint64_t totalSize)
{
    ProgressTexts texts;
    int unit = UnitB;
    texts.speed = formatSize(wholeBytes(speed), true, &unit);
    texts.remainBytes = totalSize > packagedSize ? totalSize - packagedSize : 0;
    const double seconds =
        remainSeconds(static_cast<double>(texts.remainBytes), unit, speedNumber(texts.speed));
    texts.remainTime = remainTimeText(seconds);
    texts.packaged = formatSize(packagedSize, false);
    return texts;
}

// How the package dialog reads the free bytes of a folder; same contract as
// diskFreeSpace.
using FreeSpaceQuery = bool (*)(const std::string& folder, std::uint64_t& bytesAvailable, int& errorCode);

// Replaces the free-space query of every package dialog (for tests: a drive
// of any size); null restores the system's. Returns the previous query.
VEXAPROJECTFILEWIDGET_EXPORT FreeSpaceQuery setPackageFreeSpaceQuery(FreeSpaceQuery query);

} // namespace projectfilemgr
} // namespace vexa
