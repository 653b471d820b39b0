#include "filelistwidget.h"

#include "filelistdelegate.h"
#include "filelistitem.h"
#include "translatemanager.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDebug>
#include <QMenu>
#include <filesystem>
#include <system_error>

namespace vexa {
namespace projectfilemgr {

class FileListWidget::Impl
{
public:
    explicit Impl(FileListWidget* owner) : q(owner) {}
    FileListWidget* q;
};

FileListWidget::FileListWidget(QWidget* parent) : QListWidget(parent), d(new Impl(this))
{
    setObjectName(QStringLiteral("FileListWidget"));
    setResizeMode(QListView::Adjust);
    setViewMode(QListView::IconMode);
    setTextElideMode(Qt::ElideRight);
    setSpacing(20);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new FileListDelegate(this));
}

FileListWidget::~FileListWidget()
{
    d.reset();
}

void FileListWidget::addFileListItem(const STFileItem& info, const bool damage)
{
    auto* tile = new FileListItem(this);
    tile->setFileName(info.fileName);
    tile->setModifyTime(info.modifyTime);
    tile->setFileSize(info.fileSize);
    tile->setFilePath(info.filePath);
    tile->setImage(info.imagePath, damage);

    auto* item = new QListWidgetItem(nullptr, 0);
    item->setSizeHint(QSize(385, 108));
    addItem(item);
    setItemWidget(item, tile);

    qDebug() << "QListWidgetItemDelegate's sizeHint is " << "  width == " << tile->sizeHint().width()
             << "  hegith == " << tile->sizeHint().height() << "Info name is " << info.fileName;
    update();
}

void FileListWidget::contextMenuEvent(QContextMenuEvent* event)
{
    QListWidgetItem* item = itemAt(event->pos());
    QMenu menu(this);
    QAction* clearAction = menu.addAction(trText(QStringLiteral("ClearFile")));
    QAction* deleteAction = menu.addAction(trText(QStringLiteral("DeleteFiles")));
    if (!item)
        return;

    QAction* chosen = menu.exec(mapToGlobal(event->pos()));
    auto* tile = qobject_cast<FileListItem*>(itemWidget(item));
    if (!tile)
        return;

    if (chosen == deleteAction) {
        const std::string path = tile->getFilePath();
        std::error_code error;
        if (!std::filesystem::remove(std::filesystem::u8path(path), error)) {
            qWarning() << "remove list projectFile error: " << QString::fromStdString(path) << ", error code is "
                       << QString::fromStdString(error.message());
        }
        delete takeItem(row(item));
        Q_EMIT fileItemRemoved(path);
    } else if (chosen == clearAction) {
        const std::string path = tile->getFilePath();
        Q_EMIT clearListFile(path);
        delete takeItem(row(item));
        Q_EMIT fileItemRemoved(path);
    } else {
        return;
    }
    if (count() == 0)
        Q_EMIT askEmptyFileListItem();
}

} // namespace projectfilemgr
} // namespace vexa
