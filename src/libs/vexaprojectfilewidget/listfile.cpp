#include "listfile.h"

#include "hxcutils.h"

#include <QDebug>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace vexa {
namespace projectfilemgr {

namespace {

// Keeps bytes under the first name of path.damaged, path.damaged.2, ... that
// does not exist yet; the name used, or empty when no copy could be made.
QString keepCopy(const QString& path, const QByteArray& bytes)
{
    for (int n = 1; n <= 1000; ++n) {
        const QString name = path + QStringLiteral(".damaged") + (n > 1 ? QStringLiteral(".%1").arg(n) : QString());
        QFile claim(name);
        // Claiming the name first means an earlier copy is never replaced.
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (claim.exists())
                continue;
            qCritical() << "list file copy not made:" << name << claim.errorString();
            return QString();
        }
        claim.close();
        // Durable before the list file itself is replaced.
        if (NoCacheFile::saveToFile(name.toStdString(), bytes.toStdString()))
            return name;
        qCritical() << "list file copy not made:" << name << std::generic_category().message(errno).c_str();
        QFile::remove(name);
        return QString();
    }
    qCritical() << "list file copy not made: no free name beside" << path;
    return QString();
}

// The entries of a damaged list that still read whole, in their order. Every
// opening brace is tried as the start of one: an entry is one that reads whole
// and is followed as an element is (a comma, the closing bracket, or the next
// element after a missing comma), which rules out the list's own object. The
// search goes on after each entry found and one byte on after anything else.
std::vector<ListFileEntry> wholeEntries(const QByteArray& bytes)
{
    std::vector<ListFileEntry> entries;
    const char* data = bytes.constData();
    const std::size_t size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 0;
    while (const void* brace = at < size ? std::memchr(data + at, '{', size - at) : nullptr) {
        at = static_cast<std::size_t>(static_cast<const char*>(brace) - data);
        ListFileEntry entry;
        std::size_t next = at + 1;
        try {
            const std::size_t end = at + ajson::loadRecord(entry, data + at, size - at);
            if (end < size && data[end] != 0 && std::strchr(",]{", data[end])) {
                entries.push_back(std::move(entry));
                next = end;
            }
        } catch (const ajson::exception&) {
        }
        at = next;
    }
    return entries;
}

} // namespace

bool readListFile(const QString& path, STProjectFileList& doc, QString* keptCopy)
{
    if (keptCopy)
        keptCopy->clear();
    doc.projects.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical() << "load_from_file error: " << ("can't open file:" + path.toStdString()).c_str() << " from:" << path;
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCritical() << "load_from_file error: " << file.errorString() << " from:" << path;
        return false;
    }
    try {
        ajson::loadFromFileContent(doc, bytes.constData(), std::size_t(bytes.size()));
        return true;
    } catch (const ajson::exception& e) {
        qCritical() << "load_from_file error: " << e.what() << " from:" << path;
    }
    const QString copy = keepCopy(path, bytes);
    if (copy.isEmpty()) {
        doc.projects.clear();
        return false;
    }
    doc.projects = wholeEntries(bytes);
    if (keptCopy)
        *keptCopy = copy;
    qWarning() << "unreadable list file" << path << "kept as" << copy << "and the list started afresh with"
               << doc.projects.size() << "entries that read whole";
    return true;
}

bool saveListFile(const QString& path, const std::string& text)
{
    {
        // A list written back unchanged (clearing a path the file no longer
        // holds, for one) is left alone: no write, no new modification time.
        QFile current(path);
        if (current.size() == static_cast<qint64>(text.size()) && current.open(QIODevice::ReadOnly) &&
            current.readAll() == QByteArray::fromRawData(text.data(), static_cast<int>(text.size())))
            return true;
    }
    errno = 0;
    if (NoCacheFile::saveToFile(path.toStdString(), text))
        return true;
    const int error = errno;
    qCritical() << "saveToFile error: " << (error ? std::generic_category().message(error) : std::string("unknown cause")).c_str()
                << " from:" << path;
    return false;
}

} // namespace projectfilemgr
} // namespace vexa
