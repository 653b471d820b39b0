#include "demohost.h"

#include "demomanager.h"
#include "hosttext.h"
#include "hxcutils.h"
#include "hxruntime.h"
#include "legaldocs.h"
#include "mainwindow.h"
#include "qtcompat.h"
#include "projectfilewidget.h"
#include "recentlist.h"
#include "samplecontent.h"
#include "tipdialog.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QUrl>

#include <thread>

using vexa::projectfilemgr::ProjectFileWidget;

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
    DemoMainWindow* window = nullptr;
    ProjectFileWidget* page = nullptr;
    QString language;
    QTranslator qtTexts; // Qt's own texts (file dialogs) in the chosen language
    std::uint64_t changedId = 0;
    std::uint64_t errorId = 0;
    bool attached = false;
};

DemoHost::DemoHost(const DemoOptions& options, QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->options = options;
    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(appData);
    d->runtime = std::make_unique<norvane::HXRuntime>();
    d->manager = std::make_unique<DemoProjectMgr>(recentListPath(), appData + QStringLiteral("/Image/"));

    initThemeResources();
    // Tip dialogs and file dialogs have no parent: the theme must reach them too.
    qApp->setStyleSheet(themeStyleSheet());

    // The main window first: the start page looks it up when it is built.
    d->window = new DemoMainWindow;
    d->page = new ProjectFileWidget;

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
    connect(page, &ProjectFileWidget::quitApp, this, [this] { QTimer::singleShot(0, this, &DemoHost::requestQuit); });
    connect(page, &ProjectFileWidget::sigLanguageChanged, this, &DemoHost::onLanguageChanged);
    connect(page, &ProjectFileWidget::systemRestore, this, &DemoHost::onSystemRestore);

    DemoMainWindow* window = d->window;
    connect(window, &DemoMainWindow::newRequested, page, &ProjectFileWidget::newClicked);
    connect(window, &DemoMainWindow::openRequested, page, &ProjectFileWidget::openClicked);
    connect(window, &DemoMainWindow::saveRequested, this, &DemoHost::saveWithBusyDialog);
    connect(window, &DemoMainWindow::saveAsRequested, page, &ProjectFileWidget::saveAsProject);
    connect(window, &DemoMainWindow::packageRequested, page, &ProjectFileWidget::packageProject);
    connect(window, &DemoMainWindow::addMediaRequested, this, &DemoHost::addMediaFromDialog);
    connect(window, &DemoMainWindow::startPageRequested, this, &DemoHost::showStartPage);
    connect(window, &DemoMainWindow::languageRequested, this, &DemoHost::switchLanguage);
    connect(window, &DemoMainWindow::quitRequested, this, &DemoHost::requestQuit);
    connect(window, &DemoMainWindow::mediaUsedToggled, this,
            [this](int index, bool used) { d->manager->setMediaUsed(index, used); });
}

DemoHost::~DemoHost()
{
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

QString DemoHost::language() const
{
    return d->language;
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
        // Writing some tens of megabytes of media takes a moment: off the GUI thread.
        QEventLoop loop;
        std::thread maker([&loop, folder, appData] {
            createSampleContent(folder, recentListPath(), appData + QStringLiteral("/Image/"));
            QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
        });
        loop.exec();
        maker.join();
        settings.setValue(QStringLiteral("samples/created"), true);
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
    config.autoSavePath = (appData + QStringLiteral("/autosave")).toStdString();
    page->setConfig(config);
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
    // runtime's restore notification.
    if (d->options.checkRestore && settings.contains(QStringLiteral("session/clean")) &&
        !settings.value(QStringLiteral("session/clean")).toBool() &&
        QFileInfo::exists(settings.value(QStringLiteral("session/project")).toString())) {
        d->runtime->notify("OnSystemRestore");
        d->runtime->waitIdle();
    }

    if (withLoadingPage)
        page->showLoadingPage();
    else
        page->run();
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
}

void DemoHost::onProjectOpened(const QString& name)
{
    onProjectChanged();
    d->page->hide();
    d->window->show();
    d->window->raise();
    d->window->activateWindow();
    d->window->showStatus(ht("Opened").arg(name));
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

void DemoHost::saveWithBusyDialog()
{
    if (!d->manager->isProjectOpen())
        return;
    d->page->saveProject();
    // Runs until the save answer (or a failure report) closes it.
    d->page->setBlockDialogVisible(false, true);
}

void DemoHost::addMediaFromDialog()
{
    QFileDialog dialog(nullptr, ht("AddMedia"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDirectory(QFileInfo(QString::fromStdString(d->manager->currentProjectPath())).absolutePath());
    dialog.setNameFilter(ht("MediaFilter") + QStringLiteral(" (*.jpg *.jpeg *.png *.bmp *.gif *.wav *.mp3 *.mp4 *.mov *.avi)"));
    if (dialog.exec() == QDialog::Accepted)
        d->manager->addMedia(dialog.selectedFiles());
}

void DemoHost::onHostError(const QString& error)
{
    d->page->setBlockDialogVisible(true, false);
    const QString kind = error.section(QLatin1Char(':'), 0, 0);
    const QString path = QDir::toNativeSeparators(error.section(QLatin1Char(':'), 1));
    showTip(vexa::widgets::TipWarning, ht(kind.toLatin1().constData()).arg(path));
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
            showTip(vexa::widgets::TipWarning, ht("PackageFailed").arg(QDir::toNativeSeparators(folder)));
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
        d->window->showStatus(ht("LowSpace").arg(humanSize(available)), true);
        return;
    }
    d->window->showStatus(ht("Saved").arg(name));
    onProjectChanged();
}

void DemoHost::onLanguageChanged(const QString& language)
{
    d->language = language;
    QCoreApplication::removeTranslator(&d->qtTexts);
    if (d->qtTexts.load(QStringLiteral("qtbase_") + language, vexa::qtcompat::qtTranslationsPath()))
        QCoreApplication::installTranslator(&d->qtTexts);
    QSettings().setValue(QStringLiteral("language"), language);
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
    const std::string file = path.toStdString();
    d->runtime->postTask([manager, file] { manager->loadProject(file, vexa::projectfilemgr::unserializeDefault); },
                         __FILE__, __LINE__, "DemoHost::onSystemRestore");
    d->window->showStatus(ht("Restored").arg(QFileInfo(path).fileName()));
}

void DemoHost::requestQuit()
{
    if (d->manager->isModified() && !d->options.quietTips) {
        vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
        tip.setTipText(ht("AskSave"));
        tip.setBtnText(ht("Save"), ht("DontSave"), ht("Cancel"));
        const int code = tip.run().buttonCode;
        if (code == 0 || code == 3)
            return;
        if (code == 1)
            saveWithBusyDialog();
    }
    rememberSession(true);
    d->page->hide();
    d->window->hide();
    Q_EMIT quitting(); // the application decides how to end
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
    if (tip.run().buttonCode == 3 && !openPath.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(openPath));
}

} // namespace vexademo
