#include "packagefolderchooser.h"

#include "desktopfolder.h"
#include "hxcutils.h"
#include "tipdialog.h"
#include "translatemanager.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace vexa {
namespace projectfilemgr {

QString choosePackageFolder(const QString& location)
{
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(trText(QStringLiteral("SelectFolder")));
    // Start where the package would go now, so a nearby folder is one step away.
    dialog.setDirectory(QDir(QFileInfo(location).isDir() ? location : desktopFolder()).absolutePath());
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptDrops(true);
    dialog.setLabelText(QFileDialog::FileName, trText(QStringLiteral("NameInput")));
    dialog.setLabelText(QFileDialog::Reject, trText(QStringLiteral("Cancel")));
    dialog.setLabelText(QFileDialog::Accept, trText(QStringLiteral("OpenProject")));
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QStringList chosen = accepted ? dialog.selectedFiles() : QStringList();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        qWarning() << "--PackageSetting--browse folder is empty!";
        return QString();
    }
    const QString path = chosen.first();
    if (!QFileInfo(path).isDir()) {
        qWarning() << "--PackageSetting--The selected folder is not a folder!";
        return QString();
    }
    if (!folderWritePermission(path.toStdString())) {
        vexa::widgets::TipDialog tip(vexa::widgets::TipWarning, nullptr);
        tip.setTipText(trText(QStringLiteral("NoPermission")));
        tip.run();
        qWarning() << "--ProjectSetting--have no permission to write file!";
        return QString();
    }
    return path;
}

} // namespace projectfilemgr
} // namespace vexa
