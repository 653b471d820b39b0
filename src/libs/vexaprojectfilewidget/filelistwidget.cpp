#include "filelistwidget.h"

#include "filelistdelegate.h"
#include "filelistitem.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
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
    // Enter keeps the project.
    tip.setDefaultButton(2);
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
                texts(entry.info);
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
        tile->setFilePath(entry->info.filePath);
        tile->setImage(entry->info.imagePath, entry->damage);
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
        syncing = false;
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

    FileListWidget* q;
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

QListWidgetItem* FileListWidget::addFileListItem(const STFileItem& info, const bool damage)
{
    auto* item = new QListWidgetItem(nullptr, 0);
    addItem(item);
    FileRow& entry = d->rows[static_cast<std::size_t>(row(item))];
    entry.info = info;
    entry.damage = damage;

    qDebug() << "QListWidgetItemDelegate's sizeHint is " << "  width == " << 385 << "  hegith == " << 108
             << "Info name is " << info.fileName;
    update();
    return item;
}

void FileListWidget::setRows(std::vector<FileRow> rows)
{
    const int wanted = static_cast<int>(rows.size());
    truncate(wanted);
    if (count() < wanted) {
        // One insertion for all the new rows: one by one, a long list would
        // lay itself out again for each.
        QStringList blanks;
        blanks.reserve(wanted - count());
        while (blanks.size() < wanted - count())
            blanks.append(QString());
        insertItems(count(), blanks);
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
    return entry ? entry->info.filePath.toStdString() : std::string();
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
    else
        runRowMenu(item, tileMenuPoint(this, item), key == TileKey::Delete);
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
    if (deleteAtOnce)
        chosen = deleteAction;
    else if (QAction* returned = menu->exec(globalPos))
        chosen = returned;
    if (!self)
        return;
    delete menu;
    item = index.isValid() ? itemFromIndex(index) : nullptr;
    if (!item || !rowAt(row(item)))
        return;

    if (chosen == deleteAction) {
        const std::string path = filePathOf(item);
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
        const std::string path = filePathOf(item);
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
