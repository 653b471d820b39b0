#include "recenttiles.h"

#include <QLabel>
#include <QListWidget>

namespace vexatest {

QList<QLabel*> labelsOf(QWidget* tile)
{
    return tile->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
}

QWidget* tileOfRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    QWidget* hit = list->viewport()->childAt(list->visualItemRect(list->item(row)).center());
    return hit && hit->parentWidget() != list->viewport() ? hit->parentWidget() : hit; // the tile or a label of it
}

} // namespace vexatest
