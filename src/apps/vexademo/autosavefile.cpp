#include "autosavefile.h"

#include "hxcutils.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>

namespace vexademo {

namespace {

const char kFormat[] = "vexademo-autosave";
const char kSuffix[] = "autosave";
constexpr int kVersion = 1;
constexpr qint64 kMaxBytes = 64 * 1024 * 1024;

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace

QString autosavePathFor(const QString& folder, const QString& projectPath)
{
    return perProjectPath(folder, projectPath, QLatin1String(kSuffix));
}

bool writeAutosave(const QString& folder, const QString& projectPath, const DemoProject& project)
{
    const QString file = autosavePathFor(folder, projectPath);
    if (QFileInfo(file).absoluteFilePath() == QFileInfo(projectPath).absoluteFilePath()) {
        errno = EINVAL; // an autosave never takes the project file's place
        return false;
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), QLatin1String(kFormat));
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("projectPath"), QFileInfo(projectPath).absoluteFilePath());
    root.insert(QStringLiteral("savedAt"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    root.insert(QStringLiteral("project"), projectToObject(project));
    QDir().mkpath(folder);
    return NoCacheFile::saveToFile(file.toStdString(), QJsonDocument(root).toJson(QJsonDocument::Compact).toStdString());
}

bool readAutosave(const QString& file, AutosaveRecord& record, QString* error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail(error, in.errorString());
    if (in.size() > kMaxBytes)
        return fail(error, QStringLiteral("file too large"));
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(in.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return fail(error, parseError.errorString());
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != QLatin1String(kFormat) ||
        root.value(QStringLiteral("version")).toInt() != kVersion)
        return fail(error, QStringLiteral("not an autosave of this version"));
    AutosaveRecord result;
    result.file = file;
    result.projectPath = root.value(QStringLiteral("projectPath")).toString();
    result.savedAt = QDateTime::fromString(root.value(QStringLiteral("savedAt")).toString(), Qt::ISODateWithMs);
    // The name must match the project it claims, so a copied or planted file
    // cannot put its content in another project's place.
    if (result.projectPath.isEmpty() || !QDir::isAbsolutePath(result.projectPath) || !result.savedAt.isValid() ||
        autosavePathFor(QFileInfo(file).absolutePath(), result.projectPath) != QFileInfo(file).absoluteFilePath())
        return fail(error, QStringLiteral("no project or time, or the name does not match the project"));
    if (!projectFromObject(root.value(QStringLiteral("project")).toObject(), result.project, error))
        return false;
    record = result;
    return true;
}

QVector<AutosaveRecord> recoverableAutosaves(const QString& folder)
{
    QVector<AutosaveRecord> found;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.") + QLatin1String(kSuffix)}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& file : files) {
        AutosaveRecord record;
        QString error;
        if (!readAutosave(file.absoluteFilePath(), record, &error)) {
            qWarning() << "autosave ignored:" << file.absoluteFilePath() << error;
            continue;
        }
        const QFileInfo project(record.projectPath);
        if (project.exists() && project.lastModified() >= record.savedAt) {
            qInfo() << "autosave older than its project, not offered:" << file.absoluteFilePath();
            continue;
        }
        found.push_back(record);
    }
    std::sort(found.begin(), found.end(),
              [](const AutosaveRecord& a, const AutosaveRecord& b) { return a.savedAt > b.savedAt; });
    return found;
}

bool discardAutosave(const QString& file)
{
    if (QFile::moveToTrash(file))
        return true;
    qWarning() << "no trash for the discarded autosave; renamed:" << file;
    return QFile::rename(file, file + QStringLiteral(".discarded"));
}

} // namespace vexademo
