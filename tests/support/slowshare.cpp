#include "slowshare.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <sys/stat.h>
#include <unistd.h>

namespace vexatest {

namespace {

// The mount point shows another file system than its parent once mounted.
bool isMountPoint(const QString& path)
{
    struct stat inside {}, parent {};
    return ::stat(QFile::encodeName(path).constData(), &inside) == 0 &&
           ::stat(QFile::encodeName(path + QStringLiteral("/..")).constData(), &parent) == 0 &&
           inside.st_dev != parent.st_dev;
}

} // namespace

SlowShare::SlowShare(int delayMs, int error) : dir(new QTemporaryDir), daemon(new QProcess)
{
    if (QString::fromUtf8(VEXA_SLOWFS).isEmpty()) {
        reason = QStringLiteral("libfuse3 was not found when the tests were built");
        return;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        reason = QStringLiteral("/dev/fuse cannot be opened (not there, or not allowed)");
        return;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("fusermount3")).isEmpty()) {
        reason = QStringLiteral("fusermount3 is not installed");
        return;
    }
    QDir().mkpath(backing());
    QDir().mkpath(path());
    daemon->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon->start(QStringLiteral(VEXA_SLOWFS),
                  {backing(), path(), QString::number(delayMs), QString::number(error), QStringLiteral("-o"),
                   QStringLiteral("max_threads=64")});
    QElapsedTimer waited;
    waited.start();
    while (!isMountPoint(path()) && daemon->state() != QProcess::NotRunning && waited.elapsed() < 10000)
        QThread::msleep(10);
    isMounted = isMountPoint(path());
    if (!isMounted)
        reason = QStringLiteral("the file system did not come up (%1)").arg(QString::fromLocal8Bit(daemon->readAll()));
}

SlowShare::~SlowShare()
{
    if (daemon->state() != QProcess::NotRunning) {
        // Lazily: a question still waiting in there must not keep the mount.
        QProcess::execute(QStringLiteral("fusermount3"), {QStringLiteral("-u"), QStringLiteral("-z"), path()});
        daemon->terminate();
        if (!daemon->waitForFinished(5000))
            daemon->kill();
        daemon->waitForFinished(5000);
    }
}

QString SlowShare::path(const QString& name) const
{
    return dir->path() + QStringLiteral("/share") + (name.isEmpty() ? QString() : QLatin1Char('/') + name);
}

long SlowShare::questions() const
{
    QFile counter(backing() + QStringLiteral(".questions"));
    return counter.open(QIODevice::ReadOnly) ? counter.readAll().trimmed().toLong() : 0;
}

QString SlowShare::backing(const QString& name) const
{
    return dir->path() + QStringLiteral("/backing") + (name.isEmpty() ? QString() : QLatin1Char('/') + name);
}

} // namespace vexatest
