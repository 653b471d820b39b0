#include "filelistwidget.h"

#include "filelistdelegate.h"
#include "filelistitem.h"
#include "storagequeue.h"
#include "projectfiletrash.h"
#include "recentrowmenu.h"
#include "translatemanager.h"
#include "translator.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QDebug>
#include <QHash>
#include <QKeyEvent>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

namespace vexa {
namespace projectfilemgr {

// How far beyond the viewport tiles are kept ready: about one line of tiles,
// so a scroll step shows tiles that were filled (and their thumbnails decoded)
// before they came into view.
constexpr int kTileMargin = 128;

class FileListWidget::Impl
{
public:
    explicit Impl(FileListWidget* owner) : q(owner)
    {
        prefetch.setSingleShot(true);
        prefetch.setInterval(0);
        QObject::connect(&prefetch, &QTimer::timeout, q, [this] { prefetchNext(); });
    }

    // The row of item `row`, its texts completed first when they were left for later.
    FileRow* rowAt(int row)
    {
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size())
            return nullptr;
        FileRow& entry = rows[static_cast<std::size_t>(row)];
        if (entry.textsPending) {
            entry.textsPending = false;
            if (texts)
                texts(entry);
        }
        return &entry;
    }

    void fill(FileListItem* tile, int row, bool used)
    {
        const FileRow* entry = rowAt(row);
        if (!entry)
            return;
        if (used)
            tile->reuse();
        tile->setFileName(entry->info.fileName);
        tile->setModifyTime(entry->info.modifyTime);
        tile->setFileSize(entry->info.fileSize);
        tile->setFilePath(entry->info.filePath, entry->path());
        tile->setImage(entry->info.imagePath, entry->damage);
        tile->setStorage(entry->storage);
        tile->setPinned(entry->pinned);
        tile->setBusy(entry->busy);
        // Tiles come and go while the page is shown: each speaks its current language.
        tile->translateLanguage();
    }

    void refillShown()
    {
        for (auto it = shown.cbegin(); it != shown.cend(); ++it)
            fill(it.value(), q->row(it.key()), true);
    }

    void release(const QListWidgetItem* item)
    {
        const auto it = shown.find(item);
        if (it == shown.end())
            return;
        FileListItem* tile = it.value();
        shown.erase(it);
        tile->hide();
        spare.push_back(tile);
    }

    void releaseAll()
    {
        for (FileListItem* tile : qAsConst(shown)) {
            tile->hide();
            spare.push_back(tile);
        }
        shown.clear();
    }

    // Gives the rows in view (and a margin) their tiles, takes them from the
    // rows that left it, and puts each where its row is.
    void sync()
    {
        if (syncing)
            return;
        syncing = true;
        q->executeDelayedItemsLayout();
        const QRect area = q->viewport()->rect().adjusted(0, -kTileMargin, 0, kTileMargin);
        QAbstractItemModel* model = q->model();
        const int rows = q->count();
        // Rows are laid out in reading order, so the first one reaching the
        // area can be found by halving.
        int first = 0;
        int last = rows;
        while (first < last) {
            const int middle = (first + last) / 2;
            if (q->visualRect(model->index(middle, 0)).bottom() < area.top())
                first = middle + 1;
            else
                last = middle;
        }
        std::vector<std::pair<int, QRect>> wanted;
        for (int row = first; row < rows; ++row) {
            const QRect rect = q->visualRect(model->index(row, 0));
            if (rect.top() > area.bottom())
                break;
            if (rect.isValid() && rect.intersects(area))
                wanted.emplace_back(row, rect);
        }
        const QList<const QListWidgetItem*> current = shown.keys();
        for (const QListWidgetItem* item : current) {
            const int row = q->row(item);
            if (std::none_of(wanted.begin(), wanted.end(), [row](const auto& w) { return w.first == row; }))
                release(item);
        }
        for (const auto& [row, rect] : wanted) {
            const QListWidgetItem* item = q->item(row);
            FileListItem* tile = shown.value(item);
            if (!tile) {
                const bool used = !spare.empty();
                if (used) {
                    tile = spare.back();
                    spare.pop_back();
                } else {
                    tile = new FileListItem(q->viewport());
                }
                fill(tile, row, used);
                shown.insert(item, tile);
            }
            tile->setGeometry(rect);
            tile->show();
        }
        syncHover();
        syncing = false;
    }

    // Qt leaves the hover state on a tile that is moved, hidden and handed on
    // under a still pointer: only the tile under the pointer may show it.
    void syncHover()
    {
        const QPoint pointer = q->viewport()->mapFromGlobal(QCursor::pos());
        const bool inside = q->viewport()->underMouse();
        for (FileListItem* tile : qAsConst(shown)) {
            const bool under = inside && tile->geometry().contains(pointer);
            if (tile->testAttribute(Qt::WA_UnderMouse) != under) {
                tile->setAttribute(Qt::WA_UnderMouse, under);
                tile->update();
            }
        }
    }

    // Loads the thumbnail of one tile that is ready but not on screen yet, so
    // scrolling finds it cached. One per turn of the event loop keeps the page responsive.
    void prefetchNext()
    {
        for (FileListItem* tile : qAsConst(shown)) {
            if (tile->hasPendingThumbnail()) {
                tile->loadThumbnail();
                prefetch.start();
                return;
            }
        }
    }

    // Moves the project to the trash off the GUI thread; its rows go when it
    // is gone, and stay, with the user told why, when it is not.
    void trash(const std::string& path)
    {
        markBusy(path, true);
        trashing.post([this, path] {
            QString reason;
            const bool gone = moveProjectToTrash(path, &reason);
            return std::function<void()>([this, path, gone, reason] { trashed(path, gone, reason); });
        });
    }

    void trashed(const std::string& path, bool gone, const QString& reason)
    {
        const QString file = QString::fromStdString(path);
        if (!reason.isEmpty())
            qWarning() << "remove list projectFile error: " << file << ", error code is " << qUtf8Printable(reason);
        markBusy(path, false);
        if (!gone) {
            tellNotDeleted(file, reason);
            return;
        }
        for (int row = q->count() - 1; row >= 0; --row) {
            if (rows[static_cast<std::size_t>(row)].path() == path)
                delete q->takeItem(row);
        }
        Q_EMIT q->fileItemRemoved(path);
        if (q->count() == 0)
            Q_EMIT q->askEmptyFileListItem();
    }

    void markBusy(const std::string& path, bool busy)
    {
        for (std::size_t row = 0; row < rows.size(); ++row) {
            if (rows[row].path() != path)
                continue;
            rows[row].busy = busy;
            if (FileListItem* tile = shown.value(q->item(static_cast<int>(row))))
                tile->setBusy(busy);
        }
    }

    FileListWidget* q;
    StorageQueue trashing;
    QTimer prefetch;
    bool syncing = false;
    // rows[i] is what item i shows.
    std::vector<FileRow> rows;
    RowTexts texts;
    QHash<const QListWidgetItem*, FileListItem*> shown;
    std::vector<FileListItem*> spare;
};

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent), d(new Impl(this))
{
    setObjectName(QStringLiteral("FileListWidget"));
    setResizeMode(QListView::Adjust);
    setViewMode(QListView::IconMode);
    setTextElideMode(Qt::ElideRight);
    setSpacing(20);
    // Every row has the tile's size: the view lays out thousands without asking each.
    setUniformItemSizes(true);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Reached by Tab and kept after a click, so the keys work on the rows.
    setFocusPolicy(Qt::StrongFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new FileListDelegate(this));
}

FileListWidget::~FileListWidget()
{
    d.reset();
}

QListWidgetItem* FileListWidget::addFileListItem(const STFileItem& info, const bool damage, std::string storedPath)
{
    auto* item = new QListWidgetItem(nullptr, 0);
    addItem(item);
    FileRow& entry = d->rows[static_cast<std::size_t>(row(item))];
    entry.info = info;
    entry.storedPath = std::move(storedPath);
    entry.damage = damage;

    qDebug() << "QListWidgetItemDelegate's sizeHint is " << "  width == " << 385 << "  hegith == " << 108
             << "Info name is " << info.fileName;
    update();
    return item;
}

QListWidgetItem* FileListWidget::addRow(FileRow row)
{
    auto* item = new QListWidgetItem(nullptr, 0);
    addItem(item);
    d->rows[static_cast<std::size_t>(this->row(item))] = std::move(row);
    update();
    return item;
}

void FileListWidget::refreshRows(const std::vector<std::uint32_t>& sources)
{
    const std::unordered_set<std::uint32_t> wanted(sources.begin(), sources.end());
    for (FileRow& row : d->rows) {
        if (wanted.count(row.source))
            row.textsPending = true;
    }
    for (auto it = d->shown.cbegin(); it != d->shown.cend(); ++it) {
        const int row = this->row(it.key());
        if (d->rows[static_cast<std::size_t>(row)].textsPending)
            d->fill(it.value(), row, true);
    }
}

void FileListWidget::setRowBusy(std::uint32_t source, bool busy)
{
    for (std::size_t row = 0; row < d->rows.size(); ++row) {
        if (d->rows[row].source != source)
            continue;
        d->rows[row].busy = busy;
        if (FileListItem* tile = d->shown.value(item(static_cast<int>(row))))
            tile->setBusy(busy);
    }
}

void FileListWidget::removeRows(const std::vector<std::uint32_t>& sources)
{
    const std::unordered_set<std::uint32_t> gone(sources.begin(), sources.end());
    // From the end, so the rows still to look at keep their places.
    for (int row = count() - 1; row >= 0; --row) {
        if (gone.count(d->rows[static_cast<std::size_t>(row)].source))
            delete takeItem(row);
    }
}

void FileListWidget::setRows(std::vector<FileRow> rows)
{
    const int wanted = static_cast<int>(rows.size());
    truncate(wanted);
    if (count() < wanted) {
        // One insertion for all the new rows: one by one, a long list would
        // lay itself out again for each. Blank items, as addRow makes them:
        // a text each would cost an allocation per row, and nothing shows it.
        model()->insertRows(count(), wanted - count());
    }
    d->rows.swap(rows);
    d->refillShown();
    d->sync();
    viewport()->update();
}

std::vector<FileRow> FileListWidget::takeRows()
{
    std::vector<FileRow> rows(d->rows.size());
    d->rows.swap(rows);
    return rows;
}

void FileListWidget::setRowTexts(RowTexts texts)
{
    d->texts = std::move(texts);
}

bool FileListWidget::refillFileListItem(int row, const STFileItem& info, const bool damage)
{
    if (row < 0 || row >= count())
        return false;
    FileRow& entry = d->rows[static_cast<std::size_t>(row)];
    entry.info = info;
    entry.storedPath.clear();
    entry.damage = damage;
    entry.textsPending = false;
    entry.source = FileRow::kNoSource; // another project now
    if (FileListItem* tile = d->shown.value(item(row)))
        d->fill(tile, row, true);
    viewport()->update();
    return true;
}

void FileListWidget::truncate(int rows)
{
    if (count() > qMax(0, rows))
        model()->removeRows(qMax(0, rows), count() - qMax(0, rows));
}

const FileRow* FileListWidget::rowAt(int row)
{
    return d->rowAt(row);
}

namespace {

const FileRow* rowOf(const QListWidgetItem* item)
{
    auto* list = item ? qobject_cast<FileListWidget*>(item->listWidget()) : nullptr;
    return list ? list->rowAt(list->row(item)) : nullptr;
}

} // namespace

std::string FileListWidget::filePathOf(const QListWidgetItem* item)
{
    const FileRow* entry = rowOf(item);
    return entry ? entry->path() : std::string();
}

bool FileListWidget::isDamaged(const QListWidgetItem* item)
{
    const FileRow* entry = rowOf(item);
    return entry && entry->damage;
}

FileListItem* FileListWidget::tileFor(const QListWidgetItem* item)
{
    d->sync();
    return d->shown.value(item);
}

QVector<FileListItem*> FileListWidget::shownTiles()
{
    d->sync();
    QVector<FileListItem*> tiles;
    for (int row = 0; row < count(); ++row) {
        if (FileListItem* tile = d->shown.value(item(row)))
            tiles.push_back(tile);
    }
    return tiles;
}

void FileListWidget::switchLanguage(const QString& language)
{
    if (count() > 0)
        TranslateManager::instance().translator().switchLanguage(language);
    translateLanguage();
}

void FileListWidget::translateLanguage()
{
    for (FileListItem* tile : qAsConst(d->shown))
        tile->translateLanguage();
}

bool FileListWidget::viewportEvent(QEvent* event)
{
    // Rows added or removed since the last layout get their tiles before this
    // paint, so no row is painted without one.
    if (event->type() == QEvent::Paint)
        executeDelayedItemsLayout();
    const bool handled = QListWidget::viewportEvent(event);
    // The tiles on screen load their thumbnails as they paint; those just out
    // of view follow once the page has been painted.
    if (event->type() == QEvent::Paint && !d->prefetch.isActive())
        d->prefetch.start();
    return handled;
}

void FileListWidget::scrollContentsBy(int dx, int dy)
{
    QListWidget::scrollContentsBy(dx, dy);
    d->sync();
}

void FileListWidget::updateGeometries()
{
    QListWidget::updateGeometries();
    d->sync();
}

void FileListWidget::reset()
{
    d->releaseAll();
    d->rows.resize(static_cast<std::size_t>(qMax(0, count())));
    QListWidget::reset();
}

void FileListWidget::rowsInserted(const QModelIndex& parent, int start, int end)
{
    if (!parent.isValid())
        d->rows.insert(d->rows.begin() + start, static_cast<std::size_t>(end - start + 1), FileRow());
    QListWidget::rowsInserted(parent, start, end);
}

void FileListWidget::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    if (!parent.isValid()) {
        for (int row = start; row <= end; ++row)
            d->release(item(row));
        if (static_cast<std::size_t>(end) < d->rows.size())
            d->rows.erase(d->rows.begin() + start, d->rows.begin() + end + 1);
    }
    QListWidget::rowsAboutToBeRemoved(parent, start, end);
}

void FileListWidget::keyPressEvent(QKeyEvent* event)
{
    const TileKey key = tileKey(event, false);
    if (key == TileKey::None || !currentItem()) {
        QListWidget::keyPressEvent(event);
        return;
    }
    tileKeyAction(currentItem(), key);
}

void FileListWidget::tileKeyAction(QListWidgetItem* item, TileKey key)
{
    if (!item || key == TileKey::None)
        return;
    scrollToItem(item);
    if (key == TileKey::Activate)
        Q_EMIT keyActivated(item);
    else if (key == TileKey::Pin)
        togglePin(item);
    else
        runRowMenu(item, tileMenuPoint(this, item), key == TileKey::Delete);
}

int FileListWidget::rowOfSource(std::uint32_t source) const
{
    const auto found = std::find_if(d->rows.begin(), d->rows.end(), [source](const FileRow& row) { return row.source == source; });
    return found == d->rows.end() ? -1 : static_cast<int>(found - d->rows.begin());
}

void FileListWidget::togglePin(QListWidgetItem* item)
{
    if (const FileRow* shown = item ? rowAt(row(item)) : nullptr)
        Q_EMIT pinRequested(shown->source, !shown->pinned);
}

void FileListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard (the Menu key, where the platform turns it into a
    // menu request) the menu is the current row's, shown at its tile.
    if (event->reason() == QContextMenuEvent::Keyboard)
        tileKeyAction(currentItem(), TileKey::Menu);
    else
        runRowMenu(itemAt(event->pos()), event->globalPos(), false);
}

void FileListWidget::runRowMenu(QListWidgetItem* item, const QPoint& globalPos, bool deleteAtOnce)
{
    const FileRow* shown = item ? rowAt(row(item)) : nullptr;
    if (!shown)
        return;
    // The menu runs its own loop: the row, or the list itself, may be gone when it returns.
    const QPersistentModelIndex index = indexFromItem(item);
    const QPointer<FileListWidget> self(this);
    const RowChoice choice = deleteAtOnce ? RowChoice::Delete : chooseFromRowMenu(this, shown->pinned, globalPos);
    if (!self)
        return;
    item = index.isValid() ? itemFromIndex(index) : nullptr;
    if (!item || !rowAt(row(item)))
        return;

    const std::string path = filePathOf(item);
    switch (choice) {
    case RowChoice::Delete:
        if (!confirmDelete(QString::fromStdString(path)) || !self || !index.isValid())
            return; // the question ran a loop of its own as well
        // The trash may be on a share that is slow to answer: the row shows busy meanwhile.
        d->trash(path);
        return;
    case RowChoice::Pin:
        togglePin(item);
        return;
    case RowChoice::Forget:
        Q_EMIT clearListFile(path);
        delete takeItem(row(item));
        Q_EMIT fileItemRemoved(path);
        if (count() == 0)
            Q_EMIT askEmptyFileListItem();
        return;
    case RowChoice::None:
        return;
    }
}

} // namespace projectfilemgr
} // namespace vexa
