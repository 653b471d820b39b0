#pragma once

// Collects log lines while alive (and still passes them on to the previous
// handler), so a test can assert that a line was or was not written.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace vexatest {

class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    int count(const QString& text) const;       // lines equal to text
    int countContaining(const QString& text) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message);
    QtMessageHandler previous_;
};

} // namespace vexatest
