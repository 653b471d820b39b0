#pragma once

#include "recentfilter.h"
#include "recentprojectstore.h"

#include <QElapsedTimer>
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;

namespace vexa {
namespace projectfilemgr {

class FileListWidget;
struct FileRow;

// Shows the store's entries in the recent list: builds the rows in display
// order, keeps rows of entries still shown across a sort, updates rows as
// late answers from the storage come in (their place stays until the next
// sort), shows only the entries the filter lets through, and lays the
// empty-list view, or the no-match line, over the list. The store owns the
// entries; the list owns the rows and tiles.
class RecentListPresenter
{
public:
    explicit RecentListPresenter(FileListWidget* list);

    RecentProjectStore& store() { return projects; }
    const RecentProjectStore& store() const { return projects; }

    // Drops the rows of an earlier load and reads the list file afresh. True
    // when the entries read are to be sorted into rows; otherwise the list
    // shows what there is to show already.
    bool load();
    // Sorts the entries and shows them as rows in that order.
    void sort(int rule, bool descending);
    // Asks about the entry of a row again; its row shows the answer.
    void reread(std::uint32_t source);
    // Appends a row for a project, its facts asked like those of the list's.
    void add(const STProjectFile& file);
    // Shows only the entries whose name or folder holds `text`, in the order
    // they are sorted in. Nothing is asked of the file system.
    void setFilter(const QString& text);
    const RecentFilter& filter() const { return shownFilter; }
    // Rows shown, and the entries the filter chose them from.
    int shownCount() const;
    int listedCount() const { return static_cast<int>(projects.order().size()); }
    // The stored path of the shown entry at `index`, the filter counted; empty past either end.
    std::string shownPathAt(int index);
    // Pins or unpins the row's project and shows it in its new place.
    void pin(std::uint32_t source, bool pinned);

    void showEmpty();
    void hideEmpty();
    void translateLanguage();

private:
    // A row's texts and storage state, from what its entry knows.
    void textsOf(FileRow& row) const;
    // Rows for the store's order, moving those already shown.
    void showOrder();
    void update(const std::vector<std::uint32_t>& changed, const std::vector<std::uint32_t>& pruned);
    // The empty-list view, or the no-match line when the filter hides every entry.
    void showNothing();
    void showLine(const QString& objectName, const QString& text, bool picture);

    FileListWidget* list;
    RecentProjectStore projects;
    // The facts were read for the load just made: its first sort needs no second look.
    bool factsFresh = false;
    // Answers that come within the first moments after a load (a cold disk)
    // still sort their rows: the user has not looked at the list yet.
    static constexpr int kSettleMs = 250;
    QElapsedTimer sinceLoad;
    bool settling = false;
    bool resortQueued = false;
    int sortedRule = 0;
    bool sortedDescending = true;
    RecentFilter shownFilter;
    // The empty-list view or the no-match line laid over the recent list.
    QPointer<QLabel> emptyFileLabel;
    QPointer<QLabel> emptyFileText;
};

} // namespace projectfilemgr
} // namespace vexa
