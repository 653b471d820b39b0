#include "logcapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace vexatest {

namespace {
QMutex gMutex;
QStringList gLines;
QtMessageHandler gPrevious = nullptr;
int gDepth = 0;
} // namespace

// Captures may nest: only the outermost one installs and restores the handler,
// so the handler never chains to itself.
LogCapture::LogCapture()
{
    QMutexLocker lock(&gMutex);
    gLines.clear();
    if (gDepth++ == 0) {
        previous_ = qInstallMessageHandler(&LogCapture::handler);
        gPrevious = previous_;
    } else {
        previous_ = gPrevious;
    }
}

LogCapture::~LogCapture()
{
    QMutexLocker lock(&gMutex);
    if (--gDepth == 0) {
        qInstallMessageHandler(previous_);
        gPrevious = nullptr;
    }
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QtMessageHandler previous = nullptr;
    {
        QMutexLocker lock(&gMutex);
        gLines << message;
        previous = gPrevious;
    }
    if (previous)
        previous(type, context, message);
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&gMutex);
    return gLines;
}

int LogCapture::count(const QString& text) const
{
    QMutexLocker lock(&gMutex);
    return gLines.count(text);
}

int LogCapture::countContaining(const QString& text) const
{
    QMutexLocker lock(&gMutex);
    int n = 0;
    for (const QString& line : gLines)
        n += line.contains(text) ? 1 : 0;
    return n;
}

void LogCapture::clear()
{
    QMutexLocker lock(&gMutex);
    gLines.clear();
}

} // namespace vexatest
