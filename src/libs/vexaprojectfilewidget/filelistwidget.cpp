#include "filelistwidget.h"

#include "filelistdelegate.h"
#include "filelistitem.h"
#include "tipdialog.h"
#include "translatemanager.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>
#include <system_error>
#include <utility>
#include <vector>

namespace vexa {
namespace projectfilemgr {

namespace {

// A project file is gone for good only after the user said so.
bool confirmDelete(const QString& path)
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(
        QStringLiteral("%1\n%2").arg(trText(QStringLiteral("DeleteFileTip")), QDir::toNativeSeparators(path)));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
    const int code = tip.run().buttonCode;
    return code != 0 && code != 2;
}

// Moves the project file to the trash, where the system has one, so a wrong
// click can be undone. True when no file is left at the path; `reason` says
// what went wrong otherwise, or why there was nothing to remove.
bool removeProjectFile(const QString& path, QString* reason)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        // A folder in the list is not a project file: never touch what is inside.
        *reason = QString::fromStdString(std::make_error_code(std::errc::is_a_directory).message());
        return false;
    }
    if (!info.exists() && !info.isSymLink()) {
        // Nothing left to remove; the warning says so as it always did.
        *reason = QString::fromStdString(std::error_code().message());
        return true;
    }
    QFile file(path);
#if defined(Q_OS_ANDROID) || defined(Q_OS_IOS) || defined(Q_OS_WASM)
    const bool removed = file.remove();
#else
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt 5 takes the working folder for the trash when it cannot make one in
    // the data folder, and the project would end up in a stray "files" folder.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
    bool removed = file.moveToTrash();
    if (removed && QFileInfo(file.fileName()).isRelative()) {
        // It did so all the same (a data folder without write access): put the project back.
        const QString stray = file.fileName();
        QFile::rename(stray, path);
        QFile::remove(QStringLiteral("info/%1.trashinfo").arg(QFileInfo(stray).fileName()));
        *reason = QStringLiteral("no trash folder");
        return false;
    }
#endif
    if (!removed)
        *reason = file.errorString();
    return removed;
}

} // namespace

class FileListWidget::Impl
{
public:
    explicit Impl(FileListWidget* owner) : q(owner)
    {
        prefetch.setSingleShot(true);
        prefetch.setInterval(0);
        QObject::connect(&prefetch, &QTimer::timeout, q, [this] { prefetchNext(); });
    }

    FileListItem* tileAt(int row) const { return qobject_cast<FileListItem*>(q->itemWidget(q->item(row))); }

    static void fill(FileListItem* tile, const STFileItem& info, bool damage)
    {
        tile->setFileName(info.fileName);
        tile->setModifyTime(info.modifyTime);
        tile->setFileSize(info.fileSize);
        tile->setFilePath(info.filePath);
        tile->setImage(info.imagePath, damage);
    }

    // Puts the tile into its row now, or when the batch ends.
    void attach(QListWidgetItem* item, FileListItem* tile)
    {
        if (appending)
            unattached.emplace_back(q->indexFromItem(item), tile);
        else
            q->setItemWidget(item, tile);
    }

    // Loads one thumbnail that is not on screen yet, so scrolling and re-sorting
    // find them all cached. One per turn of the event loop keeps the page responsive.
    void prefetchNext()
    {
        for (int row = 0; row < q->count(); ++row) {
            FileListItem* tile = tileAt(row);
            if (tile && tile->hasPendingThumbnail()) {
                tile->loadThumbnail();
                prefetch.start();
                return;
            }
        }
    }

    FileListWidget* q;
    QTimer prefetch;
    bool appending = false;
    std::vector<std::pair<QPersistentModelIndex, QPointer<FileListItem>>> unattached;
};

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent), d(new Impl(this))
{
    setObjectName(QStringLiteral("FileListWidget"));
    setResizeMode(QListView::Adjust);
    setViewMode(QListView::IconMode);
    setTextElideMode(Qt::ElideRight);
    setSpacing(20);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new FileListDelegate(this));
}

FileListWidget::~FileListWidget()
{
    d.reset();
}

FileListItem* FileListWidget::addFileListItem(const STFileItem& info, const bool damage)
{
    auto* tile = new FileListItem(this);
    Impl::fill(tile, info, damage);

    auto* item = new QListWidgetItem(nullptr, 0);
    item->setSizeHint(QSize(385, 108));
    addItem(item);
    d->attach(item, tile);

    qDebug() << "QListWidgetItemDelegate's sizeHint is " << "  width == " << tile->sizeHint().width()
             << "  hegith == " << tile->sizeHint().height() << "Info name is " << info.fileName;
    update();
    return tile;
}

FileListItem* FileListWidget::refillFileListItem(int row, const STFileItem& info, const bool damage)
{
    QListWidgetItem* item = this->item(row);
    if (!item)
        return nullptr;
    FileListItem* tile = d->tileAt(row);
    if (tile) {
        tile->reuse();
    } else {
        tile = new FileListItem(this); // its tile is still waiting for the batch to end
        d->attach(item, tile);
    }
    Impl::fill(tile, info, damage);
    return tile;
}

void FileListWidget::truncate(int rows)
{
    while (count() > qMax(0, rows))
        delete takeItem(count() - 1);
}

void FileListWidget::beginAppend()
{
    d->appending = true;
}

void FileListWidget::endAppend()
{
    d->appending = false;
    for (auto& [index, tile] : d->unattached) {
        if (!tile)
            continue;
        if (index.isValid())
            setItemWidget(itemFromIndex(index), tile);
        else
            delete tile; // its row went while the batch was open
    }
    d->unattached.clear();
}

bool FileListWidget::viewportEvent(QEvent* event)
{
    const bool handled = QListWidget::viewportEvent(event);
    // The tiles on screen load their thumbnails as they paint; the others
    // follow once the page has been painted.
    if (event->type() == QEvent::Paint && !d->prefetch.isActive())
        d->prefetch.start();
    return handled;
}

void FileListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    QListWidgetItem* item = itemAt(event->pos());
    QPointer<QMenu> menu = new QMenu(this);
    QAction* clearAction = menu->addAction(trText(QStringLiteral("ClearFile")));
    QAction* deleteAction = menu->addAction(trText(QStringLiteral("DeleteFiles")));
    if (!item) {
        delete menu;
        return;
    }

    // The menu runs its own loop: the row, or the list itself, may be gone when it returns.
    const QPersistentModelIndex index = indexFromItem(item);
    const QPointer<FileListWidget> self(this);
    // An action can also be triggered without the menu returning it (through
    // accessibility, for instance): take whichever the menu reports.
    QAction* chosen = nullptr;
    connect(menu, &QMenu::triggered, this, [&chosen](QAction* action) { chosen = action; });
    if (QAction* returned = menu->exec(event->globalPos()))
        chosen = returned;
    if (!self)
        return;
    delete menu;
    item = index.isValid() ? itemFromIndex(index) : nullptr;
    auto* tile = item ? qobject_cast<FileListItem*>(itemWidget(item)) : nullptr;
    if (!tile)
        return;

    if (chosen == deleteAction) {
        const std::string path = tile->getFilePath();
        const QString file = QString::fromStdString(path);
        if (!confirmDelete(file))
            return;
        // The question ran a loop of its own as well.
        if (!self)
            return;
        item = index.isValid() ? itemFromIndex(index) : nullptr;
        if (!item)
            return;
        QString reason;
        const bool gone = removeProjectFile(file, &reason);
        if (!reason.isEmpty())
            qWarning() << "remove list projectFile error: " << file << ", error code is " << qUtf8Printable(reason);
        // A project that is still on the disk keeps its row.
        if (!gone)
            return;
        delete takeItem(row(item));
        Q_EMIT fileItemRemoved(path);
    } else if (chosen == clearAction) {
        const std::string path = tile->getFilePath();
        Q_EMIT clearListFile(path);
        delete takeItem(row(item));
        Q_EMIT fileItemRemoved(path);
    } else {
        return;
    }
    if (count() == 0)
        Q_EMIT askEmptyFileListItem();
}

} // namespace projectfilemgr
} // namespace vexa
