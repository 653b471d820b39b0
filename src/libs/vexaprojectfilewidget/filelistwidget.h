#pragma once

#include <QListWidget>
#include <QString>
#include <QVector>
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
//
// A row keeps what it shows in its item's data (the roles below); tiles exist
// only for the rows in view and a row or so around them, and are handed on to
// other rows as the list scrolls, so a list of thousands costs what the few
// rows on screen cost. Find a row's project through its item, not its tile.
class FileListWidget : public QListWidget
{
    Q_OBJECT
public:
    enum Role {
        FileNameRole = Qt::UserRole + 1, // QString
        ModifyTimeRole,                  // QString
        FileSizeRole,                    // QString
        FilePathRole,                    // QString, the stored path
        ImagePathRole,                   // QString
        DamageRole,                      // bool
    };

    explicit FileListWidget(QWidget* parent = nullptr);
    ~FileListWidget() override;

    // Appends one row as the last one; its tile is made once it is in view.
    QListWidgetItem* addFileListItem(const STFileItem& info, const bool damage);

    // Shows another project in an existing row (its tile, if it has one, is
    // filled again), so a re-sort builds no rows. False for a row that does not exist.
    bool refillFileListItem(int row, const STFileItem& info, const bool damage);
    // Removes the rows from `rows` on (no signal: the user removed nothing).
    void truncate(int rows);

    // Between these calls no tile is filled; the rows in view are filled once
    // when the batch ends.
    void beginAppend();
    void endAppend();

    // The stored path (UTF-8) and the damaged flag of a row; empty and false for none.
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
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;
    void reset() override;
    void rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QVector<int>& roles = QVector<int>()) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
