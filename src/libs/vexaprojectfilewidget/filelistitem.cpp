#include "filelistitem.h"

#include "thumbnailcache.h"
#include "translatemanager.h"
#include "translator.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QStyle>
#include <QVBoxLayout>
#include <QVariant>

namespace vexa {
namespace projectfilemgr {

class FileListItem::Impl
{
public:
    explicit Impl(FileListItem* owner) : q(owner) {}

    // Elided to the label's current width with the application font, so the
    // tile reads the same whatever font the style sheet gives the label. A
    // reused tile elides to the width its labels had when it was new: the
    // laid-out width would show more of a name after each re-sort.
    QString elided(const QLabel* label, const QString& text) const
    {
        const QFontMetrics metrics{QFont()};
        return metrics.elidedText(text, Qt::ElideRight, reused ? newWidth : label->width());
    }

    FileListItem* q;
    QLabel* imageLabel = nullptr;
    QLabel* nameCaptionLabel = nullptr;
    QLabel* nameLabel = nullptr;
    QLabel* timeLabel = nullptr;
    QLabel* sizeLabel = nullptr;
    QLabel* locationCaptionLabel = nullptr;
    QLabel* pathLabel = nullptr;
    QLabel* pinMark = nullptr; // over the thumbnail's corner while pinned
    QString filePath;
    std::string storedPath;
    // The thumbnail to show, the pixel ratio it was last shown for and the
    // one it was last asked for (0: not yet).
    QString imagePath;
    qreal loadedRatio = 0;
    qreal requestedRatio = 0;
    // The width of a label on a tile that was never laid out.
    int newWidth = 0;
    bool reused = false;
    RowStorage storage = RowStorage::Ready;

    QList<QLabel*> textLabels() const
    {
        return {nameCaptionLabel, nameLabel, timeLabel, sizeLabel, locationCaptionLabel, pathLabel};
    }

    // The texts that say where the storage stands, in the current language.
    void showStorage()
    {
        if (storage == RowStorage::Checking)
            timeLabel->setText(trText(QStringLiteral("CheckingFile")));
        const QString folder = QDir::toNativeSeparators(QFileInfo(filePath).path());
        q->setToolTip(storage == RowStorage::Unavailable ? trText(QStringLiteral("UnreachableTip")).arg(folder)
                      : storage == RowStorage::Missing   ? trText(QStringLiteral("MissingFileTip")).arg(folder)
                                                         : QString());
    }

    // Shows the thumbnail as the cache has it; false when it has none yet.
    bool showThumbnail()
    {
        const qreal ratio = imageLabel->devicePixelRatioF();
        QPixmap picture;
        if (!ThumbnailCache::instance().lookup(imagePath, imageLabel->size(), ratio, &picture))
            return false;
        loadedRatio = ratio;
        if (picture.isNull()) {
            imageLabel->clear();
            return true;
        }
        imageLabel->setPixmap(picture);
        imageLabel->setAlignment(Qt::AlignCenter);
        return true;
    }

    // Has the cache look at the picture's file, off the GUI thread, and
    // shows what it has once it answers, if the tile still shows that picture.
    void requestThumbnail()
    {
        requestedRatio = imageLabel->devicePixelRatioF();
        const QPointer<FileListItem> tile(q);
        const QString wanted = imagePath;
        ThumbnailCache::instance().request(imagePath, imageLabel->size(), requestedRatio, [tile, wanted] {
            if (tile && tile->d->imagePath == wanted)
                tile->d->showThumbnail();
        });
    }
};

FileListItem::FileListItem(QWidget* parent) : QWidget(parent), d(new Impl(this))
{
    setFixedSize(385, 108);
    setAttribute(Qt::WA_StyledBackground);

    d->imageLabel = new QLabel(this);
    d->imageLabel->setFixedSize(192, 108);
    d->nameCaptionLabel = new QLabel(this);
    d->nameCaptionLabel->setProperty("fontSize", QStringLiteral("L"));
    d->nameLabel = new QLabel(this);
    d->nameLabel->setProperty("fontSize", QStringLiteral("L"));
    d->timeLabel = new QLabel(this);
    d->sizeLabel = new QLabel(this);
    d->locationCaptionLabel = new QLabel(this);
    d->pathLabel = new QLabel(this);
    d->newWidth = d->pathLabel->width();
    d->pinMark = new QLabel(this);
    d->pinMark->setObjectName(QStringLiteral("pinMark"));
    d->pinMark->move(6, 6);
    d->pinMark->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->imageLabel);

    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    column->setContentsMargins(12, 12, 12, 12);

    auto* nameRow = new QHBoxLayout;
    nameRow->setContentsMargins(0, 0, 0, 0);
    nameRow->addWidget(d->nameCaptionLabel);
    nameRow->addWidget(d->nameLabel, 1);
    nameRow->addStretch(0);

    auto* timeRow = new QHBoxLayout;
    timeRow->setContentsMargins(0, 0, 0, 0);
    timeRow->addWidget(d->timeLabel);
    timeRow->addStretch(0);

    auto* pathRow = new QHBoxLayout;
    pathRow->setContentsMargins(0, 0, 0, 0);
    pathRow->addWidget(d->locationCaptionLabel);
    pathRow->addWidget(d->pathLabel, 1);
    pathRow->addStretch(0);

    column->addLayout(nameRow);
    column->addLayout(timeRow);
    column->addWidget(d->sizeLabel);
    column->addLayout(pathRow);
    layout->addLayout(column);
}

FileListItem::~FileListItem()
{
    d.reset();
}

void FileListItem::setFileName(QString fileName)
{
    d->nameLabel->setText(d->elided(d->nameLabel, fileName));
    d->nameLabel->setToolTip(fileName);
}

void FileListItem::setModifyTime(QString modifyTime)
{
    d->timeLabel->setText(modifyTime);
}

void FileListItem::setFileSize(QString fileSize)
{
    d->sizeLabel->setText(fileSize);
}

void FileListItem::setFilePath(QString filePath, std::string storedPath)
{
    d->storedPath = storedPath.empty() ? filePath.toStdString() : std::move(storedPath);
    d->filePath = filePath;
    d->pathLabel->setText(d->elided(d->pathLabel, filePath));
    d->pathLabel->setToolTip(filePath);
}

void FileListItem::setImage(QString imagePath, bool damage)
{
    if (damage) {
        d->imagePath.clear();
        d->imageLabel->setProperty("damage", true);
        d->imageLabel->setAlignment(Qt::AlignCenter);
        d->imageLabel->setStyle(QApplication::style());
        for (QLabel* label : d->textLabels())
            label->setEnabled(false);
        return;
    }
    if (imagePath.isEmpty())
        return;
    // Asking waits until the picture is painted, but what the cache has shows
    // at once: a list of many tiles shows only a few of them at first.
    d->imagePath = imagePath;
    d->loadedRatio = 0;
    d->requestedRatio = 0;
    d->imageLabel->removeEventFilter(this);
    d->imageLabel->installEventFilter(this);
    d->showThumbnail();
}

void FileListItem::setStorage(RowStorage storage)
{
    d->storage = storage;
    const QString value = storage == RowStorage::Checking      ? QStringLiteral("checking")
                          : storage == RowStorage::Unavailable ? QStringLiteral("unavailable")
                          : storage == RowStorage::Missing     ? QStringLiteral("missing")
                                                               : QString();
    if (property("storage").toString() != value) {
        setProperty("storage", value);
        style()->unpolish(this);
        style()->polish(this);
    }
    // Dimmed like a damaged tile; either keeps its context menu.
    const bool dim = storage == RowStorage::Unavailable || storage == RowStorage::Missing || isDamage();
    for (QLabel* label : d->textLabels())
        label->setEnabled(!dim);
    d->showStorage();
}

void FileListItem::setPinned(bool pinned)
{
    d->pinMark->setVisible(pinned);
    if (property("pinned").toBool() == pinned)
        return;
    setProperty("pinned", pinned);
    style()->unpolish(this);
    style()->polish(this);
}

bool FileListItem::isPinned() const
{
    return property("pinned").toBool();
}

void FileListItem::setBusy(bool busy)
{
    if (property("busy").toBool() == busy)
        return;
    setProperty("busy", busy);
    style()->unpolish(this);
    style()->polish(this);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void FileListItem::reuse()
{
    d->reused = true;
    if (isDamage()) {
        d->imageLabel->setProperty("damage", QVariant());
        d->imageLabel->setStyle(QApplication::style());
        for (QLabel* label : d->textLabels())
            label->setEnabled(true);
    }
    d->imagePath.clear();
    d->loadedRatio = 0;
    d->requestedRatio = 0;
    d->imageLabel->removeEventFilter(this);
    d->imageLabel->clear();
}

bool FileListItem::hasPendingThumbnail() const
{
    const qreal ratio = d->imageLabel->devicePixelRatioF();
    return !d->imagePath.isEmpty() && d->loadedRatio != ratio && d->requestedRatio != ratio;
}

void FileListItem::loadThumbnail()
{
    // Also when the cache had it: the file may have changed since.
    if (!d->imagePath.isEmpty() && d->requestedRatio != d->imageLabel->devicePixelRatioF())
        d->requestThumbnail();
}

bool FileListItem::eventFilter(QObject* watched, QEvent* event)
{
    // Loaded before the label paints itself, so this very paint shows it; a
    // move to a screen of another pixel ratio loads it again.
    if (watched == d->imageLabel && event->type() == QEvent::Paint)
        loadThumbnail();
    return QWidget::eventFilter(watched, event);
}

std::string FileListItem::getFilePath() const
{
    return d->storedPath;
}

bool FileListItem::isDamage() const
{
    return d->imageLabel->property("damage").toBool();
}

void FileListItem::switchLanguage(const QString& language)
{
    TranslateManager::instance().translator().switchLanguage(language);
    translateLanguage();
}

void FileListItem::translateLanguage()
{
    d->nameCaptionLabel->setText(QStringLiteral("%1:").arg(trText(QStringLiteral("NameInput"))));
    d->locationCaptionLabel->setText(trText(QStringLiteral("StorageLocation")));
    d->pinMark->setText(trText(QStringLiteral("PinnedMark")));
    d->pinMark->adjustSize();
    d->pinMark->raise();
    d->showStorage();
}

} // namespace projectfilemgr
} // namespace vexa
