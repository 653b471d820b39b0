#pragma once

#include <QCache>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace vexa {
namespace projectfilemgr {

// Thumbnails of the recent list, decoded at the size they are shown and kept
// by file, modification time, file size and pixel size. A host keeps full
// screen captures as thumbnails, so decoding each one again for every list
// build would make the page slow to open and slow to re-sort. GUI thread only.
class ThumbnailCache
{
public:
    static ThumbnailCache& instance();

    // The picture at `path` scaled to exactly `size` (device-independent
    // pixels, aspect ratio ignored, smooth) for a screen of `ratio`; a null
    // pixmap when the file is missing or cannot be decoded.
    QPixmap thumbnail(const QString& path, const QSize& size, qreal ratio);
    // The same, but only from the cache: false when it would need decoding.
    bool lookup(const QString& path, const QSize& size, qreal ratio, QPixmap* result);

    void clear();
    // Upper bound of the cached pictures in KiB.
    void setMaxCost(int kib);
    int maxCost() const;

    // Decodes attempted and answers served from the cache since the last clear.
    int decodeCount() const { return decodes_; }
    int hitCount() const { return hits_; }

private:
    ThumbnailCache();
    static QString keyOf(const QString& path, const QSize& pixels);

    // Pixmaps, so a hit shares the picture instead of converting it again. A
    // null one records a file that could not be decoded, so it is not tried
    // again until it changes.
    QCache<QString, QPixmap> pictures_;
    int decodes_ = 0;
    int hits_ = 0;
};

} // namespace projectfilemgr
} // namespace vexa
