#include "listfile.h"

#include "hxcutils.h"

#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <system_error>

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

} // namespace

bool readListFile(const QString& path, STProjectFileList& doc, bool* whole)
{
    if (whole)
        *whole = false;
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
    std::size_t complete = 0;
    try {
        ajson::loadFromFileContent(doc, bytes.constData(), std::size_t(bytes.size()), &complete);
        if (whole)
            *whole = true;
        return true;
    } catch (const ajson::exception& e) {
        qCritical() << "load_from_file error: " << e.what() << " from:" << path;
    }
    const QString copy = keepCopy(path, bytes);
    if (copy.isEmpty()) {
        doc.projects.clear();
        return false;
    }
    doc.projects.resize(std::min(complete, doc.projects.size()));
    qWarning() << "unreadable list file" << path << "kept as" << copy << "and the list started afresh with"
               << doc.projects.size() << "entries read before the damage";
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
