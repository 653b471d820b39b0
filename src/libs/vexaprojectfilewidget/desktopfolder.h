#pragma once

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace vexa {
namespace projectfilemgr {

// Where the page's dialogs start and propose new files: the user's desktop,
// or the home folder when there is no Desktop folder (common on minimal
// systems; a missing folder would make every proposal fail).
inline QString desktopFolder()
{
    const QString desktop = QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)).absolutePath();
    return QFileInfo(desktop).isDir() ? desktop : QDir::homePath();
}

} // namespace projectfilemgr
} // namespace vexa
