#pragma once

// The demo host's main window: shows the open project (name, screens,
// media) and offers the project actions, which it hands to the start page.

#include "demoproject.h"
#include "framelessmainwindow.h"

#include <functional>
#include <QKeySequence>

#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QMenu;
class QTableWidget;
class QToolButton;

namespace vexademo {

class ScreenView;

class DemoMainWindow : public vexa::widgets::FramelessMainWindow
{
    Q_OBJECT
public:
    explicit DemoMainWindow(QWidget* parent = nullptr);
    ~DemoMainWindow() override;

    // Shows this project (or the empty view when there is none).
    void showProject(const std::optional<DemoProject>& project, const QString& path, bool modified);
    void retranslate();
    void showStatus(const QString& text, bool warning = false);
    // As above, with the text made again in the new language on a switch.
    void showStatus(std::function<QString()> text, bool warning = false);
    // The language the menu marks as current.
    void setCurrentLanguage(const QString& code);

Q_SIGNALS:
    void newRequested();
    void openRequested();
    void saveRequested();
    void saveAsRequested();
    void packageRequested();
    void addMediaRequested();
    void startPageRequested();
    void languageRequested(const QString& code);
    void quitRequested();
    void mediaUsedToggled(int index, bool used);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createTitleBar(QWidget* central);
    QWidget* createActionRow(QWidget* central);
    QWidget* createEmptyPane(QWidget* parent);
    QWidget* createProjectPane(QWidget* parent);
    QToolButton* addAction(const QString& icon);
    // The standard key of an action, shown in its button's tool tip; the
    // fallback where the desktop binds none to it.
    void bindKey(QToolButton* button, QKeySequence::StandardKey key, const QKeySequence& fallback = QKeySequence());
    void updateActions();

    QLabel* title_ = nullptr;
    QToolButton* newButton_ = nullptr;
    QToolButton* openButton_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* saveAsButton_ = nullptr;
    QToolButton* packageButton_ = nullptr;
    QToolButton* addMediaButton_ = nullptr;
    QToolButton* startButton_ = nullptr;
    QToolButton* languageButton_ = nullptr;
    QToolButton* quitButton_ = nullptr;
    QToolButton* minimizeButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QMenu* languageMenu_ = nullptr;
    QWidget* projectPane_ = nullptr;
    QWidget* emptyPane_ = nullptr;
    QLabel* emptyTitle_ = nullptr;
    QLabel* emptyHint_ = nullptr;
    QLabel* projectName_ = nullptr;
    QLabel* projectMeta_ = nullptr;
    QLabel* projectPath_ = nullptr;
    QLabel* modifiedBadge_ = nullptr;
    QLabel* screensTitle_ = nullptr;
    QLabel* mediaTitle_ = nullptr;
    ScreenView* screenView_ = nullptr;
    QTableWidget* mediaTable_ = nullptr;
    QLabel* status_ = nullptr;
    std::function<QString()> statusText_;
    std::optional<DemoProject> project_;
    QString path_;
    bool modified_ = false;
    QString language_;
    bool filling_ = false;
    std::vector<std::pair<QToolButton*, QKeySequence>> keys_;
};

} // namespace vexademo
