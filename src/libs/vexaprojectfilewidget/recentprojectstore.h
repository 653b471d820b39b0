#pragma once

// The recent projects as the list file holds them, apart from any widget:
// reading it (a damaged file is kept aside and salvaged), dropping the
// entries of projects that are gone, writing it back, the facts of each
// project file and the order the list is shown in.
//
// The facts come from the file system off the GUI thread: a project on a
// share that sleeps or has gone away must not hold up the page. Quick
// answers are waited for briefly, so local projects are sorted and shown as
// they are; the others arrive later and change the entry, never its place.

#include "filefacts.h"
#include "projectfilelist.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vexa {
namespace projectfilemgr {

class StorageQueue;

// An entry of the list as loaded, with what the sort needs of its file as
// last answered: a click re-sorts thousands of rows by these.
struct ListedFile {
    std::string storedPath; // the identity of the entry, byte for byte
    QString path;
    QString imagePath;
    FileFacts facts;
    FileState state = FileState::Unknown; // the last answer
    bool known = false;                   // facts answered at least once
    bool overdue = false;                 // a question passed its deadline unanswered
    bool extra = false;                   // a row of the host's; the list file does not hold it
    bool pinned = false;                  // first under every sort; kept when its file is gone
    int asking = 0;                       // questions on their way
    int nameStart = 0;                    // where the last path element begins in `path`
    bool damaged = false;
};

// The keys the list is sorted by, as the sort box holds them.
enum SortRule : int { SortByTime = 0, SortByName = 1, SortBySize = 2 };

// Whether `a` goes before `b` under a rule: the name as text, time and size
// as numbers. Entries whose facts never came go last, either way.
bool listedBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending);
// The same, with pinned entries first; they are sorted among themselves.
bool shownBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending);

class RecentProjectStore
{
public:
    // How a load ended.
    enum class Load {
        NoFile,     // there is no list file: nothing shown
        Unreadable, // the file could not be read; left as it is
        Loaded,     // entries read (perhaps none), in the file's order
        NotWritten  // read and pruned, but its text could not be made
    };

    // A question unanswered this long shows its entry as unreachable.
    static constexpr std::chrono::milliseconds kDeadline{1500};
    // A load, or a sort, waits this long at most for answers that keep
    // coming quickly (a long list on a slow but working share).
    static constexpr std::chrono::milliseconds kLoadWait{100};
    static constexpr std::chrono::milliseconds kSortWait{50};

    // The list file of the application's data folder, unless told otherwise.
    explicit RecentProjectStore(QString listPath = defaultListFilePath());
    ~RecentProjectStore();

    static QString defaultListFilePath();
    // The folder the host writes thumbnails to, made when missing.
    static std::string imageFolderPath();
    const QString& listFilePath() const { return listPath; }

    // Runs on the GUI thread once answers have come in or passed their
    // deadline: the entries that changed, and those pruned as missing.
    using Changes = std::function<void(const std::vector<std::uint32_t>& changed,
                                       const std::vector<std::uint32_t>& pruned)>;
    void setChangeHandler(Changes handler) { changes = std::move(handler); }

    // Reads the list file afresh and asks about every project; drops the
    // entries the file system says are gone and writes the list back when
    // it dropped one or read a damaged file (unless another writer changed
    // the file meanwhile). The display order then holds
    // every entry kept, in the file's order.
    Load load();

    const std::vector<ListedFile>& entries() const { return listedFiles; }
    // The shown entries in display order, as indexes into entries().
    const std::vector<std::uint32_t>& order() const { return projectFiles; }
    const std::vector<ListFileEntry>& projects() const { return fileListDoc.projects; }

    // Asks again about every shown entry and waits briefly for quick answers
    // (a sort at the user's click sorts by the facts as they are).
    void refreshFacts();
    // Sorts the display order by the keys as known. The order sorted by the
    // same rule before, with no key changed since, only turns round.
    void sort(int rule, bool descending);
    // Asks about one entry again; the change handler tells the answer.
    void askAgain(std::uint32_t index);
    // An entry for a row the host adds; the list file is not changed.
    std::uint32_t addExtra(const STProjectFile& file);
    // Asks whether the file at `path` is there; `answered` runs on the GUI
    // thread with the answer, or with an unreachable one at the deadline.
    void checkFile(const std::string& path, std::function<void(const FileAnswer&)> answered);

    // Pins or unpins the entries of the entry's project, in the list file as
    // well (an entry of the host's only while it is shown). Sort again to
    // show it. Unpinning a project whose file is gone drops it, as a load would.
    void setPinned(std::uint32_t index, bool pinned);
    // The entry the order would lead with if nothing were pinned (the
    // project last used, after a load sorted by time); -1 when none is shown.
    int leadIgnoringPins() const;

    // Takes the damaged entries out of the display order.
    void dropDamagedFromOrder();
    // Takes the entries of `path` out of the display order; the file keeps them.
    void forget(const std::string& path);
    // Removes every entry of `path` from the list file as it is now.
    void removeFromListFile(const std::string& path);
    // Marks the entries of `path` damaged in the list file as it is now, and
    // takes them out of the display order.
    void markDamageFile(const std::string& path);
    // The stored path of the shown entry at `index`; empty past either end.
    std::string pathAt(int index) const;
    // Where a damaged list file was last kept aside, once; then empty.
    QString takeKeptCopy();

private:
    bool reload(bool* whole = nullptr);
    void write();
    void writeOver(const QByteArray& read, const std::string& text);
    void askAbout(const std::vector<std::uint32_t>& indexes);
    void take(std::uint64_t load, std::uint32_t index, const FileAnswer& answer);
    void passDeadline(std::uint64_t load, std::uint32_t index);
    std::size_t pruneAnsweredMissing();
    void pruneLate(std::uint32_t index);
    void changed(std::uint32_t index, bool pruned);
    void flushChanges();

    QString listPath;
    STProjectFileList fileListDoc;
    // The entries as loaded, in the file's order; replaced whenever the list is read anew.
    std::vector<ListedFile> listedFiles;
    std::vector<std::uint32_t> projectFiles;
    // The rule and direction projectFiles is sorted by; no rule after a load.
    int sortedRule = -1;
    bool sortedDescending = false;
    QString keptCopy;
    bool keysChanged = false;

    std::unique_ptr<StorageQueue> questions;
    std::uint64_t generation = 0; // answers of an earlier load are not this one's
    bool loading = false;
    Changes changes;
    std::vector<std::uint32_t> changedEntries;
    std::vector<std::uint32_t> prunedEntries;
    bool flushQueued = false;
};

} // namespace projectfilemgr
} // namespace vexa
