#pragma once

#include "projectfiletypes.h"
#include "vexaprojectfilewidget_global.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QListWidgetItem;

namespace norvane {
class IHXRuntime;
}

namespace vexa {
namespace projectfilemgr {

class IProjectFileMgr;

// The start page and project-file front end. The host attaches its runtime
// and then its manager, configures the page and calls run() (or
// showLoadingPage(), whose end calls run()). Every project operation is a
// request to the manager; its answers come back on the GUI thread.
class VEXAPROJECTFILEWIDGET_EXPORT ProjectFileWidget : public QDialog
{
    Q_OBJECT
public:
    explicit ProjectFileWidget(QWidget* parent = nullptr);
    ~ProjectFileWidget() override;

    // Attach the runtime first: attaching the manager goes through it. An
    // attach the runtime refuses keeps no manager (with a warning). Once
    // unsetProjectFileMgr() returns, no manager signal calls into the page,
    // whatever the runtime did; destroying an attached page detaches it.
    void setProjectFileMgr(IProjectFileMgr* projectFileMgr);
    void unsetProjectFileMgr();
    void setHXRuntime(norvane::IHXRuntime* hxRuntime);
    void unsetHXRuntime();

    // Start-up decision: the command-line project, a pending system restore,
    // the last project, or the page itself.
    void run();

    void saveProject();

    // Asked before the user's open and new requests (the Open and New buttons,
    // a template, a recent project) replace the open project, ahead of any
    // file dialog; false: the request is dropped. The host asks about unsaved
    // work there. None: every request goes ahead.
    void setReplaceGuard(std::function<bool()> guard);

    void setBlockDialogVisible(const bool isLoading, const bool visible);
    void setConfig(const STPluginConfig& config);
    void timeChanged(const STPluginConfig& config);
    void setAutoSavePath(const QString& path);
    void setBackupPathLength(int length);
    void setIsSlave(bool isSlave);

    void setVersionText(QString version) const;
    void setProjectstyleSheet(const QString& styleSheet);
    void refRect(QRect& rect);
    void setFileDialogStyleSheet(const QString& styleSheet);
    QString getFileDialogStyle() const;

    void loadLanguageFiles(const std::vector<QString>& files) const;
    void switchLanguage(const QString& language);
    void translateLanguage();

    void addSingleProfile(const STProjectFile& file);
    void addTagProProfile(const std::vector<STProjectFile>& files) const;
    std::string getItemFilePath(int index);

    void showLoadingPage() const;

public Q_SLOTS:
    void changeSortClicked();
    void newClicked();
    void openClicked();
    void quitClicked();
    void slotItemDoubleClicked(QListWidgetItem* item);
    void templateItemDoubleClicked(QListWidgetItem* item);
    void sortRuleChange();
    void saveAsProject() const;
    void packageProject() const;

Q_SIGNALS:
    void newProject();
    void openProject();
    void quitApp();
    void doubleClickedItem(int index);
    void checkRemainSpace();
    void systemRestore();
    void modifyProjectName(QString name);
    void packageFinishTip(bool isSuccess, const std::string& path);
    void showProjectMgrWidget();
    void sigLanguageChanged(const QString& language);
    // A legal document could not be opened (missing, or nothing on the system opens it).
    void documentNotOpened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showWarningTip(const QString& text) const;

    class Impl;
    Impl* d;
};

} // namespace projectfilemgr
} // namespace vexa
