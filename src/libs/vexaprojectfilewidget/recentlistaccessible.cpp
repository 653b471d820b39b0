#include "recentlistaccessible.h"

#include "filelistwidget.h"
#include "recentrowaccessible.h"

namespace vexa {
namespace projectfilemgr {

RecentListAccessible::RecentListAccessible(FileListWidget* list) : QAccessibleWidget(list, QAccessible::List) {}

RecentListAccessible::~RecentListAccessible()
{
    for (const QAccessible::Id id : qAsConst(rows))
        QAccessible::deleteAccessibleInterface(id);
}

FileListWidget* RecentListAccessible::list() const
{
    return static_cast<FileListWidget*>(widget());
}

int RecentListAccessible::childCount() const
{
    return list()->count();
}

QAccessibleInterface* RecentListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const QPersistentModelIndex row(list()->model()->index(index, 0));
    if (const QAccessible::Id id = rows.value(row))
        return QAccessible::accessibleInterface(id);
    // More interfaces than rows: some stand for rows that are gone.
    if (rows.size() >= childCount())
        dropGoneRows();
    auto* item = new RecentRowAccessible(list(), row);
    rows.insert(row, QAccessible::registerAccessibleInterface(item));
    return item;
}

int RecentListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->role() != QAccessible::ListItem || child->parent() != this)
        return -1;
    const auto* row = static_cast<const RecentRowAccessible*>(child);
    return row->index().isValid() ? row->index().row() : -1;
}

QAccessibleInterface* RecentListAccessible::childAt(int x, int y) const
{
    const QPoint at = list()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = list()->indexAt(at);
    return index.isValid() ? child(index.row()) : nullptr;
}

void RecentListAccessible::dropGoneRows() const
{
    for (auto it = rows.begin(); it != rows.end();) {
        if (it.key().isValid()) {
            ++it;
            continue;
        }
        QAccessible::deleteAccessibleInterface(it.value());
        it = rows.erase(it);
    }
}

} // namespace projectfilemgr
} // namespace vexa
