#pragma once

#include <QString>
#include <memory>

class QProcess;
class QTemporaryDir;

namespace vexatest {

// A folder on a real file system (FUSE) where every question about a file
// waits `delayMs` and then fails with `error`, or answers when `error` is 0.
// Files are made in backing() and seen in path(). Unmounted when it goes.
class SlowShare
{
public:
    SlowShare(int delayMs, int error);
    ~SlowShare();

    // False when no FUSE mount can be made here; why() says why.
    bool mounted() const { return isMounted; }
    QString why() const { return reason; }

    QString path(const QString& name = QString()) const;
    QString backing(const QString& name = QString()) const;
    // How many questions about files the share has been asked so far.
    long questions() const;

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QProcess> daemon;
    bool isMounted = false;
    QString reason;
};

} // namespace vexatest

// Skips the test when the share could not be mounted, saying why.
#define VEXA_REQUIRE_MOUNT(share)                                                                                      \
    do {                                                                                                               \
        if (!(share).mounted())                                                                                        \
            QSKIP(qPrintable(QStringLiteral("FUSE mount not made: ") + (share).why()));                               \
    } while (false)
