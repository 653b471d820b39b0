#pragma once

// The keys the tile lists answer beside Qt's own moves (arrows, Home, End,
// Page Up and Page Down), so a keyboard reaches whatever the mouse does.

class QKeyEvent;
class QKeySequence;
class QListWidget;
class QListWidgetItem;
class QPoint;

namespace vexa {
namespace projectfilemgr {

enum class TileKey {
    None,
    Activate, // Enter: what a double-click does
    Menu,     // the Menu key or Shift+F10: the tile's context menu
    Delete,   // Delete: the menu's delete, question included
    Pin       // Ctrl+P: the menu's pin or unpin
};

// The keys of TileKey::Pin, as a menu shows them.
QKeySequence pinKeys();

// What the key asks of the current tile; Space activates too where
// `spaceActivates` (a list that has nothing to select).
TileKey tileKey(const QKeyEvent* event, bool spaceActivates);

// Where a menu opened from the keyboard shows: the middle of the tile's part
// in view, in global coordinates.
QPoint tileMenuPoint(const QListWidget* list, const QListWidgetItem* item);

} // namespace projectfilemgr
} // namespace vexa
