#include "recentprojectstore.h"

#include "listfile.h"
#include "listfilelock.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringView>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <limits>
#include <system_error>
#include <thread>
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

ListedFile listedOf(const STProjectFile& file)
{
    ListedFile entry;
    entry.storedPath = file.strProfilePath;
    entry.path = QString::fromStdString(file.strProfilePath);
    entry.imagePath = QString::fromStdString(file.strImagePath);
    entry.facts = factsOf(file.strProfilePath);
    entry.nameStart = nameStartOf(entry.path);
    entry.damaged = file.isDamageFile;
    return entry;
}

// The entries of a list with the facts of their files. Loading a long list is
// mostly waiting for these answers, one file at a time; the questions are
// independent, so a few threads share them, taking blocks of files as they
// go (a slow network folder holds up one block, not the whole share of a thread).
std::vector<ListedFile> listedOf(const std::vector<STProjectFile>& files)
{
    constexpr std::size_t kBlock = 64;
    constexpr std::size_t kFilesPerHelper = 512; // below this a thread costs more than it saves
    constexpr std::size_t kMaxHelpers = 3;
    const std::size_t count = files.size();
    std::vector<ListedFile> listed(count);
    std::atomic<std::size_t> next{0};
    auto work = [&files, &listed, &next, count] {
        for (;;) {
            const std::size_t begin = next.fetch_add(kBlock);
            if (begin >= count)
                return;
            const std::size_t end = std::min(count, begin + kBlock);
            for (std::size_t i = begin; i < end; ++i)
                listed[i] = listedOf(files[i]);
        }
    };
    const auto cores = static_cast<std::size_t>(std::max(1, QThread::idealThreadCount()));
    const std::size_t wanted = std::min({count / kFilesPerHelper, cores - 1, kMaxHelpers});
    std::vector<std::thread> helpers;
    helpers.reserve(wanted);
    for (std::size_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: the blocks left are done here
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    return listed;
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

} // namespace

bool listedBefore(int rule, const ListedFile& a, const ListedFile& b, bool descending)
{
    if (rule == SortByName) {
        const int order = QStringView(a.path).mid(a.nameStart).compare(QStringView(b.path).mid(b.nameStart));
        return descending ? order > 0 : order < 0;
    }
    auto number = [rule](const ListedFile& file) {
        if (rule == SortBySize)
            return static_cast<double>(file.facts.size);
        if (rule == SortByTime)
            return file.facts.exists ? static_cast<double>(file.facts.modified) : -std::numeric_limits<double>::infinity();
        return 0.0;
    };
    return descending ? number(a) > number(b) : number(a) < number(b);
}

RecentProjectStore::RecentProjectStore(QString listPath) : listPath(std::move(listPath)) {}

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

// Drops the entries whose project is gone, in place; the number kept.
std::size_t RecentProjectStore::prune()
{
    std::vector<STProjectFile>& projects = fileListDoc.projects;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < projects.size(); ++i) {
        // The facts the sort needs come from the same look at the disk.
        std::error_code error;
        if (!listedFiles[i].facts.exists && !pathExists(projects[i].strProfilePath, error)) {
            qWarning() << "projectFile: " << projects[i].strProfilePath.c_str() << " is empty file! error code is"
                       << error.message().c_str();
            continue;
        }
        if (kept != i) {
            projects[kept] = std::move(projects[i]);
            listedFiles[kept] = std::move(listedFiles[i]);
        }
        ++kept;
    }
    return kept;
}

RecentProjectStore::Load RecentProjectStore::load()
{
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

    std::vector<STProjectFile>& projects = fileListDoc.projects;
    listedFiles = listedOf(projects);
    const std::size_t kept = prune();
    // A list read whole with nothing pruned needs no writing back: making its
    // text costs a long list more than the rest of the load.
    const bool changed = !whole || kept != projects.size();
    projects.erase(projects.begin() + static_cast<std::ptrdiff_t>(kept), projects.end());
    listedFiles.erase(listedFiles.begin() + static_cast<std::ptrdiff_t>(kept), listedFiles.end());
    for (std::uint32_t i = 0; i < listedFiles.size(); ++i) {
        // The plain form costs a long list far less than a stream per line.
        qWarning("list add projectFile:  %s", listedFiles[i].storedPath.c_str());
        projectFiles.push_back(i);
    }
    try {
        // A failed write is logged there; the entries read are shown all the same.
        if (changed)
            writeOver(read, ajson::toJson(fileListDoc));
    } catch (const ajson::exception& e) {
        qCritical() << "saveToFile error: " << e.what() << " from:" << listPath;
        return Load::NotWritten;
    }
    return Load::Loaded;
}

void RecentProjectStore::sort(int rule, bool descending)
{
    std::vector<std::uint32_t>& order = projectFiles;
    const std::vector<ListedFile>& listed = listedFiles;
    if (sortedRule != rule) {
        std::sort(order.begin(), order.end(), [&listed, rule, descending](std::uint32_t a, std::uint32_t b) {
            return listedBefore(rule, listed[a], listed[b], descending);
        });
    } else if (sortedDescending != descending) {
        std::reverse(order.begin(), order.end());
    }
    sortedRule = rule;
    sortedDescending = descending;
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
    std::vector<STProjectFile> kept;
    for (const STProjectFile& file : fileListDoc.projects) {
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
    for (STProjectFile& file : fileListDoc.projects) {
        if (file.strProfilePath == path)
            file.isDamageFile = true;
    }
    write();
}

std::string RecentProjectStore::pathAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= projectFiles.size())
        return std::string();
    return listedFiles[projectFiles[static_cast<std::size_t>(index)]].storedPath;
}

} // namespace projectfilemgr
} // namespace vexa
