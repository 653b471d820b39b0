#include "packagerequest.h"

#include "hostbridge.h"
#include "iprojectfilemgr.h"
#include "packagepage.h"
#include "projectfilewidget.h"
#include "projectnamerules.h"
#include "tipdialog.h"
#include "translatemanager.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QTimer>

namespace vexa {
namespace projectfilemgr {

namespace {

// Makes one folder of a package; false, logged, when it cannot be made.
bool makeFolder(const QString& path, const char* what)
{
    if (QDir().mkdir(path))
        return true;
    qWarning() << "mkdir" << what << "folder failed! " << path;
    return false;
}

// The package folder and its three subfolders, their paths put into `info`.
bool makePackageFolders(const QString& packagePath, STPackage& info)
{
    const QString optimizatedPath = QStringLiteral("%1/%2").arg(packagePath, QStringLiteral("optimizatedPath"));
    const QString resPath = QStringLiteral("%1/%2").arg(packagePath, QStringLiteral("resPath"));
    const QString imagePath = QStringLiteral("%1/%2/").arg(packagePath, QStringLiteral("imagePath"));
    if (!makeFolder(packagePath, "package") || !makeFolder(optimizatedPath, "optimizatedPath"))
        return false;
    info.optimizatedPath = optimizatedPath.toStdString();
    if (!makeFolder(resPath, "resPath"))
        return false;
    info.resPath = resPath.toStdString();
    info.imagePath = imagePath.toStdString();
    return makeFolder(imagePath, "projectThumb");
}

} // namespace

PackageRequest::PackageRequest(ProjectFileWidget* page, PackagePage* dialog, HostBridge* bridge)
    : q(page), dialog(dialog), bridge(bridge)
{
}

void PackageRequest::showDialog(const STPackageInfo& mediasInfo)
{
    if (dialog->isVisible())
        return;
    dialog->setMediaSize(mediasInfo);
    dialog->setDefaultFolderName(QStringLiteral("%1-%2").arg(
        QStringLiteral("project"), QDateTime::currentDateTime().toString(QStringLiteral("MM-dd-hh-mm-ss"))));
    PackagePage* page = dialog;
    QTimer::singleShot(0, page, [page] {
        if (QLayout* layout = page->dialogWidget()->layout())
            layout->activate();
        if (QLayout* layout = page->layout())
            layout->activate();
        // The dialog alone: its layout gives the content area its width.
        page->adjustSize();
    });
    dialog->exec();
}

void PackageRequest::showProhibited()
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipMessage, nullptr);
    tip.setTipText(trText(QStringLiteral("ProhibitPackage")));
    tip.setBtnText(trText(QStringLiteral("OK")), QString(), QString());
    tip.run();
}

void PackageRequest::begin(STPackage packageInfo, const QString& folderName, const QString& location)
{
    const QString packagePath = QStringLiteral("%1/%2").arg(location, folderName);
    packageInfo.packagePath = packagePath.toStdString();
    // Every way out without a request tells the dialog why, so it does not wait for a package.
    const QFileInfo existing(packagePath);
    if (existing.exists() || existing.isSymLink()) {
        dialog->refuseStart(QStringLiteral("ReSelect"));
        return;
    }
    IProjectFileMgr* mgr = bridge->manager();
    if (!mgr) {
        qWarning() << "new projectFile failed!";
        dialog->refuseStart(QString());
        return;
    }
    if (!makePackageFolders(packagePath, packageInfo)) {
        dialog->refuseStart(QStringLiteral("PackageFolderFailed"));
        return;
    }
    STProjectFile record;
    record.strProfilePath =
        QStringLiteral("%1/%2%3").arg(packagePath, QStringLiteral("project"), QLatin1String(kProjectExtension)).toStdString();
    record.strImagePath = packageInfo.imagePath;
    record.packageData = packageInfo;
    record.isPackage = true;
    if (!VEXA_CALL_IN_RUNTIME(bridge, "packageProject", [mgr, record] { mgr->writeProject(record, false); })) {
        qWarning() << "package request not made, the runtime refused the call:" << packagePath;
        dialog->refuseStart(QString());
    }
}

void PackageRequest::finish(bool isSuccess, const std::string& path)
{
    dialog->stopPackage();
    PackagePage* page = dialog;
    QTimer::singleShot(10, page, [page] { page->close(); });
    Q_EMIT q->packageFinishTip(isSuccess, path);
}

} // namespace projectfilemgr
} // namespace vexa
