#pragma once

#include <QCache>
#include <QHash>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace vexa {
namespace projectfilemgr {

class StorageQueue;

// Thumbnails of the recent list, decoded at the size they are shown and kept
// by file and pixel size. A host keeps full screen captures as thumbnails,
// so decoding each one again for every list build would make the page slow
// to open and slow to re-sort; and a thumbnail may sit on a share that is
// slow to answer, so files are looked at and decoded off the GUI thread.
// Used from the GUI thread.
class ThumbnailCache
{
public:
    static ThumbnailCache& instance();

    // The picture at `path` as last decoded for `size` (device-independent
    // pixels) on a screen of `ratio`: false when it was never decoded; a null
    // pixmap when the file is missing or is no picture.
    bool lookup(const QString& path, const QSize& size, qreal ratio, QPixmap* result);
    // Looks at the file off the GUI thread and decodes it (scaled to exactly
    // the size, aspect ratio ignored, smooth) when it is new or changed since;
    // `ready` runs on the GUI thread once lookup has the answer.
    void request(const QString& path, const QSize& size, qreal ratio, std::function<void()> ready);

    void clear();
    // Upper bound of the cached pictures in KiB.
    void setMaxCost(int kib);
    int maxCost() const;

    // Decodes made and answers served from the cache since the last clear.
    int decodeCount() const { return decodes_; }
    int hitCount() const { return hits_; }

private:
    ThumbnailCache();
    struct Picture {
        QPixmap pixmap;
        QString stamp; // the file's time and size when decoded; empty: no file
    };
    struct Decoded;
    static Decoded decode(const QString& path, const QSize& pixels, const QString& knownStamp);
    void take(const QString& key, qreal ratio, const Decoded& decoded);

    QCache<QString, Picture> pictures_;
    // Requests on their way, by key, with whoever waits for them.
    QHash<QString, std::vector<std::function<void()>>> waiting_;
    std::unique_ptr<StorageQueue> queue_;
    int decodes_ = 0;
    int hits_ = 0;
};

} // namespace projectfilemgr
} // namespace vexa
