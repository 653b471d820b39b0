#include "tilelistkeys.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QListWidget>

namespace vexa {
namespace projectfilemgr {

TileKey tileKey(const QKeyEvent* event, bool spaceActivates)
{
    // The keypad's Enter carries the keypad modifier; nothing else may be held.
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return held == Qt::NoModifier ? TileKey::Activate : TileKey::None;
    case Qt::Key_Space:
        return spaceActivates && held == Qt::NoModifier ? TileKey::Activate : TileKey::None;
    case Qt::Key_Menu:
        return held == Qt::NoModifier ? TileKey::Menu : TileKey::None;
    case Qt::Key_F10:
        return held == Qt::ShiftModifier ? TileKey::Menu : TileKey::None;
    case Qt::Key_Delete:
        return held == Qt::NoModifier ? TileKey::Delete : TileKey::None;
    case Qt::Key_P:
        return held == Qt::ControlModifier ? TileKey::Pin : TileKey::None;
    default:
        return TileKey::None;
    }
}

QKeySequence pinKeys()
{
    return QKeySequence(QStringLiteral("Ctrl+P"));
}

QPoint tileMenuPoint(const QListWidget* list, const QListWidgetItem* item)
{
    const QRect area = list->viewport()->rect();
    const QRect shown = list->visualItemRect(item).intersected(area);
    return list->viewport()->mapToGlobal(shown.isEmpty() ? area.center() : shown.center());
}

} // namespace projectfilemgr
} // namespace vexa
