#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>

namespace vexa {
namespace projectfilemgr {

class FileListWidget;

// The recent list as a screen reader sees it: a list whose items are all its
// rows, named by their projects, whether or not a tile shows them now. Qt's
// own interface names an item by its text, and the rows have none: what they
// show is painted by their tiles.
class RecentListAccessible : public QAccessibleWidget
{
public:
    explicit RecentListAccessible(FileListWidget* list);
    ~RecentListAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    FileListWidget* list() const;
    void dropGoneRows() const;

    // The interfaces handed out so far, by the row each stands for.
    mutable QHash<QPersistentModelIndex, QAccessible::Id> rows;
};

} // namespace projectfilemgr
} // namespace vexa
