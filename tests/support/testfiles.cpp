#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace vexatest {

QString listFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
}

bool writeListFile(const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(listFilePath()).absolutePath());
    QFile file(listFilePath());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray readListFile()
{
    QFile file(listFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QByteArray listEntry(const QString& path, bool damaged, const QString& name, bool pinned)
{
    auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return QStringLiteral(R"({"strProfileName":"%1","strProfilePath":"%2","strImagePath":"","isDamageFile":%3,"isPinned":%4})")
        .arg(name, path, flag(damaged), flag(pinned))
        .toUtf8();
}

QByteArray listOf(const QList<QByteArray>& entries)
{
    QByteArray joined;
    for (const QByteArray& entry : entries)
        joined += (joined.isEmpty() ? "" : ",") + entry;
    return "{\"projects\":[" + joined + "]}";
}

QString makeFile(const QString& path, const QByteArray& content, const QDateTime& modified)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.flush())
        return QString();
    if (modified.isValid() && !file.setFileTime(modified, QFileDevice::FileModificationTime))
        return QString();
    return path;
}

} // namespace vexatest
