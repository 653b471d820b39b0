#include "recentrowaccessible.h"

#include "filelistwidget.h"
#include "translatemanager.h"

#include <QWidget>
#include <QWindow>

namespace vexa {
namespace projectfilemgr {

QString recentRowDescription(const FileRow& row)
{
    QString description = trText(QStringLiteral("RecentRowFacts"))
                              .arg(row.info.modifyTime, row.info.fileSize, row.info.filePath);
    // Each state wraps the facts in its own words; a new state adds its line here.
    if (row.damage)
        description = trText(QStringLiteral("RecentRowDamaged")).arg(description);
    else if (row.storage == RowStorage::Unavailable)
        description = trText(QStringLiteral("RecentRowUnavailable")).arg(description);
    else if (row.storage == RowStorage::Checking)
        description = trText(QStringLiteral("RecentRowChecking")).arg(description);
    else if (row.storage == RowStorage::Missing)
        description = trText(QStringLiteral("RecentRowMissing")).arg(description);
    if (row.pinned)
        description = trText(QStringLiteral("RecentRowPinned")).arg(description);
    return description;
}

RecentRowAccessible::RecentRowAccessible(FileListWidget* list, const QModelIndex& index) : list(list), row(index) {}

bool RecentRowAccessible::isValid() const
{
    return list && row.isValid();
}

QWindow* RecentRowAccessible::window() const
{
    return list ? list->window()->windowHandle() : nullptr;
}

QAccessibleInterface* RecentRowAccessible::parent() const
{
    return list ? QAccessible::queryAccessibleInterface(list.data()) : nullptr;
}

QString RecentRowAccessible::text(QAccessible::Text t) const
{
    // The row's texts, read from its file when no tile has shown it yet.
    const FileRow* shown = isValid() ? list->rowAt(row.row()) : nullptr;
    if (!shown)
        return QString();
    switch (t) {
    case QAccessible::Name:
        return shown->info.fileName;
    case QAccessible::Description:
        return recentRowDescription(*shown);
    default:
        return QString();
    }
}

QRect RecentRowAccessible::rect() const
{
    if (!isValid())
        return QRect();
    const QRect tile = list->visualRect(row);
    return QRect(list->viewport()->mapToGlobal(tile.topLeft()), tile.size());
}

QAccessible::State RecentRowAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.focusable = true;
    state.selectable = true;
    state.multiSelectable = true;
    state.selected = list->selectionModel()->isSelected(row);
    state.focused = list->hasFocus() && row == list->currentIndex();
    state.offscreen = !list->visualRect(row).intersects(list->viewport()->rect());
    return state;
}

void* RecentRowAccessible::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList RecentRowAccessible::actionNames() const
{
    return {pressAction(), showMenuAction(), setFocusAction()};
}

void RecentRowAccessible::doAction(const QString& actionName)
{
    if (!isValid())
        return;
    if (actionName == setFocusAction()) {
        list->setCurrentIndex(row);
        list->setFocus(Qt::OtherFocusReason);
        return;
    }
    const TileKey key = actionName == pressAction()      ? TileKey::Activate
                        : actionName == showMenuAction() ? TileKey::Menu
                                                         : TileKey::None;
    // Later, from the event loop: an open or a menu runs a loop of its own,
    // and the screen reader waits for this call to return.
    QPointer<FileListWidget> view = list;
    const QPersistentModelIndex target = row;
    QMetaObject::invokeMethod(
        view.data(),
        [view, target, key] {
            if (view && target.isValid())
                view->tileKeyAction(view->item(target.row()), key);
        },
        Qt::QueuedConnection);
}

} // namespace projectfilemgr
} // namespace vexa
