#pragma once

#include "filerow.h"
#include "stringmetatype.h"
#include "tilelistkeys.h"

#include <QListWidget>
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexa {
namespace projectfilemgr {

class FileListItem;

// The recent projects as a grid of tiles. It knows nothing of the list file:
// the page feeds it rows and it reports removals through its signals.
//
// The rows live in the list itself, beside its items (row i of the one is
// item i of the other); items carry nothing but their place. Tiles exist only
// for the rows in view and a row or so around them, and are handed on to
// other rows as the list scrolls, so a list of thousands costs what the few
// rows on screen cost. Find a row's project through its item, not its tile.
class FileListWidget : public QListWidget
{
    Q_OBJECT
public:
    // Completes a row's name, time, size and storage state, when the row was
    // given without them and a tile is about to show it.
    using RowTexts = std::function<void(FileRow&)>;

    explicit FileListWidget(QWidget* parent = nullptr);
    ~FileListWidget() override;

    // Appends one row as the last one; its tile is made once it is in view.
    // `storedPath` is the project's path byte for byte, when its text is not.
    QListWidgetItem* addFileListItem(const STFileItem& info, const bool damage, std::string storedPath = {});

    // Appends one row, its texts completed when it is first shown.
    QListWidgetItem* addRow(FileRow row);
    // The rows of these sources read their texts again; those in view at once.
    void refreshRows(const std::vector<std::uint32_t>& sources);
    // Shows the rows of this source as busy, or no longer.
    void setRowBusy(std::uint32_t source, bool busy);
    // Removes the rows of these sources (no signal: the user removed nothing).
    void removeRows(const std::vector<std::uint32_t>& sources);

    // Replaces every row at once (a sort): items are added or removed only
    // for the difference in length, and only the tiles in view are filled again.
    void setRows(std::vector<FileRow> rows);
    // Hands the rows over, for a setRows that rearranges them without copying
    // each: until then the list keeps its items and tiles, and its rows are blank.
    std::vector<FileRow> takeRows();
    void setRowTexts(RowTexts texts);

    // Shows another project in an existing row (its tile, if it has one, is
    // filled again). False for a row that does not exist.
    bool refillFileListItem(int row, const STFileItem& info, const bool damage);
    // Removes the rows from `rows` on (no signal: the user removed nothing).
    void truncate(int rows);

    // The row showing this source, or -1.
    int rowOfSource(std::uint32_t source) const;
    // What a row shows, its texts completed; null for a row that does not exist.
    const FileRow* rowAt(int row);
    // The stored path (byte for byte) and the damaged flag of an item's row;
    // empty and false for an item that is not a row of such a list.
    static std::string filePathOf(const QListWidgetItem* item);
    static bool isDamaged(const QListWidgetItem* item);

    // The tile showing the row, or null when the row is out of view.
    FileListItem* tileFor(const QListWidgetItem* item);
    // The tiles showing rows now.
    QVector<FileListItem*> shownTiles();

    // Switches the shared translator when there are rows, as a tile would,
    // and translates the tiles shown; tiles filled later translate themselves.
    void switchLanguage(const QString& language);
    void translateLanguage();

    // Does to a row what the key asks: the keys do it to the current row, a
    // screen reader to any row.
    void tileKeyAction(QListWidgetItem* item, TileKey key);

Q_SIGNALS:
    // The user removed the row of this project (its stored path).
    void clearListFile(std::string path);
    // The last row has just been removed.
    void askEmptyFileListItem();
    // A row was taken out through the context menu (either action), by its stored path.
    void fileItemRemoved(std::string path);
    // Enter on a row: open it as a double-click does.
    void keyActivated(QListWidgetItem* item);
    // The menu's pin item, or its key, on the row of this source.
    void pinRequested(std::uint32_t source, bool pinned);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void reset() override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;

private:
    // The row menu at `globalPos`; `deleteAtOnce` goes straight to its delete question.
    void runRowMenu(QListWidgetItem* item, const QPoint& globalPos, bool deleteAtOnce);
    void togglePin(QListWidgetItem* item);

    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
