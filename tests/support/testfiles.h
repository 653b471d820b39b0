#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace vexatest {

// The recent-list file the page reads, in the test's private data folder.
QString listFilePath();
// Replaces the list file with `bytes`; false when it cannot be written.
bool writeListFile(const QByteArray& bytes);
// The list file as it is on disk, or "<missing>".
QByteArray readListFile();
// One list entry exactly as the page writes it, and a list of such entries.
QByteArray listEntry(const QString& path, bool damaged = false, const QString& name = QStringLiteral("p"),
                     bool pinned = false);
QByteArray listOf(const QList<QByteArray>& entries);

// Writes a file (and its modification time, when valid); its path, or "" on failure.
QString makeFile(const QString& path, const QByteArray& content = "{}", const QDateTime& modified = QDateTime());

} // namespace vexatest
