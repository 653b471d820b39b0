#include "recentlist.h"

#include "listfile.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <mutex>

namespace vexademo {

QString recentListPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/Norvane_TR7_Pro.json");
}

bool addRecentProject(const QString& listPath, const QString& projectPath, const QString& name,
                      const QString& imagePath)
{
    // Two of the host's threads may add entries at the same time.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);

    using vexa::projectfilemgr::STProjectFile;
    vexa::projectfilemgr::STProjectFileList doc;
    const QFileInfo info(listPath);
    if (info.exists()) {
        // A damaged file is kept aside there and the list starts afresh, so
        // projects opened from now on are listed again.
        if (!vexa::projectfilemgr::readListFile(listPath, doc))
            return false;
    } else {
        QDir().mkpath(info.absolutePath());
    }

    const std::string path = projectPath.toStdString();
    STProjectFile entry;
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
