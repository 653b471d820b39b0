#include "filelistdelegate.h"

namespace vexa {
namespace projectfilemgr {

FileListDelegate::FileListDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

FileListDelegate::~FileListDelegate() = default;

void FileListDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    if (editor)
        editor->setGeometry(option.rect);
}

} // namespace projectfilemgr
} // namespace vexa
