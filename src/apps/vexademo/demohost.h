#pragma once

// Puts the demo together: the runtime, the project-file manager, the start
// page and the main window, wired in the order the start page expects.

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <vector>

namespace norvane {
class HXRuntime;
}
namespace vexa {
namespace projectfilemgr {
class ProjectFileWidget;
}
} // namespace vexa

namespace vexademo {

class DemoMainWindow;
class DemoProjectMgr;
struct SampleProject;

struct DemoOptions {
    QString language;      // empty: the remembered choice, else from the system locale
    QString shareDir;      // the shared data directory (documents, language files)
    QString samplesFolder; // where first-run samples go; empty: Documents/Vexa Demo Projects
    bool createSamples = true;
    bool checkRestore = true; // resume the project left open by an unexpected exit
    bool quietTips = false;   // the host's own messages go to the status bar only
    // Unsaved work is written at the latest after this long, and once changes
    // have paused for the quiet time.
    int autosaveIntervalMs = 60000;
    int autosaveQuietMs = 3000;
};

class DemoHost : public QObject
{
    Q_OBJECT
public:
    explicit DemoHost(const DemoOptions& options, QObject* parent = nullptr);
    ~DemoHost() override;

    // Embeds the start page and starts it: with the loading page (whose end
    // runs the start-up decision), or at once.
    void start(bool withLoadingPage);
    // Detaches the manager, then the runtime (also done by the destructor).
    void shutdown();

    vexa::projectfilemgr::ProjectFileWidget* page() const;
    DemoMainWindow* window() const;
    DemoProjectMgr* manager() const;
    norvane::HXRuntime* runtime() const;
    QString language() const;
    // False while the first start's sample projects are still being made.
    bool samplesReady() const;

    // The style sheet of the demo's theme.
    static QString themeStyleSheet();

    void showStartPage();
    // From the start page back to the open project, if there is one.
    void backToProject();
    // Asks about a running package and unsaved work first; false when the
    // user kept the application open (Cancel, or the save failed).
    bool requestQuit();
    // The folder of the autosave files.
    QString autosaveFolder() const;

Q_SIGNALS:
    // The user chose to quit and any unsaved work has been dealt with.
    void quitting();

private:
    Q_INVOKABLE void onProjectChanged();
    Q_INVOKABLE void onHostError(const QString& error);
    void onProjectOpened(const QString& name);
    void onPackageFinished(bool ok, const std::string& path);
    void onCheckRemainSpace();
    void onLanguageChanged(const QString& language);
    void onSystemRestore();
    void switchLanguage(const QString& code);
    // Before quitting while a package is made: stop it, or keep the application open.
    bool mayStopPackage();
    // Saves the open project to its own file; true when it was written.
    bool saveWithBusyDialog();
    // Before the open project is closed or replaced: Save, Don't Save or
    // Cancel when it has unsaved changes. True when the caller may go on.
    bool maySetProjectAside();
    void newFromToolbar();
    void addMediaFromDialog();
    void showTip(int kind, const QString& text, const QString& third = QString(), const QString& openPath = QString());
    void rememberSession(bool clean);
    void listSamples(const std::vector<SampleProject>& made);
    void refreshVisibleStartPage();

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace vexademo
