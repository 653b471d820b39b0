#pragma once

#include <QStyledItemDelegate>

namespace vexa {
namespace projectfilemgr {

class FileListDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit FileListDelegate(QObject* parent = nullptr);
    ~FileListDelegate() override;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;
};

} // namespace projectfilemgr
} // namespace vexa
