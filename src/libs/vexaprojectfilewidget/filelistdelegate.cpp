#include "filelistdelegate.h"

namespace vexa {
namespace projectfilemgr {

FileListDelegate::FileListDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

FileListDelegate::~FileListDelegate() = default;

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return QSize(385, 108);
}

void FileListDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    if (editor)
        editor->setGeometry(option.rect);
}

} // namespace projectfilemgr
} // namespace vexa
