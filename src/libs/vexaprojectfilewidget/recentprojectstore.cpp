#include "recentprojectstore.h"

#include "listfile.h"
#include "listfilelock.h"
#include "storagequeue.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringView>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <system_error>
#include <utility>

namespace vexa {
namespace projectfilemgr {

namespace {

// The last element of a path, as QFileInfo::fileName gives it, without
// making a QFileInfo for each of thousands of entries.
int nameStartOf(const QString& path)
{
#if defined(Q_OS_WIN)
    return static_cast<int>(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')))) + 1;
#else
    return static_cast<int>(path.lastIndexOf(QLatin1Char('/'))) + 1;
#endif
}

ListedFile entryOf(const ListFileEntry& file)
{
    ListedFile entry;
    entry.storedPath = file.strProfilePath;
    entry.path = QString::fromStdString(file.strProfilePath);
    entry.imagePath = QString::fromStdString(file.strImagePath);
    entry.nameStart = nameStartOf(entry.path);
    entry.damaged = file.isDamageFile;
    entry.pinned = file.isPinned;
    return entry;
}

// The block of the order an entry stays in whichever way the list is turned:
// pinned ones first and, where a rule needs the facts, those without them last.
int blockOf(int rule, const ListedFile& file)
{
    return (file.pinned ? 0 : 2) + (rule != SortByName && !file.known ? 1 : 0);
}

// Turns the order round within each block, so that the blocks keep their places.
void reverseWithinBlocks(std::vector<std::uint32_t>& order, const std::vector<ListedFile>& listed, int rule)
{
    auto from = order.begin();
    while (from != order.end()) {
        const int block = blockOf(rule, listed[*from]);
        auto to = std::find_if(from, order.end(), [&](std::uint32_t i) { return blockOf(rule, listed[i]) != block; });
        std::reverse(from, to);
        from = to;
    }
}

// Pruned entries are logged as the existence check reports a file that is
// not there: no error, it is simply gone.
void logMissing(const std::string& path)
{
    qWarning() << "projectFile: " << path.c_str() << " is empty file! error code is"
               << std::error_code().message().c_str();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the edit may go on; says why not.
bool isHeld(const ListFileLock& lock, const QString& path)
{
    if (!lock.isHeld())
        qCritical() << "list file left as it is, its lock could not be taken:" << path;
    return lock.isHeld();
}

// Only an answer that the file is not there prunes an entry, and never a
// pinned one or one of the host's.
bool isPrunable(const ListedFile& entry)
{
    return entry.state == FileState::Missing && !entry.pinned && !entry.extra;
}

} // namespace

bool listedBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending)
{
    if (rule == SortByName) {
        const int order = QStringView(a.path).mid(a.nameStart).compare(QStringView(b.path).mid(b.nameStart));
        return descending ? order > 0 : order < 0;
    }
    // Unknown keys go last whichever way the list is turned.
    if (a.known != b.known)
        return a.known;
    auto number = [rule](const ListedFile& file) {
        if (rule == SortBySize)
            return static_cast<double>(file.facts.size);
        if (rule == SortByTime)
            return file.facts.exists ? static_cast<double>(file.facts.modified) : -std::numeric_limits<double>::infinity();
        return 0.0;
    };
    return descending ? number(a) > number(b) : number(a) < number(b);
}

bool shownBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending)
{
    if (a.pinned != b.pinned)
        return a.pinned;
    return listedBefore(rule, a, b, descending);
}

RecentProjectStore::RecentProjectStore(QString listPath)
    : listPath(std::move(listPath)), questions(new StorageQueue)
{
    questions->setDeadline(kDeadline);
}

// Questions still on their way are dropped with the queue; none waits.
RecentProjectStore::~RecentProjectStore() = default;

QString RecentProjectStore::defaultListFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/%1.json").arg(QStringLiteral("Norvane_TR7_Pro"), 0, QLatin1Char(' '));
}

std::string RecentProjectStore::imageFolderPath()
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                         QStringLiteral("/%1/").arg(QStringLiteral("Image"));
    QDir folder(path);
    // The data folder itself may not exist yet on a first run.
    if (!folder.exists())
        folder.mkpath(QStringLiteral("."));
    return path.toStdString();
}

// Reads the list file afresh before the store edits it: the host may have
// changed it since, and the store may never have read it (a project opened
// from the command line). A damaged file is kept aside and the list starts
// afresh (readListFile). False when there is nothing to edit or the file
// cannot be read; such a file is then left as it is.
bool RecentProjectStore::reload(bool* whole)
{
    if (!QFileInfo(listPath).isFile())
        return false;
    STProjectFileList current;
    QString copy;
    if (!readListFile(listPath, current, &copy))
        return false;
    if (whole)
        *whole = copy.isEmpty();
    if (!copy.isEmpty())
        keptCopy = copy;
    fileListDoc.projects.swap(current.projects);
    return true;
}

QString RecentProjectStore::takeKeptCopy()
{
    return std::exchange(keptCopy, QString());
}

void RecentProjectStore::write()
{
    try {
        saveListFile(listPath, ajson::toJson(fileListDoc));
    } catch (const ajson::exception& e) {
        qCritical() << "saveToFile error: " << e.what() << " from:" << listPath;
    }
}

// The pruned list goes over the file only if no one wrote it since it was
// read: their entries would be lost, and the next load prunes again anyway.
// The lock is not held meanwhile, as looking at every project can take long.
void RecentProjectStore::writeOver(const QByteArray& read, const std::string& text)
{
    const ListFileLock lock(listPath);
    if (!isHeld(lock, listPath))
        return;
    if (fileBytes(listPath) != read) {
        qWarning() << "list file changed since it was read, left to its writer:" << listPath;
        return;
    }
    saveListFile(listPath, text);
}

RecentProjectStore::Load RecentProjectStore::load()
{
    ++generation;
    fileListDoc.projects.clear();
    projectFiles.clear();
    listedFiles.clear();
    sortedRule = -1;
    if (!QFileInfo(listPath).isFile())
        return Load::NoFile;
    bool whole = false;
    QByteArray read;
    {
        const ListFileLock lock(listPath);
        read = fileBytes(listPath);
        if (!reload(&whole))
            return Load::Unreadable;
    }

    listedFiles.reserve(fileListDoc.projects.size());
    for (const ListFileEntry& file : fileListDoc.projects)
        listedFiles.push_back(entryOf(file));
    for (std::uint32_t i = 0; i < listedFiles.size(); ++i)
        projectFiles.push_back(i);
    // Local projects answer within the wait; the list is sorted by what they
    // say, and the slow ones follow as they answer.
    loading = true;
    askAbout(projectFiles);
    questions->waitWhileQuick(kLoadWait);
    loading = false;
    const std::size_t pruned = pruneAnsweredMissing();
    for (std::uint32_t i : projectFiles) {
        // The plain form costs a long list far less than a stream per line.
        qWarning("list add projectFile:  %s", listedFiles[i].storedPath.c_str());
    }
    // The rows are built from what is known now.
    changedEntries.clear();
    prunedEntries.clear();
    keysChanged = false;
    try {
        // A list read whole with nothing pruned needs no writing back: making
        // its text costs a long list more than the rest of the load. A failed
        // write is logged there; the entries read are shown all the same.
        if (!whole || pruned > 0)
            writeOver(read, ajson::toJson(fileListDoc));
    } catch (const ajson::exception& e) {
        qCritical() << "saveToFile error: " << e.what() << " from:" << listPath;
        return Load::NotWritten;
    }
    return Load::Loaded;
}

// The entries the file system said are gone while the load waited: out of
// the order and of the list as read. Entries are kept in place, so answers
// still on their way find theirs by index. Pinned ones stay, shown as missing.
std::size_t RecentProjectStore::pruneAnsweredMissing()
{
    std::vector<ListFileEntry> kept;
    kept.reserve(fileListDoc.projects.size());
    std::size_t pruned = 0;
    for (std::uint32_t i = 0; i < listedFiles.size(); ++i) {
        if (isPrunable(listedFiles[i])) {
            logMissing(listedFiles[i].storedPath);
            ++pruned;
        } else {
            kept.push_back(std::move(fileListDoc.projects[i]));
        }
    }
    fileListDoc.projects.swap(kept);
    projectFiles.erase(std::remove_if(projectFiles.begin(), projectFiles.end(),
                                      [this](std::uint32_t i) { return isPrunable(listedFiles[i]); }),
                       projectFiles.end());
    return pruned;
}

void RecentProjectStore::askAbout(const std::vector<std::uint32_t>& indexes)
{
    std::vector<StorageQueue::Task> tasks;
    tasks.reserve(indexes.size());
    const std::uint64_t load = generation;
    for (std::uint32_t index : indexes) {
        ListedFile& entry = listedFiles[index];
        ++entry.asking;
        const std::string path = entry.storedPath;
        // The job runs on a thread of the queue's; only its result touches the store.
        tasks.push_back(StorageQueue::Task{[this, path, load, index] {
                                               const FileAnswer answer = askFileSystem(path);
                                               return std::function<void()>(
                                                   [this, load, index, answer] { take(load, index, answer); });
                                           },
                                           [this, load, index] { passDeadline(load, index); }});
    }
    questions->post(std::move(tasks));
}

void RecentProjectStore::take(std::uint64_t load, std::uint32_t index, const FileAnswer& answer)
{
    if (load != generation || index >= listedFiles.size())
        return;
    ListedFile& entry = listedFiles[index];
    if (entry.asking > 0 && --entry.asking == 0)
        entry.overdue = false;
    if (isPrunable(entry))
        return; // pruned already
    entry.state = answer.state;
    if (isPrunable(entry)) {
        // Only an answer that the file is not there prunes it; the load
        // prunes what came while it waited, in one write.
        if (!loading)
            pruneLate(index);
        return;
    }
    if (answer.state == FileState::Exists) {
        keysChanged = keysChanged || !entry.known || entry.facts.size != answer.facts.size ||
                      entry.facts.modified != answer.facts.modified;
        entry.facts = answer.facts;
        entry.known = true;
    } else if (answer.state == FileState::Missing) {
        entry.facts = FileFacts();
    }
    changed(index, false);
}

void RecentProjectStore::passDeadline(std::uint64_t load, std::uint32_t index)
{
    if (load != generation || index >= listedFiles.size() || listedFiles[index].asking == 0)
        return;
    listedFiles[index].overdue = true;
    changed(index, false);
}

// A project the file system said is gone after the rows were shown: its row
// goes and the list file loses its entries now.
void RecentProjectStore::pruneLate(std::uint32_t index)
{
    const std::string path = listedFiles[index].storedPath;
    logMissing(path);
    forget(path);
    const ListFileLock lock(listPath);
    if (isHeld(lock, listPath) && reload()) {
        auto& projects = fileListDoc.projects;
        projects.erase(std::remove_if(projects.begin(), projects.end(),
                                      [&path](const ListFileEntry& file) { return file.strProfilePath == path; }),
                       projects.end());
        write();
    }
    changed(index, true);
}

void RecentProjectStore::changed(std::uint32_t index, bool pruned)
{
    (pruned ? prunedEntries : changedEntries).push_back(index);
    if (flushQueued)
        return;
    flushQueued = true;
    // A batch of answers makes one update of the rows.
    QTimer::singleShot(0, questions.get(), [this] { flushChanges(); });
}

void RecentProjectStore::flushChanges()
{
    flushQueued = false;
    std::vector<std::uint32_t> changedNow, prunedNow;
    changedNow.swap(changedEntries);
    prunedNow.swap(prunedEntries);
    if (changes && (!changedNow.empty() || !prunedNow.empty()))
        changes(changedNow, prunedNow);
}

void RecentProjectStore::refreshFacts()
{
    askAbout(projectFiles);
    questions->waitWhileQuick(kSortWait);
}

void RecentProjectStore::askAgain(std::uint32_t index)
{
    if (index < listedFiles.size())
        askAbout({index});
}

std::uint32_t RecentProjectStore::addExtra(const STProjectFile& file)
{
    listedFiles.push_back(entryOf(ListFileEntry(file)));
    listedFiles.back().extra = true;
    const auto index = static_cast<std::uint32_t>(listedFiles.size() - 1);
    askAbout({index});
    return index;
}

void RecentProjectStore::checkFile(const std::string& path, std::function<void(const FileAnswer&)> answered)
{
    // Whichever comes first, the answer or the deadline, is the one told.
    auto told = std::make_shared<bool>(false);
    auto tell = [answered = std::move(answered), told](const FileAnswer& answer) {
        if (!*told) {
            *told = true;
            answered(answer);
        }
    };
    questions->post(
        [path, tell] {
            const FileAnswer answer = askFileSystem(path);
            return std::function<void()>([tell, answer] { tell(answer); });
        },
        [tell] {
            FileAnswer overdue;
            overdue.state = FileState::Unreachable;
            overdue.error = ETIMEDOUT;
            tell(overdue);
        });
}

void RecentProjectStore::sort(int rule, bool descending)
{
    std::vector<std::uint32_t>& order = projectFiles;
    const std::vector<ListedFile>& listed = listedFiles;
    if (sortedRule != rule || keysChanged) {
        std::sort(order.begin(), order.end(), [&listed, rule, descending](std::uint32_t a, std::uint32_t b) {
            return shownBefore(rule, listed[a], listed[b], descending);
        });
    } else if (sortedDescending != descending) {
        reverseWithinBlocks(order, listed, rule);
    }
    sortedRule = rule;
    sortedDescending = descending;
    keysChanged = false;
}

void RecentProjectStore::dropDamagedFromOrder()
{
    const std::vector<ListedFile>& listed = listedFiles;
    projectFiles.erase(std::remove_if(projectFiles.begin(), projectFiles.end(),
                                      [&listed](std::uint32_t i) { return listed[i].damaged; }),
                       projectFiles.end());
}

void RecentProjectStore::forget(const std::string& path)
{
    // An entry taken out by the user stays out when the list is re-sorted.
    projectFiles.erase(std::remove_if(projectFiles.begin(), projectFiles.end(),
                                      [this, &path](std::uint32_t i) { return listedFiles[i].storedPath == path; }),
                       projectFiles.end());
}

void RecentProjectStore::removeFromListFile(const std::string& path)
{
    const ListFileLock lock(listPath);
    if (!isHeld(lock, listPath) || !reload())
        return;
    std::vector<ListFileEntry> kept;
    for (const ListFileEntry& file : fileListDoc.projects) {
        if (file.strProfilePath == path)
            qWarning() << "list projectFile: " << path.c_str() << " will be clear!";
        else
            kept.push_back(file);
    }
    fileListDoc.projects.swap(kept);
    write();
}

void RecentProjectStore::markDamageFile(const std::string& path)
{
    forget(path);
    const ListFileLock lock(listPath);
    if (!isHeld(lock, listPath) || !reload())
        return;
    for (ListFileEntry& file : fileListDoc.projects) {
        if (file.strProfilePath == path)
            file.isDamageFile = true;
    }
    write();
}

void RecentProjectStore::setPinned(std::uint32_t index, bool pinned)
{
    if (index >= listedFiles.size())
        return;
    const std::string path = listedFiles[index].storedPath;
    for (ListedFile& entry : listedFiles) {
        if (entry.storedPath == path)
            entry.pinned = pinned;
    }
    // The blocks changed: the next sort sorts, it does not only turn round.
    keysChanged = true;
    if (isPrunable(listedFiles[index])) {
        pruneLate(index);
        return;
    }
    const ListFileLock lock(listPath);
    if (!isHeld(lock, listPath) || !reload())
        return;
    for (ListFileEntry& file : fileListDoc.projects) {
        if (file.strProfilePath == path)
            file.isPinned = pinned;
    }
    write();
}

int RecentProjectStore::leadIgnoringPins() const
{
    if (projectFiles.empty())
        return -1;
    const int rule = sortedRule < 0 ? SortByTime : sortedRule;
    const bool descending = sortedRule < 0 || sortedDescending;
    const auto lead = std::min_element(projectFiles.begin(), projectFiles.end(), [&](std::uint32_t a, std::uint32_t b) {
        return listedBefore(rule, listedFiles[a], listedFiles[b], descending);
    });
    return static_cast<int>(*lead);
}

std::string RecentProjectStore::pathAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= projectFiles.size())
        return std::string();
    return listedFiles[projectFiles[static_cast<std::size_t>(index)]].storedPath;
}

} // namespace projectfilemgr
} // namespace vexa
