#pragma once

#include "filerow.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

namespace vexa {
namespace projectfilemgr {

// One tile of the recent list: thumbnail, name, time, size and location.
class FileListItem : public QWidget
{
    Q_OBJECT
public:
    explicit FileListItem(QWidget* parent = nullptr);
    ~FileListItem() override;

    void setFileName(QString fileName);
    void setModifyTime(QString modifyTime);
    void setFileSize(QString fileSize);
    // `storedPath` is the path byte for byte, when its text is not.
    void setFilePath(QString filePath, std::string storedPath = {});
    void setImage(QString imagePath, bool damage);
    // Whether the project's storage answered: while it is asked the tile
    // says so; when it does not answer in time the tile is dimmed and says
    // that the location cannot be reached.
    void setStorage(RowStorage storage);
    // Pinned tiles show a mark ("pinMark") and carry the "pinned" property.
    void setPinned(bool pinned);
    bool isPinned() const;
    // While its project is looked for before an open.
    void setBusy(bool busy);

    std::string getFilePath() const; // the stored path, byte for byte
    bool isDamage() const;

    void switchLanguage(const QString& language);
    void translateLanguage();

    // True while the tile has no thumbnail to show and has not asked the
    // cache for it yet (it asks when the picture is first painted, or
    // earlier through loadThumbnail, and shows it when the cache answers).
    bool hasPendingThumbnail() const;
    void loadThumbnail();

    // Readies the tile to show another project: the normal look and no
    // picture; the caller sets every text and the picture anew. From then on
    // texts are elided as on a new tile, so a re-sort does not change how much
    // of a name shows.
    void reuse();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
