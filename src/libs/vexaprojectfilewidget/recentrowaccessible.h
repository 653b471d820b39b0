#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QPersistentModelIndex>
#include <QPointer>

namespace vexa {
namespace projectfilemgr {

class FileListWidget;
struct FileRow;

// What a screen reader reads after a recent project's name: its time, size
// and location, then each state that keeps it from opening from the list.
QString recentRowDescription(const FileRow& row);

// One row of the recent list as a screen reader sees it: a list item named
// by its project, described by recentRowDescription, that opens on a press
// and shows its menu. The thumbnail is decoration and not exposed.
class RecentRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RecentRowAccessible(FileListWidget* list, const QModelIndex& index);

    const QPersistentModelIndex& index() const { return row; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<FileListWidget> list;
    QPersistentModelIndex row;
};

} // namespace projectfilemgr
} // namespace vexa
