#include "filefacts.h"


#include <QDateTime>
#include <QFileInfo>
#include <cerrno>
#include <filesystem>
#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <time.h>
#endif

namespace vexa {
namespace projectfilemgr {

FileFacts factsOf(const std::string& path)
{
    FileFacts facts;
#if defined(Q_OS_UNIX)
    // The stored bytes, as the existence check at load uses them.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return facts;
    facts.exists = true;
    facts.size = static_cast<qint64>(status.st_size);
    facts.modified = static_cast<qint64>(status.st_mtime);
#else
    const QFileInfo info(QString::fromStdString(path));
    facts.exists = info.exists();
    if (facts.exists) {
        facts.size = info.size();
        facts.modified = info.lastModified().toSecsSinceEpoch();
    }
#endif
    return facts;
}

FileAnswer askFileSystem(const std::string& path)
{
    FileAnswer answer;
#if defined(Q_OS_UNIX)
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        answer.error = errno;
        answer.state = answer.error == ENOENT || answer.error == ENOTDIR ? FileState::Missing : FileState::Unreachable;
        return answer;
    }
    answer.facts.exists = true;
    answer.facts.size = static_cast<qint64>(status.st_size);
    answer.facts.modified = static_cast<qint64>(status.st_mtime);
#else
    answer.facts = factsOf(path);
#endif
    answer.state = answer.facts.exists ? FileState::Exists : FileState::Missing;
    return answer;
}

bool pathExists(const std::string& path, std::error_code& error)
{
    error.clear();
    const bool exists = std::filesystem::exists(std::filesystem::u8path(path), error);
    return exists && !error;
}

void readTimeZone()
{
#if defined(Q_OS_UNIX)
    tzset();
#endif
}

QString modifyTimeText(const FileFacts& facts)
{
    if (!facts.exists)
        return QString();
#if defined(Q_OS_UNIX)
    const time_t seconds = static_cast<time_t>(facts.modified);
    struct tm local {};
    if (!localtime_r(&seconds, &local))
        return QString();
    return QString::asprintf("%04d.%02d.%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                             local.tm_hour, local.tm_min, local.tm_sec);
#else
    return QDateTime::fromSecsSinceEpoch(facts.modified).toString(QStringLiteral("yyyy.MM.dd hh:mm:ss"));
#endif
}

QString fileSizeText(qint64 bytes)
{
    double size = static_cast<double>(bytes) * 0.0009765625;
    QString unit = QStringLiteral("KB");
    if (size >= 1000.0) {
        size *= 0.0009765625;
        unit = QStringLiteral("MB");
    }
    return QString::number(size, 'f', 2) + unit;
}

} // namespace projectfilemgr
} // namespace vexa
