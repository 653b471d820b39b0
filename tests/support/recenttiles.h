#pragma once

#include <QList>

class QLabel;
class QListWidget;
class QWidget;

namespace vexatest {

// A tile's labels as it makes them: picture, name caption, name, time, size, location caption, path.
QList<QLabel*> labelsOf(QWidget* tile);

// Only rows in view have a tile: the row is scrolled into view, and its tile
// is the one over it.
QWidget* tileOfRow(QListWidget* list, int row);

} // namespace vexatest
