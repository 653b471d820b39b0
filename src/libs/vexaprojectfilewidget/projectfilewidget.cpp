#include "projectfilewidget.h"

#include "blockdialog.h"
#include "controls.h"
#include "filelistwidget.h"
#include "iprojectfilemgr.h"
#include "legaldocuments.h"
#include "loadingpage.h"
#include "packagepage.h"
#include "projectfiledialogs.h"
#include "projectfilewidgetimpl.h"
#include "qtcompat.h"
#include "recentlistpresenter.h"
#include "templatelistwidget.h"
#include "translatemanager.h"
#include "translator.h"

#include <QCoreApplication>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidgetItem>
#include <QMouseEvent>
#include <QStyle>
#include <QTimer>

namespace vexa {
namespace projectfilemgr {

// ---------------------------------------------------------------------------
// Construction

ProjectFileWidget::ProjectFileWidget(QWidget* parent) : QDialog(parent), d(new Impl(this))
{
    setWindowModality(Qt::NonModal);
    setFixedSize(1080, 760);
    d->initUI();
    d->initConnect();
}

ProjectFileWidget::~ProjectFileWidget()
{
    // A host that forgets to detach must not get calls into a freed page.
    if (d->bridge.manager()) {
        qWarning() << "ProjectFileWidget destroyed with a projectFileMgr attached, detaching it";
        unsetProjectFileMgr();
    }
    if (d->bridge.runtime()) {
        qWarning() << "ProjectFileWidget destroyed with a hxRuntime attached, detaching it";
        unsetHXRuntime();
    }
    // The loading page and the package dialog have no parent; they go with the page.
    LoadingPage* loadingPage = d->loadingPage;
    PackagePage* packagePage = d->packagePage;
    delete d;
    d = nullptr;
    delete loadingPage;
    delete packagePage;
}

// ---------------------------------------------------------------------------
// Manager and runtime

void ProjectFileWidget::setProjectFileMgr(IProjectFileMgr* projectFileMgr)
{
    if (!projectFileMgr) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    if (!d->bridge.runtime()) {
        qWarning() << "hxRuntime is null, attach the runtime before the projectFileMgr";
        return;
    }
    if (d->bridge.manager())
        unsetProjectFileMgr(); // one manager at a time, each slot connected once
    // A page that keeps a manager it cannot hear would wait for answers forever.
    if (!d->bridge.attachManager(projectFileMgr)) {
        qWarning() << "projectFileMgr not attached, the runtime refused the call";
        return;
    }
    if (!d->packagePage->setProjectFileMgr(projectFileMgr)) {
        qWarning() << "projectFileMgr not attached, the package page could not connect";
        d->bridge.detachManager();
    }
}

void ProjectFileWidget::unsetProjectFileMgr()
{
    if (!d->bridge.manager()) {
        qWarning() << "projectFileMgr is null";
        return;
    }
    d->bridge.detachManager();
    d->packagePage->unsetProjectFileMgr();
}

void ProjectFileWidget::setHXRuntime(norvane::IHXRuntime* hxRuntime)
{
    if (!hxRuntime) {
        qWarning() << "hxRuntime is null";
        return;
    }
    d->bridge.attachRuntime(hxRuntime);
    d->packagePage->setHXRuntime(hxRuntime);
}

void ProjectFileWidget::unsetHXRuntime()
{
    if (!d->bridge.runtime()) {
        qWarning() << "hxRuntime is null";
        return;
    }
    d->bridge.detachRuntime();
    d->packagePage->unsetHXRuntime();
}

// ---------------------------------------------------------------------------
// Start-up and opening

void ProjectFileWidget::run()
{
    const QStringList arguments = QCoreApplication::arguments();
    qDebug() << "QApplication::arguments().size(): " << arguments.size();
    ProjectFileFlows& flows = *d->flows;

    if (arguments.size() > 1 && flows.lastOpenSucceeded && !d->isSlave) {
        QString path = arguments.at(1);
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        qDebug() << "QApplication::arguments()[1]: " << arguments.at(1);
        const ProjectFileFlows::OpenResult result = flows.openFile(path.toStdString());
        if (result == ProjectFileFlows::OpenResult::NoManager) {
            qWarning() << "projectFileMgr is nullptr!";
        } else if (result != ProjectFileFlows::OpenResult::Sent) {
            IProjectFileMgr* projectFileMgr = d->bridge.manager();
            // The host must hear of the failure even when its runtime refuses calls.
            if (!VEXA_CALL_IN_RUNTIME(&d->bridge, "run", [projectFileMgr] { projectFileMgr->sigArgumentOpenFailed(); })) {
                qWarning() << "the runtime refused sigArgumentOpenFailed, raised directly";
                projectFileMgr->sigArgumentOpenFailed();
            }
            // No open is coming, so leave the user a window to work from.
            if (result == ProjectFileFlows::OpenResult::Refused) {
                d->initFileList();
                d->showStartPage();
            }
        }
        return;
    }

    if (d->bridge.restorePending()) {
        qWarning() << "systemRestore will begin!";
        d->bridge.setRestorePending(false);
        Q_EMIT systemRestore();
        if (d->bridge.restoreFinished())
            return;
        qWarning() << "_isProjectRestoreFinished is false!";
        setBlockDialogVisible(true, true);
        return;
    }

    d->initFileList();
    if (d->pluginConfig.autoOpenCurrentProject && !d->store().order().empty() && flows.lastOpenSucceeded &&
        !d->isSlave) {
        d->autoOpenLastProject();
        return;
    }
    d->showStartPage();
}

void ProjectFileWidget::slotItemDoubleClicked(QListWidgetItem* item)
{
    if (!item)
        return;
    // The row holds its project whether or not a tile shows it now.
    const std::string path = FileListWidget::filePathOf(item);
    if (path.empty())
        return;
    FileListWidget* list = d->view.fileListWidget;
    const FileRow* row = list->rowAt(list->row(item));
    const std::uint32_t source = row ? row->source : FileRow::kNoSource;
    if (FileListWidget::isDamaged(item)) {
        // Not opened from the list, but the user hears why and what to do; the
        // tile shows the file as it is now (it may have been repaired meanwhile).
        d->recentList->reread(source);
        showMessageTip(trText(QStringLiteral("DamagedFileTip")));
        return;
    }
    if (d->mayReplace())
        d->flows->openListed(path, [list, source](bool busy) { list->setRowBusy(source, busy); });
}

void ProjectFileWidget::setReplaceGuard(std::function<bool()> guard)
{
    d->replaceGuard = std::move(guard);
}

// ---------------------------------------------------------------------------
// Busy dialog, configuration, closing

void ProjectFileWidget::setBlockDialogVisible(const bool isLoading, const bool visible)
{
    vexa::widgets::BlockDialog* blockDialog = d->blockDialog;
    if (visible) {
        blockDialog->setTipText(trText(isLoading ? QStringLiteral("Loading") : QStringLiteral("Saving")));
        if (blockDialog->isVisible())
            return; // already running modally further up the stack
        QTimer::singleShot(50, blockDialog, [blockDialog] { blockDialog->raise(); });
        qWarning() << "projectFile blockDialog will be show!";
        blockDialog->exec();
        return;
    }
    d->bridge.setRestoreFinished(true);
    if (!blockDialog->isVisible())
        return;
    qWarning() << "projectFile blockDialog will be close!";
    QTimer::singleShot(50, blockDialog, [blockDialog] { blockDialog->close(); });
}

void ProjectFileWidget::setConfig(const STPluginConfig& config)
{
    qDebug() << "--PROJECTFILE-- isCloseTip == " << config.isCloseTip << "  open default play status == "
             << config.openDefaultPlay << "  auto open current project == " << config.autoOpenCurrentProject;
    d->pluginConfig = config;
}

void ProjectFileWidget::timeChanged(const STPluginConfig& config)
{
    qDebug() << "--PROJECTFILE-- auto save setting status == " << config.autoSave << "  time interval == "
             << config.timeInterval << "  max save counts == " << config.maxSaveCounts << "  auto save path == "
             << QString::fromStdString(config.autoSavePath);
    d->pluginConfig = config;
}

void ProjectFileWidget::setAutoSavePath(const QString& path)
{
    d->autoSavePath = path;
}

void ProjectFileWidget::setBackupPathLength(int length)
{
    d->flows->backupPathLength = length;
}

void ProjectFileWidget::setIsSlave(bool isSlave)
{
    d->isSlave = isSlave;
}

void ProjectFileWidget::quitClicked()
{
    setVisible(false);
    Q_EMIT quitApp();
}

void ProjectFileWidget::closeEvent(QCloseEvent* event)
{
    Q_EMIT quitApp();
    QWidget::closeEvent(event);
}

// ---------------------------------------------------------------------------
// Open, new and save flows

void ProjectFileWidget::showWarningTip(const QString& text) const
{
    showMessageTip(text);
}

void ProjectFileWidget::openClicked()
{
    if (d->mayReplace())
        d->flows->openChosen();
}

void ProjectFileWidget::newClicked()
{
    if (!d->mayReplace())
        return;
    const int row = d->view.templateList->currentRow();
    d->flows->createNew(static_cast<TemplateType>(row < 0 ? 1 : row + 1));
}

void ProjectFileWidget::saveProject()
{
    d->flows->save();
}

void ProjectFileWidget::saveAsProject() const
{
    d->flows->saveAs();
}

void ProjectFileWidget::templateItemDoubleClicked(QListWidgetItem*)
{
    newClicked();
}

// ---------------------------------------------------------------------------
// Recent list

void ProjectFileWidget::addSingleProfile(const STProjectFile& file)
{
    d->addFileItem(file);
}

void ProjectFileWidget::addTagProProfile(const std::vector<STProjectFile>& files) const
{
    for (const STProjectFile& file : files)
        d->addFileItem(file);
}

std::string ProjectFileWidget::getItemFilePath(int index)
{
    // As the user sees the list: a filter hides entries from the count too.
    return d->recentList->shownPathAt(index);
}

void ProjectFileWidget::sortRuleChange()
{
    d->recentList->sort(d->view.sortComboBox->currentData(Qt::UserRole).toInt(), !d->sortAscending);
}

void ProjectFileWidget::changeSortClicked()
{
    d->sortAscending = !d->sortAscending;
    QWidget* button = d->view.changeSortButton;
    button->setProperty("changeSortSelect", d->sortAscending);
    button->style()->unpolish(button);
    button->style()->polish(button);
    d->view.nameSortDirection(d->sortAscending);
    sortRuleChange();
}

// ---------------------------------------------------------------------------
// Look, placement, window behaviour

void ProjectFileWidget::setVersionText(QString version) const
{
    d->view.versionLabel->setText(version);
}

void ProjectFileWidget::setProjectstyleSheet(const QString& styleSheet)
{
    setStyleSheet(styleSheet);
    d->loadingPage->setStyleSheet(styleSheet);
    d->packagePage->setStyleSheet(styleSheet);
}

void ProjectFileWidget::refRect(QRect& rect)
{
    const QPoint centre = rect.center();
    move(centre.x() - width() / 2, centre.y() - height() / 2);
    d->loadingPage->refRect(rect);
}

void ProjectFileWidget::setFileDialogStyleSheet(const QString& styleSheet)
{
    d->fileDialogStyle = styleSheet;
}

QString ProjectFileWidget::getFileDialogStyle() const
{
    return d->fileDialogStyle;
}

void ProjectFileWidget::showLoadingPage() const
{
    d->loadingPage->showLoadingPage();
}

void ProjectFileWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        d->dragging = true;
        d->dragOffset = vexa::qtcompat::globalPos(event) - frameGeometry().topLeft();
        event->accept();
    }
}

void ProjectFileWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (d->dragging && (event->buttons() & Qt::LeftButton)) {
        move(vexa::qtcompat::globalPos(event) - d->dragOffset);
        event->accept();
    }
}

void ProjectFileWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        d->dragging = false;
        event->accept();
    }
}

void ProjectFileWidget::keyPressEvent(QKeyEvent* event)
{
    // Escape never closes or rejects the page.
    if (event->key() == Qt::Key_Escape)
        return;
    QWidget::keyPressEvent(event);
}

// ---------------------------------------------------------------------------
// Language

void ProjectFileWidget::loadLanguageFiles(const std::vector<QString>& files) const
{
    for (const QString& file : files)
        TranslateManager::instance().translator().load(file);
}

void ProjectFileWidget::switchLanguage(const QString& language)
{
    TranslateManager::instance().translator().switchLanguage(language);
    d->language = language;
    vexa::widgets::ComboBox* box = d->view.languageComboBox;
    for (int index = 0; index < box->count(); ++index) {
        if (box->itemData(index, Qt::UserRole).toString() == language) {
            box->setCurrentIndex(index);
            break;
        }
    }
    d->loadingPage->switchLanguage(language);
    d->packagePage->switchLanguage(language);
    translateLanguage();
}

void ProjectFileWidget::translateLanguage()
{
    d->view.translateLanguage(d->language);
    d->view.nameSortDirection(d->sortAscending);
    d->blockDialog->setTipText(trText(QStringLiteral("Loading")));
    d->recentList->translateLanguage();
}

// ---------------------------------------------------------------------------
// Legal documents

bool ProjectFileWidget::eventFilter(QObject* watched, QEvent* event)
{
    // A press of any button opens a link, and so does Enter on one that has the focus.
    const bool enter = event->type() == QEvent::KeyPress &&
                       (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (!d || (event->type() != QEvent::MouseButtonPress && !enter))
        return QObject::eventFilter(watched, event);
    const StartPageView& view = d->view;
    LegalDocument document;
    if (watched == view.licenseLabel)
        document = LegalDocument::License;
    else if (watched == view.privacyLabel)
        document = LegalDocument::Privacy;
    else if (watched == view.thirdPartyLicenseLabel)
        document = LegalDocument::ThirdPartyLicense;
    else
        return QObject::eventFilter(watched, event);
    const bool opened = openLegalDocument(document, d->language == QLatin1String("zh_CN"));
    if (!opened)
        Q_EMIT documentNotOpened();
    return opened;
}

// ---------------------------------------------------------------------------
// Packaging

void ProjectFileWidget::packageProject() const
{
    IProjectFileMgr* mgr = d->bridge.manager();
    if (!mgr) {
        qWarning() << "new projectFile failed!";
        showMessageTip(trText(QStringLiteral("PackageHostUnavailable")));
        return;
    }
    // The one manager call made directly on the GUI thread.
    mgr->requestPackage();
}

} // namespace projectfilemgr
} // namespace vexa
