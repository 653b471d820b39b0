#include "mediadialog.h"

#include "hosttext.h"

#include <QHeaderView>
#include <QListView>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

namespace vexademo {

const char* const MediaDialog::kPatterns = "*.jpg *.jpeg *.png *.bmp *.gif *.wav *.mp3 *.mp4 *.mov *.avi";

MediaDialog::MediaDialog(const QString& folder, QWidget* parent) : QFileDialog(parent, ht("AddMedia"))
{
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setViewMode(QFileDialog::Detail);
    setDirectory(folder);
    // "Label(*.a *.b)", as the start page writes its filters.
    setNameFilter(QStringLiteral("%1(%2)").arg(ht("MediaFilter"), QLatin1String(kPatterns)));
    setLabelText(QFileDialog::FileName, ht("Name"));
    setLabelText(QFileDialog::FileType, ht("FileType"));
    setLabelText(QFileDialog::Accept, ht("OK"));
    setLabelText(QFileDialog::Reject, ht("Cancel"));
    // Qt's first size cuts the places list and the date column off.
    resize(std::max(width(), 920), std::max(height(), 560));
}

void MediaDialog::showEvent(QShowEvent* event)
{
    QFileDialog::showEvent(event);
    fitColumns();
    // The model fills in the rows after showing; fit once more when it has.
    QTimer::singleShot(0, this, [this] { fitColumns(); });
}

void MediaDialog::fitColumns()
{
    auto* sidebar = findChild<QListView*>(QStringLiteral("sidebar"));
    auto* splitter = findChild<QSplitter*>(QStringLiteral("splitter"));
    if (sidebar && splitter && splitter->count() == 2) {
        const int wanted = sidebar->sizeHintForColumn(0) + 2 * sidebar->frameWidth() + 24;
        if (splitter->sizes().value(0) < wanted) {
            const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
            splitter->setSizes({wanted, std::max(0, total - wanted)});
        }
    }
    if (auto* tree = findChild<QTreeView*>(QStringLiteral("treeView"))) {
        const QAbstractItemView* view = tree; // its size hints are public there
        QHeaderView* header = tree->header();
        // Size, type and date as wide as their texts; the name takes the rest.
        for (int column = 1; column < header->count(); ++column)
            header->resizeSection(column, std::max(header->sectionSizeHint(column), view->sizeHintForColumn(column)));
        int others = 0;
        for (int column = 1; column < header->count(); ++column)
            others += header->isSectionHidden(column) ? 0 : header->sectionSize(column);
        header->resizeSection(0, std::max(120, tree->viewport()->width() - others));
    }
}

} // namespace vexademo
