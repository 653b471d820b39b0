#pragma once

// The start page's private part: it owns the page's parts and wires them
// together. Each operation here is an entry point (a slot, a handler of a
// part's signal, a step of run()) that hands the work to the part that owns it.

#include "hostbridge.h"
#include "projectfileflows.h"
#include "projectfilewidget.h"
#include "startpageview.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace vexa {
namespace widgets {
class BlockDialog;
class FramelessMainWindow;
} // namespace widgets
namespace projectfilemgr {

class FocusFrame;
class LanguageChoice;
class LoadingPage;
class PackagePage;
class PackageRequest;
class RecentListPresenter;
class RecentProjectStore;

class ProjectFileWidget::Impl : public QObject
{
    Q_OBJECT
public:
    explicit Impl(ProjectFileWidget* owner);
    ~Impl() override;

    ProjectFileWidget* q;
    StartPageView view;
    HostBridge bridge;
    std::unique_ptr<RecentListPresenter> recentList;
    std::unique_ptr<ProjectFileFlows> flows;
    std::unique_ptr<PackageRequest> packageRequest;

    bool sortAscending = false;
    LoadingPage* loadingPage = nullptr;
    PackagePage* packagePage = nullptr;
    vexa::widgets::BlockDialog* blockDialog = nullptr;
    vexa::widgets::FramelessMainWindow* mainWindow = nullptr;
    FocusFrame* focusFrame = nullptr;
    LanguageChoice* languageChoice = nullptr;
    STPluginConfig pluginConfig;
    QString fileDialogStyle;
    QString autoSavePath;
    QString language;
    bool dragging = false;
    QPoint dragOffset;
    bool isSlave = false;
    std::function<bool()> replaceGuard;

    RecentProjectStore& store();
    bool mayReplace() const { return !replaceGuard || replaceGuard(); }

    void initUI();
    void initConnect();
    void showStartPage();
    void autoOpenLastProject();

    // Recent list.
    void initFileList();
    void addFileItem(const STProjectFile& file);
    void showEmptyFileList();
    void slotClearListFile(const std::string& path);

    // The user's choice in the language box: the page switches and tells the host.
    void chooseLanguage(int index);
    void moveToScreen(bool previous);
    void packageProject(STPackage packageInfo, const QString& folderName, const QString& location) const;

public Q_SLOTS:
    void onShowPackageDialog(const vexa::projectfilemgr::STPackageInfo& mediasInfo);
    void onOpenProjectFinish(const QString& filePath, const vexa::projectfilemgr::EnProjectOpenStatus flag);
    void onSaveProjectFinish(const QString& filePath);
    void onFinishPackage(const bool isSuccess, const std::string& path);
    void onShowProhibitPackageDialog();
    void onResetShortcut();
};

} // namespace projectfilemgr
} // namespace vexa
