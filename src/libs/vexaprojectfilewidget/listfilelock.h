#pragma once

// The lock that every read-modify-write of the recent list file holds: the
// start page's and the host's, in this process and in any other instance of
// the application. Without it one writer's entries are lost to another's
// write of what it read before. Header-only, so the host shares it without
// the library exporting it.

#include <QDeadlineTimer>
#include <QLockFile>
#include <QString>
#include <QThread>

namespace vexa {
namespace projectfilemgr {

class ListFileLock
{
public:
    // An edit takes milliseconds; a lock this old was left by a writer that
    // hangs (one whose process ended is taken over at once).
    static constexpr int kStaleMs = 10000;

    // Waits for the lock until a lock left behind would have gone stale.
    explicit ListFileLock(const QString& listPath) : file(listPath + QStringLiteral(".lock"))
    {
        file.setStaleLockTime(kStaleMs);
        // QLockFile's own wait sleeps up to seconds between looks; an edit is far shorter.
        const QDeadlineTimer deadline(kStaleMs + 1000);
        while (!(held = file.tryLock(0)) && file.error() == QLockFile::LockFailedError && !deadline.hasExpired())
            QThread::msleep(2);
    }
    ListFileLock(const ListFileLock&) = delete;
    ListFileLock& operator=(const ListFileLock&) = delete;

    // False when the wait ran out or no lock file can be made beside the list.
    bool isHeld() const { return held; }

private:
    QLockFile file;
    bool held = false;
};

} // namespace projectfilemgr
} // namespace vexa
