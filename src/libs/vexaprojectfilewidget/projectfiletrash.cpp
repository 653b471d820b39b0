#include "projectfiletrash.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vexa {
namespace projectfilemgr {

namespace {

QString messageOf(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

// Qt's own trash, for a path Qt can name.
bool moveToTrashByQt(const QString& path, QString* reason)
{
    QFile file(path);
#if defined(Q_OS_ANDROID) || defined(Q_OS_IOS) || defined(Q_OS_WASM)
    const bool removed = file.remove();
#else
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt 5 takes the working folder for the trash when it cannot make one in
    // the data folder, and the project would end up in a stray "files" folder.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
#endif
    bool removed = file.moveToTrash();
    if (removed && QFileInfo(file.fileName()).isRelative()) {
        // It did so all the same (a data folder without write access): put the project back.
        const QString stray = file.fileName();
        QFile::rename(stray, path);
        QFile::remove(QStringLiteral("info/%1.trashinfo").arg(QFileInfo(stray).fileName()));
        *reason = QStringLiteral("no trash folder");
        return false;
    }
#endif
    if (!removed)
        *reason = file.errorString();
    return removed;
}

// The home trash as the desktop keeps it (files/ and info/), by the bytes of
// the path: for a name that is no text in the local encoding, which Qt's own
// trash cannot name. Like any move, only within the home folder's device.
bool moveToHomeTrash(const QByteArray& path, QString* reason)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
    if (!QDir().mkpath(trash + QStringLiteral("/files")) || !QDir().mkpath(trash + QStringLiteral("/info"))) {
        *reason = QStringLiteral("no trash folder");
        return false;
    }
    const QByteArray folder = QFile::encodeName(trash);
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    const QByteArray absolute = path.startsWith('/') ? path : QFile::encodeName(QDir::currentPath()) + '/' + path;
    for (int n = 1; n <= 1000; ++n) {
        const QByteArray entry = n > 1 ? name + '.' + QByteArray::number(n) : name;
        const QByteArray target = folder + "/files/" + entry, info = folder + "/info/" + entry + ".trashinfo";
        struct stat taken {};
        if (::lstat(target.constData(), &taken) == 0)
            continue;
        // Claiming the info file first keeps another trashing from the same name.
        const int fd = ::open(info.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            break;
        const QByteArray text = "[Trash Info]\nPath=" + absolute.toPercentEncoding("/") + "\nDeletionDate=" +
                                QDateTime::currentDateTime().toString(Qt::ISODate).toLatin1() + '\n';
        const bool written = ::write(fd, text.constData(), static_cast<size_t>(text.size())) == text.size();
        ::close(fd);
        if (written && ::rename(path.constData(), target.constData()) == 0)
            return true;
        *reason = messageOf(written ? errno : EIO);
        ::unlink(info.constData());
        return false;
    }
    *reason = messageOf(errno);
    return false;
#else
    Q_UNUSED(path);
    *reason = QStringLiteral("no trash for this name");
    return false;
#endif
}

} // namespace

bool moveProjectToTrash(const std::string& path, QString* reason)
{
    namespace fs = std::filesystem;
    const fs::path file = fs::u8path(path);
    std::error_code error;
    if (fs::is_directory(file, error)) {
        // A folder in the list is not a project file: never touch what is inside.
        *reason = messageOf(EISDIR);
        return false;
    }
    if (!fs::exists(fs::symlink_status(file, error))) {
        // Nothing left to remove; the warning says so as it always did.
        *reason = QString::fromStdString(std::error_code().message());
        return true;
    }
    const QByteArray bytes = QByteArray::fromStdString(path);
    const QString name = QFile::decodeName(bytes);
    // Qt names files by text: a name whose bytes do not survive that is moved by its bytes.
    return QFile::encodeName(name) == bytes ? moveToTrashByQt(name, reason) : moveToHomeTrash(bytes, reason);
}

} // namespace projectfilemgr
} // namespace vexa
