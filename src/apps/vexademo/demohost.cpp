#include "demohost.h"

#include "autosaver.h"
#ifdef VEXADEMO_HAVE_XCB
#include "closewatcher.h"
#endif
#include "demomanager.h"
#include "hosttext.h"
#include "hxcutils.h"
#include "hxruntime.h"
#include "legaldocs.h"
#include "mainwindow.h"
#include "mediadialog.h"
#include "qtcompat.h"
#include "projectfilewidget.h"
#include "recentlist.h"
#include "samplecontent.h"
#include "templatechooser.h"
#include "tipdialog.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QLocale>
#include <QScreen>
#include <QShortcut>
#include <QSettings>
#include <QStandardPaths>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

using vexa::projectfilemgr::ProjectFileWidget;

namespace {

// A failure message with what the system said about it, in the user's language.
QString withReason(const QString& message, int cause)
{
    QString reason;
    switch (cause) {
    case 0:
        return message;
    case ENOSPC:
    case EDQUOT:
        reason = vexademo::ht("ReasonDiskFull");
        break;
    case EACCES:
    case EPERM:
    case EROFS:
        reason = vexademo::ht("ReasonNoPermission");
        break;
    case ENOENT:
    case ENOTDIR:
        reason = vexademo::ht("ReasonMissing");
        break;
    case EINVAL:
        reason = vexademo::ht("ReasonNotFile");
        break;
    default:
        reason = vexademo::ht("ReasonOther").arg(QString::fromLocal8Bit(std::strerror(cause)));
    }
    return message + QLatin1Char('\n') + reason;
}

} // namespace

// The theme lives in a static library: its resources must be pulled in by name.
static void initThemeResources()
{
    Q_INIT_RESOURCE(theme);
}

namespace vexademo {

struct DemoHost::Private {
    DemoOptions options;
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<DemoProjectMgr> manager;
    QString autosaveFolder;
    QString recoverFile; // the autosave the user chose to recover at start
    std::function<QString()> openedStatus; // for the next project opened, instead of "Opened"
    Autosaver* autosaver = nullptr;
    DemoMainWindow* window = nullptr;
#ifdef VEXADEMO_HAVE_XCB
    std::unique_ptr<CloseWatcher> closeWatcher;
#endif
    ProjectFileWidget* page = nullptr;
    QString language;
    QTranslator qtTexts;  // Qt's own texts (file dialogs) in the chosen language
    QTranslator kitTexts; // the widget kit's dialog titles and default buttons
    std::thread samples;
    std::atomic<bool> stopSamples{false};
    bool samplesReady = true;
    std::uint64_t changedId = 0;
    std::uint64_t errorId = 0;
    bool attached = false;
    bool saveFailed = false;
    bool projectSetAside = false; // the host asked already: the page's own question is answered
};

DemoHost::DemoHost(const DemoOptions& options, QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->options = options;
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appData);
    d->runtime = std::make_unique<norvane::HXRuntime>();
    d->autosaveFolder = appData + QStringLiteral("/autosave");
    d->manager = std::make_unique<DemoProjectMgr>(recentListPath(), appData + QStringLiteral("/Image/"), d->autosaveFolder);
    d->autosaver = new Autosaver(d->manager.get(), options.autosaveIntervalMs, options.autosaveQuietMs, this);

    initThemeResources();
    // Tip dialogs and file dialogs have no parent: the theme must reach them too.
    qApp->setStyleSheet(themeStyleSheet());

    // The main window first: the start page looks it up when it is built.
    d->window = new DemoMainWindow;
    d->page = new ProjectFileWidget;
#ifdef VEXADEMO_HAVE_XCB
    // Only a running package is worth a question while a dialog is open.
    d->closeWatcher = CloseWatcher::install(d->window, [this] {
        if (d->manager->isPackaging())
            requestQuit();
    });
#endif

    DemoHost* self = this;
    d->changedId = d->manager->sigProjectChanged.connect(std::function<void()>(
        [self] { QMetaObject::invokeMethod(self, "onProjectChanged", Qt::QueuedConnection); }));
    d->errorId = d->manager->sigHostError.connect(std::function<void(const std::string&)>([self](const std::string& e) {
        QMetaObject::invokeMethod(self, "onHostError", Qt::QueuedConnection, Q_ARG(QString, QString::fromStdString(e)));
    }));

    ProjectFileWidget* page = d->page;
    connect(page, &ProjectFileWidget::modifyProjectName, this, &DemoHost::onProjectOpened);
    connect(page, &ProjectFileWidget::showProjectMgrWidget, this,
            [this] { QTimer::singleShot(0, this, &DemoHost::showStartPage); });
    connect(page, &ProjectFileWidget::packageFinishTip, this, &DemoHost::onPackageFinished);
    connect(page, &ProjectFileWidget::checkRemainSpace, this, &DemoHost::onCheckRemainSpace);
    connect(page, &ProjectFileWidget::quitApp, this, [this] {
        QTimer::singleShot(0, this, [this] {
            // The page hid itself for the quit; a cancelled quit leaves it where it was.
            if (!requestQuit())
                d->page->show();
        });
    });
    // Escape on the start page goes back to the open project.
    auto* back = new QShortcut(QKeySequence(Qt::Key_Escape), page);
    connect(back, &QShortcut::activated, this, &DemoHost::backToProject);
    page->setReplaceGuard([this] { return d->projectSetAside || maySetProjectAside(); });
    connect(page, &ProjectFileWidget::sigLanguageChanged, this, &DemoHost::onLanguageChanged);
    connect(page, &ProjectFileWidget::systemRestore, this, &DemoHost::onSystemRestore);
    connect(page, &ProjectFileWidget::documentNotOpened, this,
            [this] { showTip(vexa::widgets::TipWarning, ht("DocumentNotOpened")); });

    DemoMainWindow* window = d->window;
    connect(window, &DemoMainWindow::newRequested, this, &DemoHost::newFromToolbar);
    connect(window, &DemoMainWindow::openRequested, page, &ProjectFileWidget::openClicked);
    connect(window, &DemoMainWindow::saveRequested, this, [this] { saveWithBusyDialog(); });
    connect(window, &DemoMainWindow::saveAsRequested, page, &ProjectFileWidget::saveAsProject);
    connect(window, &DemoMainWindow::packageRequested, page, &ProjectFileWidget::packageProject);
    connect(window, &DemoMainWindow::addMediaRequested, this, &DemoHost::addMediaFromDialog);
    connect(window, &DemoMainWindow::startPageRequested, this, &DemoHost::showStartPage);
    connect(window, &DemoMainWindow::languageRequested, this, &DemoHost::switchLanguage);
    connect(window, &DemoMainWindow::quitRequested, this, [this] { requestQuit(); });
    connect(window, &DemoMainWindow::mediaUsedToggled, this, [this](int index, bool used) {
        if (d->manager->setMediaUsed(index, used))
            d->window->showStatus([] { return ht("Unsaved"); });
    });
}

DemoHost::~DemoHost()
{
    d->stopSamples = true;
    if (d->samples.joinable())
        d->samples.join();
    shutdown();
    delete d->page;
    delete d->window;
    d->manager.reset();
    d->runtime.reset();
}

QString DemoHost::themeStyleSheet()
{
    QFile file(QStringLiteral(":/vexademo/theme/theme.qss"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

ProjectFileWidget* DemoHost::page() const
{
    return d->page;
}

DemoMainWindow* DemoHost::window() const
{
    return d->window;
}

DemoProjectMgr* DemoHost::manager() const
{
    return d->manager.get();
}

norvane::HXRuntime* DemoHost::runtime() const
{
    return d->runtime.get();
}

QString DemoHost::autosaveFolder() const
{
    return d->autosaveFolder;
}

QString DemoHost::language() const
{
    return d->language;
}

bool DemoHost::samplesReady() const
{
    return d->samplesReady;
}

void DemoHost::start(bool withLoadingPage)
{
    QSettings settings;
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    if (d->options.createSamples && !settings.value(QStringLiteral("samples/created")).toBool()) {
        QString folder = d->options.samplesFolder;
        if (folder.isEmpty()) {
            QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            if (documents.isEmpty())
                documents = QDir::homePath();
            folder = documents + QStringLiteral("/Vexa Demo Projects");
        }
        // Some tens of megabytes of media take seconds to make: the first
        // start must not wait for them. They are listed once made; the recent
        // list itself is only touched on this thread, as the start page does.
        d->samplesReady = false;
        const QString images = appData + QStringLiteral("/Image/");
        std::atomic<bool>* stop = &d->stopSamples;
        d->samples = std::thread([this, folder, images, stop] {
            std::vector<SampleProject> made = makeSampleProjects(folder, images, stop);
            QMetaObject::invokeMethod(
                this, [this, made] { listSamples(made); }, Qt::QueuedConnection);
        });
    }
    if (!d->options.shareDir.isEmpty() && !legalDocumentsPresent(d->options.shareDir))
        writeLegalDocuments(d->options.shareDir); // an installed, read-only share folder already has them

    QString language = d->options.language;
    if (language.isEmpty())
        language = settings.value(QStringLiteral("language")).toString();
    if (language.isEmpty())
        language = QLocale::system().name().startsWith(QLatin1String("zh")) ? QStringLiteral("zh_CN") : QStringLiteral("en");

    ProjectFileWidget* page = d->page;
    page->setHXRuntime(d->runtime.get());
    page->setProjectFileMgr(d->manager.get());
    d->attached = true;
    vexa::projectfilemgr::STPluginConfig config;
    config.autoOpenCurrentProject = false;
    config.autoSavePath = d->autosaveFolder.toStdString();
    page->setConfig(config);
    page->setAutoSavePath(d->autosaveFolder);
    std::vector<QString> files;
    for (const QString& file : languageFiles(d->options.shareDir))
        files.push_back(file);
    page->loadLanguageFiles(files);
    page->switchLanguage(language);
    onLanguageChanged(language);
    page->setProjectstyleSheet(themeStyleSheet());
    page->setVersionText(QStringLiteral("V%1").arg(QCoreApplication::applicationVersion()));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect rect = screen->availableGeometry();
        page->refRect(rect);
    }

    // A project left open by an unexpected exit is resumed through the
    // runtime's restore notification: with its unsaved changes when the user
    // recovers them from its autosave.
    if (d->options.checkRestore)
        d->recoverFile = askAboutAutosaves(d->autosaveFolder);
    // A project named on the command line would otherwise open first.
    if (!d->recoverFile.isEmpty())
        page->setIsSlave(true);
    if (!d->recoverFile.isEmpty() ||
        (d->options.checkRestore && settings.contains(QStringLiteral("session/clean")) &&
         !settings.value(QStringLiteral("session/clean")).toBool() &&
         QFileInfo::exists(settings.value(QStringLiteral("session/project")).toString()))) {
        d->runtime->notify("OnSystemRestore");
        d->runtime->waitIdle();
    }

    if (withLoadingPage)
        page->showLoadingPage();
    else
        page->run();
}

void DemoHost::listSamples(const std::vector<SampleProject>& made)
{
    d->samples.join();
    for (const SampleProject& project : made)
        addRecentProject(recentListPath(), project.path, project.name, project.thumbnail);
    QSettings().setValue(QStringLiteral("samples/created"), true);
    d->samplesReady = true;
    refreshVisibleStartPage();
}

void DemoHost::refreshVisibleStartPage()
{
    if (!d->page->isVisible())
        return; // read afresh whenever it is shown next
    // Not under an open dialog of the page: try again once it has closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(300, this, &DemoHost::refreshVisibleStartPage);
        return;
    }
    d->page->setIsSlave(true);
    d->page->run();
}

void DemoHost::shutdown()
{
    if (!d->attached)
        return;
    d->attached = false;
    d->manager->sigProjectChanged.disconnect(d->changedId);
    d->manager->sigHostError.disconnect(d->errorId);
    d->page->unsetProjectFileMgr();
    d->page->unsetHXRuntime();
}

void DemoHost::onProjectChanged()
{
    const auto project = d->manager->currentProject();
    d->window->showProject(project, QString::fromStdString(d->manager->currentProjectPath()),
                           d->manager->isModified());
    d->autosaver->projectChanged();
}

void DemoHost::onProjectOpened(const QString& name)
{
    onProjectChanged();
    d->page->hide();
    d->window->show();
    d->window->raise();
    d->window->activateWindow();
    // A resumed or recovered project says so rather than "Opened".
    std::function<QString()> status = std::exchange(d->openedStatus, nullptr);
    d->window->showStatus(status ? status : [name] { return ht("Opened").arg(name); });
    rememberSession(false);
}

void DemoHost::showStartPage()
{
    // From now on run() only shows the page (with a fresh recent list); it
    // never reopens the command-line project or the last project again.
    d->page->setIsSlave(true);
    d->page->run();
    d->page->raise();
    d->page->activateWindow();
}

void DemoHost::backToProject()
{
    if (!d->manager->isProjectOpen())
        return;
    d->page->hide();
    d->window->show();
    d->window->raise();
    d->window->activateWindow();
}

bool DemoHost::saveWithBusyDialog()
{
    if (!d->manager->isProjectOpen())
        return false;
    d->saveFailed = false;
    // To the manager's file, not the page's: after Save As they differ.
    vexa::projectfilemgr::STProjectFile record;
    record.strProfilePath = d->manager->currentProjectPath();
    d->manager->writeProject(record, false);
    // Runs until the save answer (or a failure report) closes it.
    d->page->setBlockDialogVisible(false, true);
    return !d->saveFailed;
}

bool DemoHost::maySetProjectAside()
{
    if (!d->manager->isModified())
        return true;
    const QString name = QString::fromStdString(d->manager->currentProjectName());
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(ht("AskSave").arg(name));
    tip.setBtnText(ht("Save"), ht("DontSave"), ht("Cancel"));
    switch (tip.run().buttonCode) {
    case 1:
        // A failed save has been reported; the work must not be dropped after it.
        return saveWithBusyDialog();
    case 2:
        return true;
    default:
        return false;
    }
}

void DemoHost::newFromToolbar()
{
    if (!maySetProjectAside())
        return;
    const int type = chooseTemplate(d->window);
    if (type == 0)
        return;
    // The page creates from its selected template.
    if (auto* templates = d->page->findChild<QListWidget*>(QStringLiteral("TemplateListWidget")))
        templates->setCurrentRow(type - 1);
    d->projectSetAside = true;
    d->page->newClicked();
    d->projectSetAside = false;
}

void DemoHost::addMediaFromDialog()
{
    MediaDialog dialog(QFileInfo(QString::fromStdString(d->manager->currentProjectPath())).absolutePath());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int added = d->manager->addMedia(dialog.selectedFiles());
    if (added > 0)
        d->window->showStatus([added] { return ht("MediaAdded").arg(added); });
}

void DemoHost::onHostError(const QString& error)
{
    d->page->setBlockDialogVisible(true, false);
    const QString kind = error.section(QLatin1Char(':'), 0, 0);
    if (kind == QLatin1String("SaveFailed"))
        d->saveFailed = true;
    const int cause = error.section(QLatin1Char(':'), 1, 1).toInt();
    const QString path = QDir::toNativeSeparators(error.section(QLatin1Char(':'), 2));
    const auto text = [kind, path, cause] { return withReason(ht(kind.toLatin1().constData()).arg(path), cause); };
    showTip(vexa::widgets::TipWarning, text());
    // The tip goes; what went wrong stays in view.
    d->window->showStatus([text] { return text().replace(QLatin1Char('\n'), QLatin1Char(' ')); }, true);
}

void DemoHost::onPackageFinished(bool ok, const std::string& path)
{
    const QString folder = QString::fromStdString(path);
    // After the package dialog has closed.
    QTimer::singleShot(50, this, [this, ok, folder] {
        if (ok)
            showTip(vexa::widgets::TipMessage, ht("PackageDone").arg(QDir::toNativeSeparators(folder)), ht("OpenFolder"),
                    folder);
        else
            showTip(vexa::widgets::TipWarning, withReason(ht("PackageFailed").arg(QDir::toNativeSeparators(folder)),
                                                          d->manager->lastPackageError()));
    });
}

void DemoHost::onCheckRemainSpace()
{
    const QString path = QString::fromStdString(d->manager->currentProjectPath());
    const QString name = QFileInfo(path).fileName();
    std::uint64_t available = 0;
    int error = 0;
    if (!path.isEmpty() && diskFreeSpace(QFileInfo(path).absolutePath().toStdString(), available, error) &&
        available < 1024ull * 1024 * 1024) {
        d->window->showStatus([available] { return ht("LowSpace").arg(humanSize(available)); }, true);
        return;
    }
    d->window->showStatus([name] { return ht("Saved").arg(name); });
    onProjectChanged();
    rememberSession(false); // a Save As changes the file to resume
}

void DemoHost::onLanguageChanged(const QString& language)
{
    d->language = language;
    QCoreApplication::removeTranslator(&d->qtTexts);
    if (d->qtTexts.load(QStringLiteral("qtbase_") + language, vexa::qtcompat::qtTranslationsPath()))
        QCoreApplication::installTranslator(&d->qtTexts);
    QCoreApplication::removeTranslator(&d->kitTexts);
    const QString kitFile = kitLanguageFile(d->options.shareDir, language);
    if (!kitFile.isEmpty() && d->kitTexts.load(kitFile))
        QCoreApplication::installTranslator(&d->kitTexts);
    QSettings().setValue(QStringLiteral("language"), language);
    // The start page is a window of its own: the product's name, as people write it.
    QGuiApplication::setApplicationDisplayName(ht("AppTitle"));
    d->page->setWindowTitle(ht("AppTitle"));
    d->window->setCurrentLanguage(language);
    d->window->retranslate();
}

void DemoHost::switchLanguage(const QString& code)
{
    d->page->switchLanguage(code);
    onLanguageChanged(code);
}

void DemoHost::onSystemRestore()
{
    const QString path = QSettings().value(QStringLiteral("session/project")).toString();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        d->page->setBlockDialogVisible(true, false); // nothing to restore
        QTimer::singleShot(0, this, &DemoHost::showStartPage);
        return;
    }
    // The open answer reaches the start page as for any open, which closes
    // its busy dialog and names the project.
    DemoProjectMgr* manager = d->manager.get();
    if (!d->recoverFile.isEmpty()) {
        const QString file = std::exchange(d->recoverFile, QString());
        d->runtime->postTask([manager, file] { manager->recoverProject(file); }, __FILE__, __LINE__,
                             "DemoHost::onSystemRestore");
        d->openedStatus = [] { return ht("Recovered"); };
        return;
    }
    const std::string file = path.toStdString();
    d->runtime->postTask([manager, file] { manager->loadProject(file, vexa::projectfilemgr::unserializeDefault); },
                         __FILE__, __LINE__, "DemoHost::onSystemRestore");
    const QString name = QFileInfo(path).fileName();
    d->openedStatus = [name] { return ht("Restored").arg(name); };
}

bool DemoHost::mayStopPackage()
{
    if (!d->manager->isPackaging())
        return true;
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(ht("AskStopPackage"));
    tip.setBtnText(ht("StopPackage"), ht("KeepPackaging"), QString());
    if (tip.run().buttonCode != 1)
        return false;
    // As the package dialog stops it: the package takes its files away and answers.
    d->manager->sigStopPackage(true);
    d->manager->waitIdle();
    return true;
}

bool DemoHost::requestQuit()
{
    if (!mayStopPackage() || !maySetProjectAside())
        return false;
    rememberSession(true);
    d->manager->closeProject(); // a clean end leaves no autosave
    d->page->hide();
    d->window->hide();
    Q_EMIT quitting(); // the application decides how to end
    return true;
}

void DemoHost::rememberSession(bool clean)
{
    QSettings settings;
    settings.setValue(QStringLiteral("session/clean"), clean);
    settings.setValue(QStringLiteral("session/project"), QString::fromStdString(d->manager->currentProjectPath()));
}

void DemoHost::showTip(int kind, const QString& text, const QString& third, const QString& openPath)
{
    if (d->options.quietTips) {
        d->window->showStatus(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')), kind != 0);
        return;
    }
    vexa::widgets::TipDialog tip(static_cast<vexa::widgets::EnumTipType>(kind), nullptr);
    tip.setTipText(text);
    tip.setBtnText(ht("OK"), QString(), third);
    if (tip.run().buttonCode == 3 && !openPath.isEmpty() && !QDesktopServices::openUrl(QUrl::fromLocalFile(openPath)))
        showTip(vexa::widgets::TipWarning, ht("NoHandler").arg(QDir::toNativeSeparators(openPath)));
}

} // namespace vexademo
