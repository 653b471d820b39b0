#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QVector>
#include <optional>

namespace vexa {
namespace projectfilemgr {

// Where a screen hop puts a window of `size`: centred on the screen before
// (previous) or after the window's screen in `screens`, wrapping around.
// `current` is the index of the window's screen, -1 when it is not listed
// (the hop then lands on the last but one or the first screen). Nothing with
// fewer than two screens.
inline std::optional<QPoint> screenHopTarget(const QVector<QRect>& screens, int current, const QSize& size,
                                             bool previous)
{
    const int count = screens.size();
    if (count < 2 || current < -1 || current >= count)
        return std::nullopt;
    const int target = (count - 1 + current + (previous ? 0 : 2)) % count;
    const QPoint centre = screens.at(target).center();
    return QPoint(centre.x() - size.width() / 2, centre.y() - size.height() / 2);
}

} // namespace projectfilemgr
} // namespace vexa
