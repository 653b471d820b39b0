#include "recentlist.h"

#include "listfile.h"
#include "listfilelock.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vexademo {

QString recentListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
}

bool addRecentProject(const QString& listPath, const QString& projectPath, const QString& name,
                      const QString& imagePath)
{
    using vexa::projectfilemgr::ListFileEntry;
    vexa::projectfilemgr::STProjectFileList doc;
    QDir().mkpath(QFileInfo(listPath).absolutePath());
    // The host's threads, the start page and other instances edit the same file.
    const vexa::projectfilemgr::ListFileLock lock(listPath);
    if (!lock.isHeld()) {
        qWarning() << "recent list not written, its lock could not be taken:" << listPath;
        return false;
    }
    // A damaged file is kept aside there and the list starts afresh, so
    // projects opened from now on are listed again.
    if (QFileInfo::exists(listPath) && !vexa::projectfilemgr::readListFile(listPath, doc))
        return false;

    const std::string path = projectPath.toStdString();
    // An entry opened again keeps what the list holds of it, its pin too.
    ListFileEntry entry;
    bool found = false;
    for (auto it = doc.projects.begin(); it != doc.projects.end();) {
        if (it->strProfilePath == path) {
            if (!found)
                entry = *it;
            found = true;
            it = doc.projects.erase(it); // duplicates collapse into the one entry
        } else {
            ++it;
        }
    }
    entry.strProfilePath = path;
    entry.strProfileName = name.toStdString();
    if (!imagePath.isEmpty())
        entry.strImagePath = imagePath.toStdString();
    entry.isDamageFile = false;
    doc.projects.insert(doc.projects.begin(), entry);

    try {
        return vexa::projectfilemgr::saveListFile(listPath, ajson::toJson(doc));
    } catch (const std::exception& e) {
        qWarning() << "recent list not written:" << listPath << e.what();
        return false;
    }
}

} // namespace vexademo
