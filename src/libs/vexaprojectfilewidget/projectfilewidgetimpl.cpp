#include "projectfilewidgetimpl.h"

#include "blockdialog.h"
#include "controls.h"
#include "filelistwidget.h"
#include "filterbox.h"
#include "focusframe.h"
#include "framelessmainwindow.h"
#include "languagechoice.h"
#include "loadingpage.h"
#include "packagepage.h"
#include "packagerequest.h"
#include "projectfiledialogs.h"
#include "pageaccessibility.h"
#include "recentlistpresenter.h"
#include "recentprojectstore.h"
#include "screenhop.h"
#include "templatelistwidget.h"

#include <QDebug>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShortcut>

namespace vexa {
namespace projectfilemgr {

ProjectFileWidget::Impl::Impl(ProjectFileWidget* owner) : q(owner) {}

ProjectFileWidget::Impl::~Impl() = default;

RecentProjectStore& ProjectFileWidget::Impl::store()
{
    return recentList->store();
}

void ProjectFileWidget::Impl::initUI()
{
    q->setObjectName(QStringLiteral("mainWidget"));
    q->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    // Before the list exists, so a screen reader meets its rows from the start.
    installPageAccessibility();
    view.build(q);
    view.licenseLabel->installEventFilter(q);
    view.privacyLabel->installEventFilter(q);
    view.thirdPartyLicenseLabel->installEventFilter(q);
    view.nameSortDirection(sortAscending);
    // The page has no title bar; a screen reader names its window by the application.
    q->setAccessibleName(view.appNameLabel->text());
    focusFrame = new FocusFrame(q);
    for (QWidget* stop : view.tabStops())
        focusFrame->watch(stop);
    languageChoice = new LanguageChoice(view.languageComboBox);

    loadingPage = new LoadingPage(nullptr);
    packagePage = new PackagePage(nullptr);
    blockDialog = new vexa::widgets::BlockDialog(q);
    recentList.reset(new RecentListPresenter(view.fileListWidget));
    flows.reset(new ProjectFileFlows(q, &bridge, &recentList->store()));
    packageRequest.reset(new PackageRequest(q, packagePage, &bridge));
    mainWindow = vexa::widgets::FramelessMainWindow::getMainWindow();
}

void ProjectFileWidget::Impl::initConnect()
{
    connect(view.changeSortButton, &QAbstractButton::clicked, q, &ProjectFileWidget::changeSortClicked);
    connect(view.newButton, &QAbstractButton::clicked, q, &ProjectFileWidget::newClicked);
    connect(view.openButton, &QAbstractButton::clicked, q, &ProjectFileWidget::openClicked);
    connect(view.quitButton, &QAbstractButton::clicked, q, &ProjectFileWidget::quitClicked);
    FileListWidget* list = view.fileListWidget;
    connect(list, &QListWidget::itemDoubleClicked, q, &ProjectFileWidget::slotItemDoubleClicked);
    connect(list, &FileListWidget::keyActivated, q, &ProjectFileWidget::slotItemDoubleClicked);
    connect(list, &FileListWidget::clearListFile, this, &Impl::slotClearListFile);
    connect(list, &FileListWidget::askEmptyFileListItem, this, &Impl::showEmptyFileList);
    connect(list, &FileListWidget::pinRequested, this,
            [this](std::uint32_t source, bool pinned) { recentList->pin(source, pinned); });
    connect(view.filterBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        recentList->setFilter(text);
        view.filterBox->tellMatches(recentList->shownCount(), recentList->listedCount());
    });
    auto* find = new QShortcut(QKeySequence::Find, q, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, view.filterBox, &FilterBox::takeFocus);
    // A row taken out by the user stays out when the list is re-sorted.
    connect(list, &FileListWidget::fileItemRemoved, this, [this](const std::string& path) { store().forget(path); });
    connect(view.templateList, &QListWidget::itemDoubleClicked, q, &ProjectFileWidget::templateItemDoubleClicked);
    connect(view.templateList, &TemplateListWidget::keyActivated, q, &ProjectFileWidget::templateItemDoubleClicked);
    connect(view.sortComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), q,
            &ProjectFileWidget::sortRuleChange);
    // Keys stepping through the closed box choose nothing until Enter. Tied to
    // this part, not the page: the page outlives it while it is destroyed.
    connect(
        view.languageComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        [this](int index) {
            if (!languageChoice->browsing())
                chooseLanguage(index);
        },
        Qt::DirectConnection);
    connect(languageChoice, &LanguageChoice::committed, this, &Impl::chooseLanguage, Qt::DirectConnection);
    connect(
        loadingPage, &LoadingPage::initFinish, q,
        [this] {
            loadingPage->close();
            q->run();
        },
        Qt::DirectConnection);
    connect(packagePage, &PackagePage::beginPackage, this, &Impl::packageProject);
    if (mainWindow)
        connect(mainWindow, &vexa::widgets::FramelessMainWindow::signalHookMoveScreen, this, &Impl::moveToScreen);

    // The host's answers come on its threads; the slots run on the GUI thread.
    connect(&bridge, &HostBridge::openFinished, this, &Impl::onOpenProjectFinish, Qt::QueuedConnection);
    connect(&bridge, &HostBridge::saveFinished, this, &Impl::onSaveProjectFinish, Qt::QueuedConnection);
    connect(&bridge, &HostBridge::packageDialogRequested, this, &Impl::onShowPackageDialog, Qt::QueuedConnection);
    connect(&bridge, &HostBridge::packageFinished, this, &Impl::onFinishPackage, Qt::QueuedConnection);
    connect(&bridge, &HostBridge::packageProhibited, this, &Impl::onShowProhibitPackageDialog, Qt::QueuedConnection);
    connect(&bridge, &HostBridge::shortcutReset, this, &Impl::onResetShortcut, Qt::QueuedConnection);
}

void ProjectFileWidget::Impl::showStartPage()
{
    qWarning() << "show projectflie widget!";
    view.fileListWidget->switchLanguage(language);
    q->show();
}

void ProjectFileWidget::Impl::autoOpenLastProject()
{
    // The project used last, whatever is pinned above it.
    const int lead = store().leadIgnoringPins();
    if (lead < 0)
        return;
    const ListedFile& last = store().entries()[static_cast<std::size_t>(lead)];
    const std::string path = last.storedPath;
    // Only a project the file system has just said is there: asking now
    // could hold up the start for as long as a sleeping share takes.
    if (last.state != FileState::Exists || last.overdue) {
        qWarning() << "LastProject not reachable now, start page shown instead:" << path.c_str();
        showStartPage();
        return;
    }
    qWarning() << "will open LastProject , path is " << path.c_str();
    flows->openChecked(path);
}

void ProjectFileWidget::Impl::initFileList()
{
    if (recentList->load())
        q->sortRuleChange();
    tellListFileKept(store().takeKeptCopy());
}

void ProjectFileWidget::Impl::addFileItem(const STProjectFile& file)
{
    recentList->add(file);
}

void ProjectFileWidget::Impl::showEmptyFileList()
{
    recentList->showEmpty();
}

void ProjectFileWidget::Impl::slotClearListFile(const std::string& path)
{
    store().removeFromListFile(path);
    tellListFileKept(store().takeKeptCopy());
}

void ProjectFileWidget::Impl::chooseLanguage(int index)
{
    const QString code = view.languageComboBox->itemData(index, Qt::UserRole).toString();
    q->switchLanguage(code);
    Q_EMIT q->sigLanguageChanged(code);
}

void ProjectFileWidget::Impl::moveToScreen(bool previous)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* current = q->screen();
    if (!q->isVisible() || !current || screens.size() < 2)
        return;
    QVector<QRect> geometries;
    for (const QScreen* screen : screens)
        geometries.append(screen->geometry());
    const std::optional<QPoint> target = screenHopTarget(geometries, screens.indexOf(current), q->size(), previous);
    if (!target)
        return;
    q->move(*target);
    q->raise();
    q->activateWindow();
}

void ProjectFileWidget::Impl::packageProject(STPackage packageInfo, const QString& folderName,
                                             const QString& location) const
{
    packageRequest->begin(std::move(packageInfo), folderName, location);
}

void ProjectFileWidget::Impl::onShowPackageDialog(const STPackageInfo& mediasInfo)
{
    packageRequest->showDialog(mediasInfo);
}

void ProjectFileWidget::Impl::onOpenProjectFinish(const QString& filePath, const EnProjectOpenStatus flag)
{
    flows->openFinished(filePath, flag);
}

void ProjectFileWidget::Impl::onSaveProjectFinish(const QString& filePath)
{
    flows->saveFinished(filePath);
}

void ProjectFileWidget::Impl::onFinishPackage(const bool isSuccess, const std::string& path)
{
    packageRequest->finish(isSuccess, path);
}

void ProjectFileWidget::Impl::onShowProhibitPackageDialog()
{
    packageRequest->showProhibited();
}

void ProjectFileWidget::Impl::onResetShortcut()
{
    Q_EMIT q->openProject();
}

} // namespace projectfilemgr
} // namespace vexa
