#pragma once

#include <QListWidget>
#include <QString>
#include <memory>
#include <string>

namespace vexa {
namespace projectfilemgr {

class FileListItem;

// What one row of the recent list shows.
struct STFileItem {
    QString fileName;
    QString modifyTime;
    QString fileSize;
    QString filePath;
    QString imagePath;
};

// The recent projects as a grid of tiles. It knows nothing of the list file:
// the page feeds it rows and it reports removals through its signals.
class FileListWidget : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListWidget(QWidget* parent = nullptr);
    ~FileListWidget() override;

    // Appends one tile as the last row and returns it.
    FileListItem* addFileListItem(const STFileItem& info, const bool damage);

    // Shows another project in an existing row, reusing its tile, so a
    // re-sort builds no widgets. Returns null for a row that does not exist.
    FileListItem* refillFileListItem(int row, const STFileItem& info, const bool damage);
    // Removes the rows from `rows` on (no signal: the user removed nothing).
    void truncate(int rows);

    // A shown list lays out all of its rows again for each row appended after
    // a tile; between these calls the tiles are put into their rows together
    // when the batch ends, so a rebuild lays the list out once.
    void beginAppend();
    void endAppend();

Q_SIGNALS:
    // The user removed the row of this project (path in UTF-8).
    void clearListFile(std::string path);
    // The last row has just been removed.
    void askEmptyFileListItem();
    // A row was taken out through the context menu (either action), path in UTF-8.
    void fileItemRemoved(std::string path);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
