#include "projectfileflows.h"

#include "filefacts.h"
#include "hostbridge.h"
#include "iprojectfilemgr.h"
#include "projectfiledialogs.h"
#include "projectfilewidget.h"
#include "recentprojectstore.h"
#include "translatemanager.h"

#include <QDebug>
#include <QDir>
#include <QTimer>
#include <QFileInfo>
#include <algorithm>
#include <memory>
#include <system_error>

namespace vexa {
namespace projectfilemgr {

namespace {

// A save that cannot be asked for is told: the user would take the project for saved.
void tellNotSaved()
{
    showMessageTip(trText(QStringLiteral("SaveHostUnavailable")));
}

} // namespace

ProjectFileFlows::ProjectFileFlows(ProjectFileWidget* page, HostBridge* bridge, RecentProjectStore* store)
    : q(page), bridge(bridge), store(store)
{
}

ProjectFileFlows::OpenResult ProjectFileFlows::openFile(const std::string& path)
{
    if (!bridge->manager()) {
        qWarning() << "projectFileMgr is nullptr!";
        return OpenResult::NoManager;
    }
    std::error_code error;
    if (!pathExists(path, error)) {
        tellMissing(path);
        return OpenResult::Missing;
    }
    return openChecked(path);
}

void ProjectFileFlows::tellMissing(const std::string& path)
{
    qWarning() << "This path not exist project file!" << path.c_str();
    showMessageTip(trText(QStringLiteral("NullFileTip")));
}

void ProjectFileFlows::openListed(const std::string& path, std::function<void(bool)> busy)
{
    struct Pending {
        bool answered = false;
        bool busy = false;
    };
    const std::uint64_t ticket = ++openTicket;
    auto pending = std::make_shared<Pending>();
    // A quick answer shows nothing; a slow one shows that the tile works on it.
    QTimer::singleShot(kBusyAfter, q, [pending, busy] {
        if (!pending->answered) {
            pending->busy = true;
            busy(true);
        }
    });
    store->checkFile(path, [this, path, ticket, pending, busy](const FileAnswer& answer) {
        pending->answered = true;
        if (pending->busy)
            busy(false);
        if (ticket != openTicket)
            return; // the user asked for another project meanwhile
        if (answer.state == FileState::Exists) {
            if (bridge->manager())
                openChecked(path);
            else
                qWarning() << "projectFileMgr is nullptr!";
        } else if (answer.state == FileState::Missing) {
            tellMissing(path);
        } else {
            const QString folder = QDir::toNativeSeparators(QFileInfo(QString::fromStdString(path)).path());
            qWarning() << "project file location not reachable:" << path.c_str() << "error" << answer.error;
            showMessageTip(trText(QStringLiteral("UnreachableFileTip")).arg(folder));
        }
    });
}

ProjectFileFlows::OpenResult ProjectFileFlows::openChecked(const std::string& path)
{
    IProjectFileMgr* mgr = bridge->manager();
    qWarning() << "projectFile will openFile path is " << path.c_str();
    const std::string previousPath = curFilePath;
    curFilePath = path;
    Q_EMIT q->openProject();

    if (!VEXA_CALL_IN_RUNTIME(bridge, "openFile", [mgr, path] { mgr->loadProject(path, unserializeType(1)); })) {
        // No answer will come, so the busy dialog would never close.
        qWarning() << "open request not made, the runtime refused the call:" << path.c_str();
        curFilePath = previousPath;
        return OpenResult::Refused;
    }
    q->setBlockDialogVisible(true, true);
    return OpenResult::Sent;
}

void ProjectFileFlows::openChosen()
{
    const QString path = chooseProjectToOpen();
    if (path.isEmpty()) {
        qWarning() << "projectFile path is empty!";
        return;
    }
    openFile(path.toStdString());
}

void ProjectFileFlows::createNew(TemplateType type)
{
    const QString path = showSelectFileDialog(backupPathLength);
    if (path.isEmpty()) {
        qWarning() << "open select file dialog failure!";
        return;
    }
    qDebug() << "new project file path is " << path;
    if ((QFileInfo::exists(path) || path.toStdString() == curFilePath) && !askCover())
        return;

    Q_EMIT q->newProject();
    IProjectFileMgr* mgr = bridge->manager();
    if (!mgr) {
        qWarning() << "new projectFile failed!";
        return;
    }
    const std::string previousPath = curFilePath;
    curFilePath = path.toStdString();
    const std::string filePath = curFilePath;
    if (!VEXA_CALL_IN_RUNTIME(bridge, "newClicked", [mgr, filePath, type] { mgr->createProject(filePath, type); })) {
        // No answer will come, so the busy dialog would never close.
        qWarning() << "create request not made, the runtime refused the call:" << path;
        curFilePath = previousPath;
        return;
    }
    q->setBlockDialogVisible(true, true);
}

void ProjectFileFlows::save()
{
    if (!bridge->manager()) {
        qWarning() << "new projectFile failed!";
        tellNotSaved();
        return;
    }
    if (curFilePath.empty()) {
        qWarning() << "curFilePath is empty, save project failed!";
        return;
    }
    write(curFilePath, false, "saveProject");
}

void ProjectFileFlows::saveAs()
{
    // No dialog nor overwrite question whose answer could go nowhere.
    if (!bridge->manager()) {
        qWarning() << "projectFileMgr is nullptr!";
        tellNotSaved();
        return;
    }
    const QString path = showSelectFileDialog(backupPathLength);
    if (path.isEmpty()) {
        qWarning() << "open select file dialog failure!";
        return;
    }
    qDebug() << "saveAs project file path is " << path;
    if (QFileInfo::exists(path) && !askCover())
        return;
    write(path.toStdString(), true, "saveAsProject");
}

void ProjectFileFlows::write(const std::string& path, bool isSaveAs, const char* function)
{
    STProjectFile record;
    record.strProfilePath = path;
    record.strImagePath = RecentProjectStore::imageFolderPath();
    IProjectFileMgr* mgr = bridge->manager();
    // The manager may have gone while a dialog ran.
    if (!mgr || !VEXA_CALL_IN_RUNTIME(bridge, function, [mgr, record, isSaveAs] { mgr->writeProject(record, isSaveAs); })) {
        qWarning() << "save request not made:" << path.c_str();
        tellNotSaved();
    }
}

void ProjectFileFlows::openFinished(const QString& filePath, EnProjectOpenStatus flag)
{
    curFilePath = filePath.toStdString();
    qWarning() << "--PROJECTFILE--, project file open finish ::" << filePath << "project open status is "
               << static_cast<int>(flag);
    lastOpenSucceeded = (flag == Success);
    q->setBlockDialogVisible(true, false);
    if (IProjectFileMgr* mgr = bridge->manager())
        mgr->sigOpenFinishReceived();

    if (flag == FileDamage) {
        store->markDamageFile(curFilePath);
        tellListFileKept(store->takeKeptCopy());
        showMessageTip(trText(QStringLiteral("FileDamage")));
        Q_EMIT q->showProjectMgrWidget();
        return;
    }
    const int cut = std::max(filePath.lastIndexOf(QLatin1Char('/')), filePath.lastIndexOf(QLatin1Char('\\')));
    Q_EMIT q->modifyProjectName(filePath.mid(cut + 1));
}

void ProjectFileFlows::saveFinished(const QString& filePath)
{
    qWarning() << "--PROJECTFILE--, project file save finish ::" << filePath;
    q->setBlockDialogVisible(false, false);
    Q_EMIT q->checkRemainSpace();
}

} // namespace projectfilemgr
} // namespace vexa
