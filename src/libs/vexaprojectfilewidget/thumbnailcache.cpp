#include "thumbnailcache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QtMath>

namespace vexa {
namespace projectfilemgr {

namespace {

// Enough for several hundred tiles even on a screen of ratio 2, so a list
// that is rebuilt front to back does not evict what it is about to reuse.
constexpr int kDefaultMaxCostKib = 128 * 1024;

QSize pixelSize(const QSize& size, qreal ratio)
{
    return QSize(qMax(1, qCeil(size.width() * ratio)), qMax(1, qCeil(size.height() * ratio)));
}

} // namespace

ThumbnailCache& ThumbnailCache::instance()
{
    static ThumbnailCache cache;
    return cache;
}

ThumbnailCache::ThumbnailCache()
{
    pictures_.setMaxCost(kDefaultMaxCostKib);
    // Pixmaps must go while the application still exists.
    qAddPostRoutine([] { instance().clear(); });
}

QString ThumbnailCache::keyOf(const QString& path, const QSize& pixels)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return QString();
    return QStringLiteral("%1|%2|%3|%4x%5")
        .arg(path)
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.size())
        .arg(pixels.width())
        .arg(pixels.height());
}

bool ThumbnailCache::lookup(const QString& path, const QSize& size, qreal ratio, QPixmap* result)
{
    if (ratio <= 0)
        ratio = 1;
    const QString key = keyOf(path, pixelSize(size, ratio));
    if (key.isEmpty()) {
        // Nothing to decode: a missing file has no picture.
        if (result)
            *result = QPixmap();
        return true;
    }
    const QPixmap* picture = pictures_.object(key);
    if (!picture)
        return false;
    ++hits_;
    if (result)
        *result = *picture;
    return true;
}

QPixmap ThumbnailCache::thumbnail(const QString& path, const QSize& size, qreal ratio)
{
    if (ratio <= 0)
        ratio = 1;
    QPixmap result;
    if (lookup(path, size, ratio, &result))
        return result;

    const QSize pixels = pixelSize(size, ratio);
    const QString key = keyOf(path, pixels);
    ++decodes_;
    QImageReader reader(path);
    // Decoding at the target size lets JPEG skip most of the work.
    reader.setScaledSize(pixels);
    QImage image = reader.read();
    if (!image.isNull() && image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.isNull()) {
        pictures_.insert(key, new QPixmap, 1);
        return QPixmap();
    }
    const int cost = qMax(1, static_cast<int>(image.sizeInBytes() / 1024));
    result = QPixmap::fromImage(std::move(image));
    result.setDevicePixelRatio(ratio);
    pictures_.insert(key, new QPixmap(result), cost);
    return result;
}

void ThumbnailCache::clear()
{
    pictures_.clear();
    decodes_ = 0;
    hits_ = 0;
}

void ThumbnailCache::setMaxCost(int kib)
{
    pictures_.setMaxCost(qMax(1, kib));
}

int ThumbnailCache::maxCost() const
{
    return pictures_.maxCost();
}

} // namespace projectfilemgr
} // namespace vexa
