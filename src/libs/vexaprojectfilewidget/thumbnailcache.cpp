#include "thumbnailcache.h"

#include "storagequeue.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
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

QString keyOf(const QString& path, const QSize& pixels)
{
    return QStringLiteral("%1|%2x%3").arg(path).arg(pixels.width()).arg(pixels.height());
}

// Modification time (ns since the epoch) and size of a regular file; empty
// when there is none. A changed picture is decoded again.
QString fileStamp(const QString& path)
{
#if defined(Q_OS_LINUX)
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return QString();
    return QStringLiteral("%1.%2|%3").arg(status.st_mtim.tv_sec).arg(status.st_mtim.tv_nsec).arg(status.st_size);
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return QString();
    return QStringLiteral("%1|%2").arg(info.lastModified().toMSecsSinceEpoch()).arg(info.size());
#endif
}

} // namespace

struct ThumbnailCache::Decoded {
    QString stamp;
    bool changed = false; // otherwise the cached picture stands
    QImage image;
};

ThumbnailCache& ThumbnailCache::instance()
{
    static ThumbnailCache cache;
    return cache;
}

ThumbnailCache::ThumbnailCache() : queue_(new StorageQueue)
{
    pictures_.setMaxCost(kDefaultMaxCostKib);
    // Pixmaps must go while the application still exists, and with them the
    // answers still on their way.
    qAddPostRoutine([] {
        instance().clear();
        instance().queue_.reset();
    });
}

// Off the GUI thread: a file on a sleeping share holds this thread only.
ThumbnailCache::Decoded ThumbnailCache::decode(const QString& path, const QSize& pixels, const QString& knownStamp)
{
    Decoded decoded;
    decoded.stamp = fileStamp(path);
    decoded.changed = decoded.stamp.isEmpty() || decoded.stamp != knownStamp;
    if (decoded.stamp.isEmpty() || !decoded.changed)
        return decoded;
    QImageReader reader(path);
    // Decoding at the target size lets JPEG skip most of the work.
    reader.setScaledSize(pixels);
    decoded.image = reader.read();
    if (!decoded.image.isNull() && decoded.image.size() != pixels)
        decoded.image = decoded.image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return decoded;
}

bool ThumbnailCache::lookup(const QString& path, const QSize& size, qreal ratio, QPixmap* result)
{
    if (ratio <= 0)
        ratio = 1;
    const Picture* picture = pictures_.object(keyOf(path, pixelSize(size, ratio)));
    if (!picture)
        return false;
    ++hits_;
    if (result)
        *result = picture->pixmap;
    return true;
}

void ThumbnailCache::request(const QString& path, const QSize& size, qreal ratio, std::function<void()> ready)
{
    if (ratio <= 0)
        ratio = 1;
    const QSize pixels = pixelSize(size, ratio);
    const QString key = keyOf(path, pixels);
    auto waiting = waiting_.find(key);
    if (waiting != waiting_.end()) {
        waiting->push_back(std::move(ready));
        return;
    }
    waiting_[key].push_back(std::move(ready));
    const Picture* known = pictures_.object(key);
    const QString knownStamp = known ? known->stamp : QString();
    queue_->post([this, path, pixels, key, ratio, knownStamp] {
        const Decoded decoded = decode(path, pixels, knownStamp);
        return std::function<void()>([this, key, ratio, decoded] { take(key, ratio, decoded); });
    });
}

void ThumbnailCache::take(const QString& key, qreal ratio, const Decoded& decoded)
{
    if (decoded.changed) {
        auto* picture = new Picture;
        picture->stamp = decoded.stamp;
        int cost = 1;
        if (!decoded.image.isNull()) {
            ++decodes_;
            cost = qMax(1, static_cast<int>(decoded.image.sizeInBytes() / 1024));
            picture->pixmap = QPixmap::fromImage(decoded.image);
            picture->pixmap.setDevicePixelRatio(ratio);
        } else if (!decoded.stamp.isEmpty()) {
            ++decodes_; // a file that is no picture is not tried again until it changes
        }
        pictures_.insert(key, picture, cost);
    }
    const std::vector<std::function<void()>> ready = waiting_.take(key);
    for (const std::function<void()>& done : ready)
        done();
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
