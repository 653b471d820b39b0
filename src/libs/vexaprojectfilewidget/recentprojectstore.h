#pragma once

// The recent projects as the list file holds them, apart from any widget:
// reading it (a damaged file is kept aside and salvaged), dropping the
// entries of projects that are gone, writing it back, the facts of each
// project file and the order the list is shown in.

#include "filefacts.h"
#include "projectfilelist.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace vexa {
namespace projectfilemgr {

// An entry of the list as loaded, with what the sort needs of its file, read
// once at load: a click re-sorts thousands of rows without asking the disk
// about each. The rows in view read their files afresh for what they show.
struct ListedFile {
    std::string storedPath; // the identity of the entry, byte for byte
    QString path;
    QString imagePath;
    FileFacts facts;
    int nameStart = 0; // where the last path element begins in `path`
    bool damaged = false;
};

// The keys the list is sorted by, as the sort box holds them.
enum SortRule : int { SortByTime = 0, SortByName = 1, SortBySize = 2 };

// Whether `a` goes before `b` under a rule: the name as text, time and size
// as numbers. A missing file has the smallest time.
bool listedBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending);

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

    // The list file of the application's data folder, unless told otherwise.
    explicit RecentProjectStore(QString listPath = defaultListFilePath());

    static QString defaultListFilePath();
    // The folder the host writes thumbnails to, made when missing.
    static std::string imageFolderPath();
    const QString& listFilePath() const { return listPath; }

    // Reads the list file afresh, drops the entries whose project is gone and
    // writes the list back when it dropped one or read a damaged file (unless
    // another writer changed the file meanwhile). The display order then holds
    // every entry kept, in the file's order.
    Load load();

    const std::vector<ListedFile>& entries() const { return listedFiles; }
    // The shown entries in display order, as indexes into entries().
    const std::vector<std::uint32_t>& order() const { return projectFiles; }
    const std::vector<STProjectFile>& projects() const { return fileListDoc.projects; }

    // Sorts the display order by the keys read at load. The order sorted by
    // the same rule before only turns round (equal keys have no order to keep).
    void sort(int rule, bool descending);
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
    std::size_t prune();

    QString listPath;
    STProjectFileList fileListDoc;
    // The entries as loaded, in the file's order; replaced whenever the list is read anew.
    std::vector<ListedFile> listedFiles;
    std::vector<std::uint32_t> projectFiles;
    // The rule and direction projectFiles is sorted by; no rule after a load.
    int sortedRule = -1;
    bool sortedDescending = false;
    QString keptCopy;
};

} // namespace projectfilemgr
} // namespace vexa
