#include "recentlistpresenter.h"

#include "filefacts.h"
#include "filelistwidget.h"
#include "translatemanager.h"

#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace vexa {
namespace projectfilemgr {

namespace {

// A row of an entry not shown before; its texts are read once it is in view.
FileRow rowOf(const ListedFile& file, std::uint32_t source)
{
    FileRow row;
    row.info.filePath = file.path;
    row.info.imagePath = file.imagePath;
    row.storedPath = file.storedPath;
    row.damage = file.damaged;
    row.pinned = file.pinned;
    row.source = source;
    return row;
}

} // namespace

RecentListPresenter::RecentListPresenter(FileListWidget* list) : list(list)
{
    list->setRowTexts([this](FileRow& row) { textsOf(row); });
    projects.setChangeHandler([this](const std::vector<std::uint32_t>& changed,
                                     const std::vector<std::uint32_t>& pruned) { update(changed, pruned); });
}

void RecentListPresenter::textsOf(FileRow& row) const
{
    row.info.fileName = QFileInfo(row.info.filePath).fileName();
    const std::vector<ListedFile>& entries = projects.entries();
    if (row.source >= entries.size())
        return;
    const ListedFile& entry = entries[row.source];
    row.pinned = entry.pinned;
    readTimeZone();
    row.info.modifyTime = entry.known ? modifyTimeText(entry.facts) : QString();
    row.info.fileSize = entry.known || entry.state == FileState::Missing ? fileSizeText(entry.facts.size) : QString();
    if (entry.state == FileState::Missing && !entry.extra)
        row.storage = RowStorage::Missing;
    else if (entry.state == FileState::Unreachable || entry.overdue)
        row.storage = RowStorage::Unavailable;
    else if (entry.state == FileState::Unknown)
        row.storage = RowStorage::Checking;
    else
        row.storage = RowStorage::Ready;
}

void RecentListPresenter::update(const std::vector<std::uint32_t>& changed, const std::vector<std::uint32_t>& pruned)
{
    if (!pruned.empty()) {
        const bool hadRows = list->count() > 0;
        list->removeRows(pruned);
        if (hadRows && list->count() == 0)
            showNothing();
    }
    if (!changed.empty())
        list->refreshRows(changed);
    settling = settling && sinceLoad.elapsed() < kSettleMs;
    if (settling && !resortQueued && !changed.empty()) {
        resortQueued = true;
        QTimer::singleShot(0, list, [this] {
            resortQueued = false;
            if (!settling)
                return;
            projects.sort(sortedRule, sortedDescending);
            showOrder();
            projects.dropDamagedFromOrder();
        });
    }
}

bool RecentListPresenter::load()
{
    // Rows find their entries by index: the entries change only with the
    // rows. Rows of an earlier load go whatever this one finds, so a list file
    // gone since then does not leave its projects on the page.
    list->clear();
    shownFilter.forgetEntries();
    switch (projects.load()) {
    case RecentProjectStore::Load::NoFile:
        showEmpty();
        return false;
    case RecentProjectStore::Load::Unreadable:
        return false;
    case RecentProjectStore::Load::NotWritten:
        // Shown unsorted, as read.
        showOrder();
        return false;
    case RecentProjectStore::Load::Loaded:
        break;
    }
    factsFresh = true;
    settling = true;
    sinceLoad.start();
    // The sort builds the rows, in their order: building them here first
    // would cost a long list twice.
    if (projects.order().empty())
        showEmpty();
    return true;
}

void RecentListPresenter::sort(int rule, bool descending)
{
    // A sort at the user's click goes by the facts as they are now.
    if (!factsFresh)
        projects.refreshFacts();
    // The user's own sort ends the moments after a load.
    settling = settling && factsFresh;
    factsFresh = false;
    sortedRule = rule;
    sortedDescending = descending;
    projects.sort(rule, descending);
    list->clearSelection();
    list->scrollToTop();
    showOrder();
    projects.dropDamagedFromOrder();
}

void RecentListPresenter::showOrder()
{
    const std::vector<std::uint32_t>& order = projects.order();
    const std::vector<ListedFile>& listed = projects.entries();
    const bool hadRows = list->count() > 0;
    // Rows of the entries still shown move to their new places; their texts
    // are read afresh once they are in view, as for a new row.
    std::vector<FileRow> previous = list->takeRows();
    std::vector<FileRow*> shown(listed.size(), nullptr);
    for (FileRow& row : previous) {
        if (row.source < shown.size())
            shown[row.source] = &row;
    }
    std::vector<FileRow> rows;
    rows.reserve(order.size());
    for (std::uint32_t source : order) {
        if (!shownFilter.passes(listed, source))
            continue;
        FileRow* old = shown[source];
        rows.push_back(old ? std::move(*old) : rowOf(listed[source], source));
        rows.back().textsPending = true;
    }

    if (!rows.empty())
        hideEmpty();
    list->setRows(std::move(rows));
    // Rows that only a damaged entry or a failed open kept alive are gone now:
    // say the list is empty instead of leaving a blank area.
    if ((hadRows || shownFilter.isActive()) && list->count() == 0)
        showNothing();
}

void RecentListPresenter::setFilter(const QString& text)
{
    shownFilter.setText(text);
    showOrder();
}

int RecentListPresenter::shownCount() const
{
    return list->count();
}

std::string RecentListPresenter::shownPathAt(int index)
{
    if (!shownFilter.isActive())
        return projects.pathAt(index);
    const std::vector<ListedFile>& listed = projects.entries();
    int seen = 0;
    for (std::uint32_t source : projects.order()) {
        if (shownFilter.passes(listed, source) && seen++ == index)
            return listed[source].storedPath;
    }
    return std::string();
}

void RecentListPresenter::pin(std::uint32_t source, bool pinned)
{
    projects.setPinned(source, pinned);
    projects.sort(sortedRule, sortedDescending);
    showOrder();
    projects.dropDamagedFromOrder();
    // The keyboard stays on the project it pinned, wherever it went.
    const int row = list->rowOfSource(source);
    if (row >= 0) {
        list->setCurrentRow(row);
        list->scrollToItem(list->item(row));
    }
}

void RecentListPresenter::reread(std::uint32_t source)
{
    projects.askAgain(source);
}

void RecentListPresenter::add(const STProjectFile& file)
{
    FileRow row;
    row.info.filePath = QString::fromStdString(file.strProfilePath);
    row.info.imagePath = QString::fromStdString(file.strImagePath);
    row.storedPath = file.strProfilePath;
    row.damage = file.isDamageFile;
    // Its facts are asked like those of the list's entries.
    row.source = projects.addExtra(file);
    row.textsPending = true;
    hideEmpty();
    // Its tile, once it has one, speaks the page's current language.
    list->addRow(std::move(row));
}

void RecentListPresenter::hideEmpty()
{
    if (QLayout* old = list->layout()) {
        delete emptyFileLabel;
        delete emptyFileText;
        delete old;
    }
}

void RecentListPresenter::showEmpty()
{
    showLine(QStringLiteral("emptyFileText"), trText(QStringLiteral("EmptyFileList")), true);
}

void RecentListPresenter::showNothing()
{
    if (shownFilter.isActive() && !projects.order().empty())
        showLine(QStringLiteral("noMatchText"), trText(QStringLiteral("NoProjectMatches")).arg(shownFilter.text()), false);
    else
        showEmpty();
}

void RecentListPresenter::showLine(const QString& objectName, const QString& text, bool picture)
{
    // A second call replaces the first view instead of stacking another one.
    hideEmpty();
    auto* layout = new QVBoxLayout(list);
    layout->addStretch(0);
    if (picture) {
        emptyFileLabel = new QLabel(list);
        emptyFileLabel->setObjectName(QStringLiteral("emptyFileLabel"));
        emptyFileLabel->setFixedSize(110, 110);
        layout->addWidget(emptyFileLabel, 0, Qt::AlignHCenter | Qt::AlignVCenter);
        emptyFileLabel->show();
    }
    emptyFileText = new QLabel(text, list);
    emptyFileText->setObjectName(objectName);
    emptyFileText->setTextFormat(Qt::PlainText);
    layout->addWidget(emptyFileText, 0, Qt::AlignHCenter | Qt::AlignVCenter);
    layout->addStretch(0);
    emptyFileText->show();
}

void RecentListPresenter::translateLanguage()
{
    if (emptyFileText && emptyFileLabel)
        emptyFileText->setText(trText(QStringLiteral("EmptyFileList")));
    else if (emptyFileText)
        showNothing();
    // The tiles already shown, not only those a later sort fills.
    list->translateLanguage();
}

} // namespace projectfilemgr
} // namespace vexa
