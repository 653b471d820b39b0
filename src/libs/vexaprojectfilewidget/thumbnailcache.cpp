#include "thumbnailcache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QFile>
#include <QtMath>

#if defined(Q_OS_LINUX)
#include <sys/stat.h>
#endif

namespace vexa {
namespace projectfilemgr {

namespace {

// About 400 thumbnails of 192 x 108 (100 on a screen of ratio 2): far more
// than the tiles in view, so scrolling back finds them, while a list of
// thousands does not hold a picture for every row.
constexpr int kDefaultMaxCostKib = 32 * 1024;

QSize pixelSize(const QSize& size, qreal ratio)
{
    return QSize(qMax(1, qCeil(size.width() * ratio)), qMax(1, qCeil(size.height() * ratio)));
}

// Modification time (ns since the epoch) and size of a regular file. Every
// lookup asks, so a changed picture is decoded again; QFileInfo would convert
// the time to local time, and each conversion asks the system for the time
// zone again, which a list of hundreds of thumbnails feels on every re-sort.
bool fileStamp(const QString& path, qint64* modified, qint64* size)
{
#if defined(Q_OS_LINUX)
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    *modified = static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    *size = static_cast<qint64>(status.st_size);
    return true;
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    *modified = info.lastModified().toMSecsSinceEpoch() * 1000000;
    *size = info.size();
    return true;
#endif
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
    qint64 modified = 0;
    qint64 size = 0;
    if (!fileStamp(path, &modified, &size))
        return QString();
    return QStringLiteral("%1|%2|%3|%4x%5")
        .arg(path)
        .arg(modified)
        .arg(size)
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
