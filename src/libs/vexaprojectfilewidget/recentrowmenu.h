#pragma once

// The context menu of a recent project's tile, and the questions around its
// delete. They run loops of their own: callers check afterwards that what
// they act on is still there.

#include <QString>

class QPoint;
class QWidget;

namespace vexa {
namespace projectfilemgr {

enum class RowChoice { None, Pin, Forget, Delete };

// Shows the menu at `globalPos` for a row pinned or not; what the user chose.
RowChoice chooseFromRowMenu(QWidget* list, bool pinned, const QPoint& globalPos);

// A project file is gone for good only after the user said so.
bool confirmDelete(const QString& path);

// Says why a project file the user chose to delete is still there.
void tellNotDeleted(const QString& path, const QString& reason);

} // namespace projectfilemgr
} // namespace vexa
