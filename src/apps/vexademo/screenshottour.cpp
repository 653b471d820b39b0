#include "screenshottour.h"

#include "autosavefile.h"
#include "autosaver.h"
#include "demohost.h"
#include "demomanager.h"
#include "mainwindow.h"
#include "packagemath.h"
#include "projectfilewidget.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>

#include <memory>

namespace vexademo {

QWidget* findTopLevel(const char* className)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->inherits(className))
            return w;
    }
    return nullptr;
}

ScreenshotTour::ScreenshotTour(DemoHost* host, const QString& outputDir, const QString& suffix, QObject* parent)
    : QObject(parent), host_(host), outputDir_(outputDir), suffix_(suffix)
{
}

void ScreenshotTour::begin()
{
    QDir().mkpath(outputDir_);
    // Slow enough to see the progress, quick enough for a tour.
    host_->manager()->setCopyRate(3 * 1024 * 1024);
    QTimer::singleShot(0, this, [this] {
        host_->start(true);
        stepLoading();
    });
}

void ScreenshotTour::after(int ms, std::function<void()> next)
{
    QTimer::singleShot(ms, this, std::move(next));
}

void ScreenshotTour::waitFor(const char* what, std::function<bool()> condition, std::function<void()> next, int timeoutMs)
{
    auto* timer = new QTimer(this);
    auto elapsed = std::make_shared<int>(0);
    const QString label = QLatin1String(what);
    connect(timer, &QTimer::timeout, this, [=] {
        *elapsed += timer->interval();
        if (condition()) {
            timer->stop();
            timer->deleteLater();
            next();
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            fail(QStringLiteral("timed out waiting for %1").arg(label));
        }
    });
    timer->start(50);
}

void ScreenshotTour::press(QWidget* window, std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers held)
{
    for (const Qt::Key key : keys) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        QKeyEvent down(QEvent::KeyPress, key, held);
        QKeyEvent up(QEvent::KeyRelease, key, held);
        QCoreApplication::sendEvent(target, &down);
        QCoreApplication::sendEvent(target, &up);
    }
}

void ScreenshotTour::type(QWidget* window, const QString& text)
{
    for (const QChar c : text) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        // Qt's key codes for Latin letters and digits are their upper-case characters.
        const int key = c.toUpper().unicode();
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &down);
        QCoreApplication::sendEvent(target, &up);
    }
}

void ScreenshotTour::click(QWidget* widget)
{
    const QPoint centre = widget->rect().center();
    QMouseEvent down(QEvent::MouseButtonPress, centre, widget->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent up(QEvent::MouseButtonRelease, centre, widget->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                   Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &down);
    QCoreApplication::sendEvent(widget, &up);
}

void ScreenshotTour::save(QWidget* widget, const QString& name)
{
    if (!widget)
        return;
    const QString path =
        QStringLiteral("%1/%2-%3.png").arg(outputDir_, name, suffix_.isEmpty() ? host_->language() : suffix_);
    if (widget->grab().save(path, "PNG"))
        saved_ << path;
    else
        qWarning() << "could not save" << path;
}

void ScreenshotTour::fail(const QString& why)
{
    qWarning().noquote() << "screenshot tour:" << why;
    failed_ = true;
    // Whatever modal window is left must not keep the application alive.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
            dialog->reject();
    }
    finish();
}

void ScreenshotTour::finish()
{
    // The tour's edit must not be offered for recovery at the next real start.
    host_->manager()->closeProject();
    host_->manager()->waitIdle();
    QTimer::singleShot(0, qApp, [this] { QCoreApplication::exit(failed_ ? 1 : 0); });
}

void ScreenshotTour::stepLoading()
{
    waitFor(
        "the loading page",
        [] {
            QWidget* page = findTopLevel("vexa::projectfilemgr::LoadingPage");
            auto* bar = page ? page->findChild<QProgressBar*>(QStringLiteral("progressBar")) : nullptr;
            return bar && bar->value() >= 45;
        },
        [this] {
            save(findTopLevel("vexa::projectfilemgr::LoadingPage"), QStringLiteral("01-loading"));
            stepStartPage();
        });
}

void ScreenshotTour::stepStartPage()
{
    waitFor(
        // On a first start, with the samples it makes meanwhile.
        "the start page", [this] { return host_->page()->isVisible() && host_->samplesReady(); },
        [this] {
            after(700, [this] {
                save(host_->page(), QStringLiteral("02-start-page"));
                stepStartPageFocus();
            });
        },
        120000);
}

void ScreenshotTour::stepStartPageFocus()
{
    QWidget* page = host_->page();
    page->activateWindow();
    waitFor(
        "the start page to take the keys", [page] { return page->isActiveWindow(); },
        [this, page] {
            // From the language box five Tabs (filter, sort rule, direction, templates) reach
            // the recent projects; Right the second of them.
            if (QWidget* language = page->findChild<QWidget*>(QStringLiteral("languageComboBox")))
                language->setFocus(Qt::OtherFocusReason);
            press(page, {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab});
            // A changed tab order would otherwise give a picture of the wrong part.
            QWidget* focused = page->focusWidget();
            if (!focused || focused->objectName() != QLatin1String("FileListWidget")) {
                fail(QStringLiteral("Tab from the language box did not reach the recent projects"));
                return;
            }
            press(page, {Qt::Key_Right});
            after(400, [this, page] {
                save(page, QStringLiteral("12-focus-start-page"));
                stepPin();
            });
        });
}

namespace {

const QLatin1String kPinnedSample("Lobby Welcome Wall.ptr7");

// The recent list's row of the sample, in the page's order; -1 when it is not listed.
int sampleRow(vexa::projectfilemgr::ProjectFileWidget* page, QListWidget* list, QLatin1String fileName)
{
    for (int i = 0; list && i < list->count(); ++i) {
        if (QString::fromStdString(page->getItemFilePath(i)).endsWith(fileName))
            return i;
    }
    return -1;
}

// Visible pin badges in the list.
int shownPinMarks(QListWidget* list)
{
    int marks = 0;
    for (QWidget* mark : list->findChildren<QWidget*>(QStringLiteral("pinMark")))
        marks += mark->isVisible() ? 1 : 0;
    return marks;
}

} // namespace

void ScreenshotTour::stepPin()
{
    // The oldest sample, last under the newest-first sort, pinned from the keyboard.
    auto* page = host_->page();
    auto* list = page->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
    const int row = sampleRow(page, list, kPinnedSample);
    if (row < 0) {
        fail(QStringLiteral("no sample project to pin in the recent list"));
        return;
    }
    // The keyboard is on the recent list already; the arrows' way to the tile, then Ctrl+P.
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentRow(row);
    press(page, {Qt::Key_P}, Qt::ControlModifier);
    waitFor(
        "the pinned project on top",
        [page, list] {
            return QString::fromStdString(page->getItemFilePath(0)).endsWith(kPinnedSample) && shownPinMarks(list) == 1;
        },
        [this, page] {
            after(400, [this, page] {
                save(page, QStringLiteral("14-pinned"));
                stepFilter();
            });
        });
}

void ScreenshotTour::findInList(QWidget* page, QLineEdit* filter)
{
    // Ctrl+F, as the user would; where sent keys skip the shortcuts, a click's focus and selection.
    press(page, {Qt::Key_F}, Qt::ControlModifier);
    if (page->focusWidget() != filter) {
        filter->setFocus(Qt::MouseFocusReason);
        filter->selectAll();
    }
}

void ScreenshotTour::stepFilter()
{
    auto* page = host_->page();
    auto* list = page->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
    auto* filter = page->findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    if (!filter) {
        fail(QStringLiteral("no filter box on the start page"));
        return;
    }
    const int listed = list->count();
    // The letters are in "Welcome" and "Concert" only: two of the three samples.
    findInList(page, filter);
    type(page, QStringLiteral("co"));
    waitFor(
        "the filtered list", [list, listed] { return list->count() > 0 && list->count() < listed; },
        [this, page, filter] {
            after(400, [this, page, filter] {
                save(page, QStringLiteral("15-filter"));
                // A name no project has, typed over the last one.
                findInList(page, filter);
                type(page, QStringLiteral("atlantis"));
                waitFor(
                    "the line that nothing matches",
                    [page] {
                        auto* line = page->findChild<QWidget*>(QStringLiteral("noMatchText"));
                        return line && line->isVisible();
                    },
                    [this, page, filter] {
                        after(400, [this, page, filter] {
                            save(page, QStringLiteral("16-filter-no-match"));
                            stepUnpin(filter);
                        });
                    });
            });
        });
}

void ScreenshotTour::stepUnpin(QLineEdit* filter)
{
    // The page as the later steps expect it: no filter, nothing pinned.
    // Escape clears the field before the host's own Escape sees it.
    auto* page = host_->page();
    auto* list = page->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
    press(page, {Qt::Key_Escape});
    if (!filter->text().isEmpty()) {
        fail(QStringLiteral("Escape left the filter's text"));
        return;
    }
    waitFor(
        "the whole list again", [page, list] { return sampleRow(page, list, kPinnedSample) >= 0; },
        [this, page, list] {
            list->setFocus(Qt::TabFocusReason);
            list->setCurrentRow(sampleRow(page, list, kPinnedSample));
            press(page, {Qt::Key_P}, Qt::ControlModifier);
            waitFor(
                "the pin taken off", [list] { return shownPinMarks(list) == 0; },
                [this] { after(300, [this] { stepNewProject(); }); });
        });
}

void ScreenshotTour::stepNewProject()
{
    // The two-screen template, as a user would pick it before pressing New.
    if (auto* templates = host_->page()->findChild<QListWidget*>(QStringLiteral("TemplateListWidget")))
        templates->setCurrentRow(1);
    const QString target = work_.filePath(QStringLiteral("Tour Showcase.ptr7"));
    QTimer::singleShot(0, host_->page(), &vexa::projectfilemgr::ProjectFileWidget::newClicked);
    waitFor(
        "the new-project dialog", [] { return findTopLevel("QFileDialog") != nullptr; },
        [this, target] {
            auto* dialog = qobject_cast<QFileDialog*>(findTopLevel("QFileDialog"));
            dialog->setDirectory(work_.path());
            dialog->selectFile(target);
            after(400, [this, dialog, target] {
                // Again, in case the dialog filled in its own proposal after showing.
                dialog->setDirectory(work_.path());
                dialog->selectFile(target);
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(QFileInfo(target).fileName());
                save(dialog, QStringLiteral("03-new-project"));
                static_cast<QDialog*>(dialog)->accept();
                waitFor(
                    "the new project", [this] { return host_->window()->isVisible() && host_->manager()->isProjectOpen(); },
                    [this] { after(300, [this] { stepOpenSample(); }); });
            });
        });
}

void ScreenshotTour::stepOpenSample()
{
    // Back to the start page, and open the two-screen sample from the list.
    host_->showStartPage();
    auto* list = host_->page()->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
    int row = -1;
    for (int i = 0; list && i < list->count(); ++i) {
        if (QString::fromStdString(host_->page()->getItemFilePath(i)).endsWith(QLatin1String("Stadium Twin Screens.ptr7")))
            row = i;
    }
    if (row < 0) {
        fail(QStringLiteral("no sample project in the recent list"));
        return;
    }
    QListWidgetItem* item = list->item(row);
    QTimer::singleShot(0, host_->page(), [this, item] { host_->page()->slotItemDoubleClicked(item); });
    waitFor(
        "the sample project",
        [this] {
            return host_->window()->isVisible() && !host_->page()->isVisible() &&
                   QString::fromStdString(host_->manager()->currentProjectPath()).endsWith(QLatin1String("Stadium Twin Screens.ptr7"));
        },
        [this] {
            after(500, [this] {
                save(host_->window(), QStringLiteral("04-project"));
                stepPackage();
            });
        });
}

void ScreenshotTour::stepPackage()
{
    QTimer::singleShot(0, host_->page(), &vexa::projectfilemgr::ProjectFileWidget::packageProject);
    waitFor(
        "the package dialog", [] { return findTopLevel("vexa::projectfilemgr::PackagePage") != nullptr; },
        [this] {
            QWidget* dialog = findTopLevel("vexa::projectfilemgr::PackagePage");
            auto* location = dialog->findChild<QLineEdit*>(QStringLiteral("packageLocationEdit"));
            auto* start = dialog->findChild<QAbstractButton*>(QStringLiteral("packageButton"));
            if (!location || !start) {
                // A dialog without its controls: show it as it is and move on.
                after(500, [this, dialog] {
                    save(dialog, QStringLiteral("05-package"));
                    static_cast<QDialog*>(dialog)->reject();
                    finish();
                });
                return;
            }
            location->setText(work_.path());
            after(300, [this, dialog, start] {
                save(dialog, QStringLiteral("05-package"));
                stepPackageFocus(dialog, start);
            });
        });
}

void ScreenshotTour::stepPackageFocus(QWidget* dialog, QAbstractButton* start)
{
    dialog->activateWindow();
    waitFor(
        "the package dialog to take the keys", [dialog] { return dialog->isActiveWindow(); },
        [this, dialog, start] {
            // The package button has the focus on opening; Shift+Tab goes back to the folder button.
            press(dialog, {Qt::Key_Backtab});
            after(300, [this, dialog, start] {
                save(dialog, QStringLiteral("13-focus-package"));
                stepPackaging(dialog, start);
            });
        });
}

void ScreenshotTour::stepPackaging(QWidget* dialog, QAbstractButton* start)
{
    // Pressed with the mouse, as in the other pictures: the keyboard's frame goes.
    click(start);
    after(1800, [this, dialog] {
        save(dialog, QStringLiteral("06-packaging"));
        waitFor(
            "the package to finish",
            [this] { return !host_->manager()->isPackaging() && !findTopLevel("vexa::projectfilemgr::PackagePage"); },
            [this] {
                after(300, [this] {
                    save(host_->window(), QStringLiteral("07-packaged"));
                    stepNoSpace();
                });
            },
            60000);
    });
}

namespace {

// A drive with 50 MiB left, so the package dialog says it is too full.
bool nearlyFullDrive(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    bytes = 50ull * 1024 * 1024;
    errorCode = 0;
    return true;
}

} // namespace

void ScreenshotTour::stepNoSpace()
{
    const vexa::projectfilemgr::FreeSpaceQuery previous = vexa::projectfilemgr::setPackageFreeSpaceQuery(&nearlyFullDrive);
    QTimer::singleShot(0, host_->page(), &vexa::projectfilemgr::ProjectFileWidget::packageProject);
    waitFor(
        "the package dialog short of space",
        [] {
            QWidget* dialog = findTopLevel("vexa::projectfilemgr::PackagePage");
            auto* badge = dialog ? dialog->findChild<QWidget*>(QStringLiteral("shareSpaceTips")) : nullptr;
            return badge && badge->isVisible();
        },
        [this, previous] {
            after(400, [this, previous] {
                QWidget* dialog = findTopLevel("vexa::projectfilemgr::PackagePage");
                save(dialog, QStringLiteral("08-no-space"));
                static_cast<QDialog*>(dialog)->reject();
                vexa::projectfilemgr::setPackageFreeSpaceQuery(previous);
                stepUnsavedQuestion();
            });
        });
}

void ScreenshotTour::stepUnsavedQuestion()
{
    // An edit, then Open: the host asks before the project is set aside.
    Q_EMIT host_->window()->mediaUsedToggled(0, false);
    waitFor(
        "the unsaved edit", [this] { return host_->manager()->isModified(); },
        [this] {
            QTimer::singleShot(0, host_->page(), &vexa::projectfilemgr::ProjectFileWidget::openClicked);
            waitFor(
                "the unsaved-changes question", [] { return findTopLevel("vexa::widgets::TipDialog") != nullptr; },
                [this] {
                    after(300, [this] {
                        QWidget* tip = findTopLevel("vexa::widgets::TipDialog");
                        save(tip, QStringLiteral("09-unsaved"));
                        // Cancel: everything stays as it was.
                        if (auto* cancel = tip->findChild<QAbstractButton*>(QStringLiteral("tipThirdButton")))
                            cancel->click();
                        else
                            tip->close();
                        after(300, [this] {
                            save(host_->window(), QStringLiteral("10-unsaved-title"));
                            stepRecoveryQuestion();
                        });
                    });
                });
        });
}

void ScreenshotTour::stepRecoveryQuestion()
{
    // The question a start after a crash asks, about the edit just made.
    const QString autosave =
        autosavePathFor(host_->autosaveFolder(), QString::fromStdString(host_->manager()->currentProjectPath()));
    waitFor(
        "the autosave", [autosave] { return QFileInfo::exists(autosave); },
        [this] {
            QTimer::singleShot(0, this, [this] { askAboutAutosaves(host_->autosaveFolder()); });
            waitFor(
                "the recovery question", [] { return findTopLevel("vexa::widgets::TipDialog") != nullptr; },
                [this] {
                    after(300, [this] {
                        QWidget* tip = findTopLevel("vexa::widgets::TipDialog");
                        save(tip, QStringLiteral("11-recovery"));
                        tip->close(); // neither recovered nor discarded
                        finish();
                    });
                });
        });
}

} // namespace vexademo
