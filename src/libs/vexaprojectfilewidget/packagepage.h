#pragma once

#include "dialog.h"
#include "projectfiletypes.h"
#include "vexaprojectfilewidget_global.h"

#include <QString>
#include <memory>

namespace norvane {
class IHXRuntime;
}

namespace vexa {
namespace projectfilemgr {

class IProjectFileMgr;

// The package dialog: which media, the folder name and location, size
// against free space, and the packaging progress. Exported for the tests;
// not part of the installed headers.
class VEXAPROJECTFILEWIDGET_EXPORT PackagePage : public vexa::widgets::Dialog
{
    Q_OBJECT
public:
    explicit PackagePage(QWidget* parent = nullptr);
    ~PackagePage() override;

    // False, with nothing attached, when the runtime does not run the connect.
    bool setProjectFileMgr(IProjectFileMgr* mgr);
    void unsetProjectFileMgr();
    void setHXRuntime(norvane::IHXRuntime* runtime);
    void unsetHXRuntime();

    void setMediaSize(const STPackageInfo& info);
    void setDefaultFolderName(const QString& name);
    void switchLanguage(const QString& language);
    // The host reported the end of a package (or of a cancel): back to idle.
    void stopPackage();
    // Called by a beginPackage handler that cannot begin: the dialog goes back
    // to idle and shows the tip of this key (empty: the host is unavailable).
    void refuseStart(const QString& tipKey);

Q_SIGNALS:
    void beginPackage(STPackage packageInfo, QString folderName, QString location);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

} // namespace projectfilemgr
} // namespace vexa
