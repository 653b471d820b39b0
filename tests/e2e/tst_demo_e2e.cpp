// The demo host end to end, offscreen: its manager doing real work on its own
// threads, the start page driving it, and what the user sees of both.

#include "demohost.h"
#ifdef VEXADEMO_HAVE_XCB
#include "closewatcher.h"
#include <xcb/xcb.h>
#endif
#include "demomanager.h"
#include "hosttext.h"
#include "listfile.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "projectfilewidget.h"
#include "recentlist.h"
#include "testmain.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QtTest>
#include <QtWidgets>

#include <atomic>

using namespace vexademo;
using namespace vexa::projectfilemgr;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

STProjectFileList readList()
{
    STProjectFileList doc;
    readListFile(recentListPath(), doc);
    return doc;
}

QString libraryText(const char* key)
{
    return norvane::trans::translate(TranslateManager::instance().translator(), "ProjectFile", "Widget", QLatin1String(key));
}

bool isPackageDialog(QWidget* w) { return w->inherits("vexa::projectfilemgr::PackagePage"); }

bool roomyDrive = false; // else 50 MiB free: too little for any package

} // namespace

class TestDemoEndToEnd : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<vexatest::ModalDriver> driver;
    std::unique_ptr<DemoHost> host;

    QString tmp(const QString& name) const { return dir->filePath(name); }
    QString current() const { return QString::fromStdString(host->manager()->currentProjectPath()); }
    // What the host told the user last.
    QString statusText() const { return host->window()->statusBar()->findChild<QLabel*>()->text(); }

    void startHost(const QString& language = "en", bool checkRestore = false)
    {
        // No samples; the host's own messages go to the status bar.
        host.reset(new DemoHost({language, VEXADEMO_SHARE_DIR, QString(), false, checkRestore, true}));
        host->start(false);
    }

    // Media of a few hundred kilobytes each, with every byte value, different per folder.
    QStringList makeMedia(int count, const QString& folder = "media")
    {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            QByteArray data(300 * 1024 * (i + 1) + i, Qt::Uninitialized);
            for (int b = 0; b < data.size(); ++b)
                data[b] = static_cast<char>((b * 31 + i * 7 + folder.size()) & 0xff);
            files << tmp(QStringLiteral("%1/clip%2.bin").arg(folder).arg(i));
            writeFile(files.last(), data);
        }
        return files;
    }

    // A project with media, opened as by the user.
    void openProjectWithMedia(const QString& path, const QStringList& media)
    {
        QVERIFY(writeProjectFile(path, projectFromTemplate("Show", TwoScreenTemplate)));
        host->manager()->loadProject(path.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        QCOMPARE(host->manager()->addMedia(media), media.size());
        QTRY_VERIFY(host->window()->isVisible()); // the open's answer has reached the host
    }

private Q_SLOTS:
    void init()
    {
        QSettings().clear();
        dir.reset(new QTemporaryDir);
        QFile::remove(recentListPath());
        // No unsaved work of an earlier run is offered for recovery.
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/autosave").removeRecursively();
        driver.reset(new vexatest::ModalDriver);
    }

    void cleanup()
    {
        setPackageFreeSpaceQuery(nullptr);
        QCOMPARE(driver->pending(), 0);
        host.reset();
    }

    // A list found damaged is started afresh, so projects opened later are
    // listed; a project damaged since is marked, and no longer once it opens again.
    void damagedListAndDamagedProject()
    {
        QVERIFY(writeFile(recentListPath(), "\x89PNG\r\n"));
        driver->answerTip(1);
        startHost();
        QTRY_COMPARE(driver->tipTexts().size(), 1); // copies of earlier runs may be there
        QVERIFY(driver->tipTexts().at(0).startsWith(libraryText("ListFileKeptTip") + "\n" + recentListPath() + ".damaged"));
        const QString path = tmp("Broken.ptr7");
        QVERIFY(writeProjectFile(path, projectFromTemplate("Broken", BlankTemplate)));
        host->manager()->loadProject(path.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        startHost();
        auto* list = host->page()->findChild<QListWidget*>("FileListWidget");
        QCOMPARE(list->count(), 1);

        QVERIFY(writeFile(path, "{\"format\":\"vexademo-project\",\"name\":")); // cut short, as by a crash
        driver->answerTip(1);
        host->page()->slotItemDoubleClicked(list->item(0)); // the file is looked for off the GUI thread
        QTRY_COMPARE(driver->tipTexts().mid(1), QStringList{libraryText("FileDamage")});
        QVERIFY(!host->manager()->isProjectOpen());
        QVERIFY(readList().projects.at(0).isDamageFile);
        QVERIFY(writeProjectFile(path, projectFromTemplate("Broken", BlankTemplate))); // repaired
        host->manager()->loadProject(path.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        QVERIFY(!readList().projects.at(0).isDamageFile);
    }

    // The user's day: new from the second template, Save, Save As, Save again
    // (to the new file), then a crash, and the next start resumes the file
    // saved last. Quit asks about unsaved work and a failed save keeps the
    // application open; after a clean exit the start page shows, where
    // packaging without a project is refused.
    void createSaveSaveAsCrashResumeAndQuit()
    {
        startHost();
        const QString path = tmp("Arena.ptr7"), copy = tmp("media/Arena copy.ptr7"); // beside the media
        host->page()->findChild<QListWidget*>("TemplateListWidget")->setCurrentRow(1);
        driver->acceptFileDialog(path);
        host->page()->newClicked(); // returns once the busy dialog has closed
        QTRY_VERIFY(host->window()->isVisible() && !host->page()->isVisible());
        DemoProject saved;
        QVERIFY(readProjectFile(path, saved));
        QCOMPARE(saved.templateType, 2);
        QCOMPARE(QImage(QString::fromStdString(readList().projects.at(0).strImagePath)).size(), QSize(384, 216));

        // Save: the busy dialog runs until the manager's answer closes it.
        const QStringList media = makeMedia(2);
        QCOMPARE(host->manager()->addMedia(media), 2);
        QSignalSpy space(host->page(), &ProjectFileWidget::checkRemainSpace);
        Q_EMIT host->window()->saveRequested();
        QCOMPARE(space.count(), 1);
        QVERIFY(!host->manager()->isModified());

        // Save As: the new file becomes the open project, and the next Save goes there.
        QVERIFY(host->manager()->setMediaUsed(0, false));
        driver->acceptFileDialog(copy);
        Q_EMIT host->window()->saveAsRequested();
        QTRY_COMPARE(space.count(), 2);
        QTRY_COMPARE(host->window()->findChild<QLabel*>("projectName")->text(), QStringLiteral("Arena copy"));
        QVERIFY(host->manager()->setMediaUsed(1, false));
        Q_EMIT host->window()->saveRequested();
        QVERIFY(readProjectFile(path, saved)); // as the first Save left it
        QVERIFY(saved.media.size() == 2 && saved.media[0].used && saved.media[1].size == quint64(QFileInfo(media[1]).size()));
        QVERIFY(readProjectFile(copy, saved));
        QCOMPARE(saved.name, QStringLiteral("Arena copy"));
        QVERIFY(!saved.media[0].used && !saved.media[1].used);
        QCOMPARE(readList().projects.size(), std::size_t(2)); // each file once, the latest first
        QCOMPARE(QString::fromStdString(readList().projects[0].strProfilePath), copy);

        startHost("en", true); // after a crash: runs the busy dialog until the resumed project is open
        QTRY_VERIFY(host->window()->isVisible() && !host->page()->isVisible());
        QCOMPARE(current(), copy);
        QCOMPARE(host->manager()->addMedia(makeMedia(1)), 1);
        QVERIFY(QDir(tmp("media")).removeRecursively());
        QSignalSpy quitting(host.get(), &DemoHost::quitting);
        driver->answerTip(1); // Save
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be saved"));
        QVERIFY(!host->requestQuit());
        QVERIFY2(statusText().endsWith(ht("ReasonMissing")), qPrintable(statusText()));
        QVERIFY(host->manager()->isModified());
        QVERIFY(writeFile(copy, projectToJson(saved))); // back, so that only a clean exit stops a resume
        driver->answerTip(2); // Don't Save
        QVERIFY(host->requestQuit());
        QCOMPARE(quitting.count(), 1);
        startHost("en", true);
        QTRY_VERIFY(host->page()->isVisible());
        QVERIFY(!host->manager()->isProjectOpen());
        driver->answerTip(1);
        host->page()->packageProject();
        QTRY_COMPARE(driver->tipTexts().value(2), libraryText("ProhibitPackage"));
    }

    // Every way of putting another project in place of one with unsaved
    // changes asks first: Save writes it, Don't Save drops it, Cancel keeps
    // everything as it was, the start page included.
    void replacingAModifiedProjectAsksFirst_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("answer"); // 1 Save, 2 Don't Save, 3 Cancel
        for (const char* way : {"recent", "new"})
            for (int answer = 1; answer <= 3; ++answer)
                QTest::addRow("%s, %s", way, answer == 1 ? "save" : answer == 2 ? "don't save" : "cancel") << QString(way) << answer;
    }

    void replacingAModifiedProjectAsksFirst()
    {
        QFETCH(QString, way);
        QFETCH(int, answer);
        const QString other = tmp("Other.ptr7"), show = tmp("Show.ptr7");
        QVERIFY(writeProjectFile(other, projectFromTemplate("Other", BlankTemplate)));
        QVERIFY(addRecentProject(recentListPath(), other, "Other", QString()));
        startHost();
        openProjectWithMedia(show, makeMedia(1));
        const QString target = way == "new" ? tmp("Fresh.ptr7") : other;
        driver->answerTip(answer);
        if (way == "recent") {
            host->showStartPage();
            const int row = host->page()->getItemFilePath(0) == other.toStdString() ? 0 : 1;
            host->page()->slotItemDoubleClicked(host->page()->findChild<QListWidget*>("FileListWidget")->item(row));
        } else {
            if (answer != 3) {
                driver->onNext("template chooser", [](QWidget* w) { return w->objectName() == "templateChooser"; },
                               [](QWidget* chooser) {
                                   chooser->findChild<QListWidget*>("templateChoices")->setCurrentRow(2);
                                   static_cast<QDialog*>(chooser)->accept();
                               });
                driver->acceptFileDialog(target);
            }
            Q_EMIT host->window()->newRequested();
        }
        QCOMPARE(driver->tipTexts(), QStringList{ht("AskSave").arg("Show")});
        DemoProject onDisk;
        QVERIFY(readProjectFile(show, onDisk));
        QCOMPARE(onDisk.media.size(), answer == 1 ? 1 : 0);
        if (answer == 3) {
            QCOMPARE(current(), show);
            QVERIFY(host->manager()->isModified());
            QCOMPARE(host->page()->isVisible(), way == "recent");
            return;
        }
        QTRY_COMPARE(current(), target);
        QVERIFY(!host->manager()->isModified());
        // From the toolbar the template chosen counts, whatever the page had selected.
        QVERIFY(way != "new" || (readProjectFile(target, onDisk) && onDisk.templateType == 3));
    }

    // Packaging through the dialog: every chosen byte arrives (two media of one
    // file name included); a cancel half-way or a failure leaves only what the
    // user had there, and a cancelling dialog stays until the host has answered.
    void packageThroughTheDialog_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"all media", "used media", "cancel", "media gone"})
            QTest::newRow(how) << QString(how);
    }

    void packageThroughTheDialog()
    {
        QFETCH(QString, how);
        startHost();
        const QStringList media = makeMedia(3) + makeMedia(1, "other");
        openProjectWithMedia(tmp("Show.ptr7"), media);
        DemoProjectMgr* mgr = host->manager();
        mgr->setMediaUsed(2, false);
        const QString out = tmp("out"), root = out + "/Pack";
        QVERIFY(writeFile(out + "/keep.txt", "mine")); // the user's own file beside the package
        QVERIFY(how != "media gone" || QFile::remove(media[1]));
        std::atomic<quint64> progress{0};
        std::atomic<int> reports{0}, finished{0}, able{0};
        mgr->sigPackageProgress.connect(std::function<void(std::uint64_t)>([&](std::uint64_t n) { progress += n, ++reports; }));
        mgr->sigPackageFinished.connect(std::function<void(bool, const std::string&)>([&](bool, const std::string&) { ++finished; }));
        mgr->sigPackageAble.connect(std::function<void()>([&] { ++able; }));
        std::atomic<bool> hold{how == "cancel"}, held{false};
        const auto done = qScopeGuard([this] { host.reset(); }); // before what its threads report to
        mgr->setCopyRate(4 * 1024 * 1024); // several progress reports
        mgr->setChunkHook([&](quint64 done, quint64 total) { for (; hold && done >= total / 2; QThread::msleep(5)) held = true; });
        driver->onNext("package dialog", isPackageDialog, [&](QWidget* dialog) {
            const auto release = qScopeGuard([&hold] { hold = false; });
            dialog->findChild<QLineEdit*>("packageLocationEdit")->setText(out);
            dialog->findChild<QLineEdit*>("packageNameEdit")->setText("Pack");
            dialog->findChild<QRadioButton*>(how == "used media" ? "packageUsedMedias" : "packageAllMedias")->click();
            auto* button = dialog->findChild<QAbstractButton*>("packageButton");
            button->click();
            if (how != "cancel")
                return;
            QTRY_VERIFY(held);
            driver->answerTip(1); // "stop packaging and close?" - yes
            dialog->close();
            QTRY_COMPARE(button->text(), libraryText("Canceling"));
            QVERIFY(dialog->isVisible()); // until the host has answered
        });
        host->page()->packageProject();
        // Every end is answered with package-able: a cancel at once, a finish
        // when the closing dialog asks to stop what has already ended.
        QTRY_VERIFY_WITH_TIMEOUT(able == 1 && !QApplication::activeModalWidget(), 20000);
        mgr->waitIdle();
        QCOMPARE(finished.load(), how == "cancel" ? 0 : 1);
        const QString told = how == "cancel" ? ht("Opened").arg("Show.ptr7") // nothing new
                             : how == "media gone" ? ht("PackageFailed").arg(root) + '\n' + ht("ReasonMissing") : ht("PackageDone").arg(root);
        QTRY_COMPARE(statusText(), QString(told).replace('\n', ' '));
        if (how == "cancel" || how == "media gone") {
            QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"keep.txt"});
            return;
        }
        QCOMPARE(progress.load(), mgr->projectMediaSize(how == "all media"));
        QVERIFY(reports > 1);
        const QStringList chosen = how == "used media" ? QStringList{media[0], media[1], media[3]} : media;
        DemoProject packaged;
        QVERIFY(readProjectFile(root + "/project.ptr7", packaged));
        QCOMPARE(packaged.media.size(), chosen.size());
        for (int i = 0; i < chosen.size(); ++i) {
            const QString copy = resolveMediaPath(root + "/project.ptr7", packaged.media[i]);
            QVERIFY2(copy.startsWith(root + "/resPath/") && readAll(copy) == readAll(chosen[i]), qPrintable(copy));
        }
        QVERIFY(!QImage(root + "/imagePath/project.png").isNull());
    }

    // The title carries the unsaved marker and the status bar follows what
    // happened: media added, a save that failed, a save that worked.
    void theWindowSaysWhatIsUnsaved()
    {
        host.reset(new DemoHost({"en", VEXADEMO_SHARE_DIR, QString(), false, false, false}));
        host->start(false);
        const QString path = tmp("work/Show.ptr7");
        QVERIFY(QDir().mkpath(tmp("work")));
        openProjectWithMedia(path, {});
        const auto title = [this] { return host->window()->findChild<QLabel*>("hostTitle")->text(); };
        QVERIFY(!host->window()->isWindowModified() && !title().contains('*'));
        driver->acceptFileDialog(makeMedia(1).first());
        Q_EMIT host->window()->addMediaRequested();
        QTRY_VERIFY(host->window()->isWindowModified());
        QCOMPARE(host->window()->windowTitle(), QStringLiteral("Show[*] \u2014 ") + ht("AppTitle"));
        QCOMPARE(title(), QStringLiteral("Show* \u2014 ") + ht("AppTitle"));
        QCOMPARE(statusText(), ht("MediaAdded").arg(1));
        QVERIFY(QDir(tmp("work")).removeRecursively());
        driver->answerTip(1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be saved"));
        Q_EMIT host->window()->saveRequested();
        QVERIFY2(statusText().startsWith(ht("SaveFailed").section('\n', 0, 0)), qPrintable(statusText()));
        QVERIFY(QDir().mkpath(tmp("work")));
        Q_EMIT host->window()->saveRequested();
        QTRY_VERIFY(!host->window()->isWindowModified() && !title().contains('*'));
        QCOMPARE(statusText(), ht("Saved").arg("Show.ptr7"));
    }

    // In both languages: the start page's title is the product's name, and
    // Add Media's dialog has the start page's labels and filter form, with
    // nothing cut off at its first size; Save As has a key on every desktop.
    void titlesLabelsAndKeys_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Chinese") << "zh_CN";
    }

    void titlesLabelsAndKeys()
    {
        QFETCH(QString, language);
        startHost(language);
        QCOMPARE(host->page()->windowTitle(), QStringLiteral("Vexa LED Studio"));
        openProjectWithMedia(tmp("Show.ptr7"), {});
        const QKeySequence saveAs = QKeySequence::keyBindings(QKeySequence::SaveAs).value(0, QKeySequence("Ctrl+Shift+S"));
        bool shown = false;
        for (auto* button : host->window()->findChildren<QToolButton*>())
            shown |= button->text() == ht("SaveAs") && button->toolTip().contains(saveAs.toString(QKeySequence::NativeText));
        QVERIFY(shown);
        QList<QKeySequence> keys;
        for (QAction* action : host->window()->actions())
            keys << action->shortcuts();
        QVERIFY(keys.contains(saveAs));
        QVERIFY(keys.contains(QKeySequence("Ctrl+Shift+P"))); // a package from the keyboard
        driver->onNext<QFileDialog>("add media", [](QFileDialog* dialog) {
            const auto reject = qScopeGuard([dialog] { dialog->reject(); });
            QCOMPARE(dialog->labelText(QFileDialog::FileName), libraryText("Name"));
            QCOMPARE(dialog->labelText(QFileDialog::FileType), libraryText("FileType"));
            QCOMPARE(dialog->labelText(QFileDialog::Accept), libraryText("OK"));
            QCOMPARE(dialog->labelText(QFileDialog::Reject), libraryText("Cancel"));
            QCOMPARE(dialog->nameFilters().value(0).section('(', 0, 0), ht("MediaFilter"));
            QVERIFY(!dialog->nameFilters().value(0).contains(" ("));
            auto* sidebar = dialog->findChild<QListView*>("sidebar");
            QHeaderView* header = dialog->findChild<QTreeView*>("treeView")->header();
            const auto fits = [sidebar, header] { // once the dialog has settled
                bool all = sidebar->viewport()->width() >= static_cast<QAbstractItemView*>(sidebar)->sizeHintForColumn(0);
                for (int column = 0; column < header->count(); ++column)
                    all = all && header->sectionSize(column) >= header->sectionSizeHint(column) &&
                          header->sectionViewportPosition(column) + header->sectionSize(column) <= header->viewport()->width();
                return all;
            };
            QTRY_VERIFY(fits());
        });
        Q_EMIT host->window()->addMediaRequested();
    }

    // Closing the window while a package is made asks first: keep packaging
    // and nothing changes; stop and the package's files go before the quit.
    void closingWhilePackagingAsks()
    {
        startHost();
        openProjectWithMedia(tmp("Show.ptr7"), makeMedia(3));
        DemoProjectMgr* mgr = host->manager();
        const QString out = tmp("out");
        QVERIFY(QDir().mkpath(out));
        std::atomic<bool> hold{true}, held{false};
        mgr->setCopyRate(4 * 1024 * 1024);
        mgr->setChunkHook([&](quint64 done, quint64 total) { for (; hold && done >= total / 2; QThread::msleep(5)) held = true; });
        const auto release = qScopeGuard([&hold] { hold = false; });
        QSignalSpy quitting(host.get(), &DemoHost::quitting);
        driver->onNext("package dialog", isPackageDialog, [&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>("packageLocationEdit")->setText(out);
            dialog->findChild<QAbstractButton*>("packageButton")->click();
            QTRY_VERIFY(held);
            driver->answerTip(2); // keep packaging
            host->window()->close();
            QVERIFY(mgr->isPackaging() && quitting.isEmpty());
            driver->onNext<vexa::widgets::TipDialog>("stop", [&](vexa::widgets::TipDialog* tip) {
                hold = false;
                tip->findChild<QAbstractButton*>("tipConfirmButton")->click();
            });
            driver->answerTip(2); // the media added: Don't Save
            host->window()->close();
            QCOMPARE(quitting.count(), 1);
            QTRY_COMPARE(dialog->findChild<QAbstractButton*>("packageButton")->isEnabled(), true);
            static_cast<QDialog*>(dialog)->reject();
        });
        host->page()->packageProject();
        QTRY_VERIFY_WITH_TIMEOUT(driver->pending() == 0 && !QApplication::activeModalWidget(), 20000);
        QCOMPARE(driver->tipTexts(), (QStringList{ht("AskStopPackage"), ht("AskSave").arg("Show")}));
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

#ifdef VEXADEMO_HAVE_XCB
    // The window manager's close of a window under a modal dialog reaches
    // the host instead of being dropped; unblocked, Qt delivers it itself.
    void aCloseUnderAModalDialogReachesTheHost()
    {
        QWidget window;
        window.show();
        int calls = 0;
        CloseWatcher watcher(&window, [&calls] { ++calls; }, 11, 22);
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = static_cast<xcb_window_t>(window.winId());
        close.type = 11;
        close.data.data32[0] = 22;
        xcb_client_message_event_t other = close;
        other.data.data32[0] = 23; // another protocol, such as WM_TAKE_FOCUS
        QVERIFY(!watcher.nativeEventFilter("xcb_generic_event_t", &close, nullptr));
        QList<bool> consumed;
        driver->onNext<QDialog>("modal dialog", [&](QDialog* dialog) {
            consumed << watcher.nativeEventFilter("xcb_generic_event_t", &close, nullptr)
                     << watcher.nativeEventFilter("xcb_generic_event_t", &other, nullptr);
            QTRY_COMPARE(calls, 1);
            dialog->reject();
        });
        QDialog().exec();
        QCOMPARE(consumed, (QList<bool>{true, false}));
        QCOMPARE(calls, 1);
    }
#endif

    // A switch from the window or from the page reaches what the user reads
    // (the widget kit's dialogs, the status bar, the empty list's line) and is
    // remembered for the next run. In both languages the package dialog's
    // "not enough space" badge shows its whole text, and the boxes keep their
    // width from opening to opening and when the badge goes.
    void languageSwitchReachesEveryTextAndIsRemembered()
    {
        startHost("zh_CN");
        openProjectWithMedia(tmp("Show.ptr7"), makeMedia(1));
        setPackageFreeSpaceQuery([](const std::string&, std::uint64_t& bytes, int& error) {
            bytes = roomyDrive ? 50ull << 30 : 50ull << 20, error = 0;
            return true;
        });
        QList<int> widths;
        const auto openPackageDialog = [&] {
            driver->onNext("package dialog", isPackageDialog, [&](QWidget* dialog) {
                const auto reject = qScopeGuard([dialog] { static_cast<QDialog*>(dialog)->reject(); });
                auto* badge = dialog->findChild<QPushButton*>("shareSpaceTips");
                auto* location = dialog->findChild<QLineEdit*>("packageLocationEdit");
                QVERIFY(badge->isVisible() && badge->width() >= badge->sizeHint().width()); // its text and padding
                QVERIFY(dialog->rect().contains(QRect(badge->mapTo(dialog, QPoint()), badge->size())));
                const int tall = dialog->height();
                widths << location->width();
                roomyDrive = true;
                dialog->findChild<QAbstractButton*>("packageAllMedias")->click(); // the space is measured again
                QTRY_VERIFY(dialog->height() < tall); // laid out again without the badge
                widths << location->width();
            });
            roomyDrive = false;
            host->page()->packageProject();
            QTRY_COMPARE(driver->pending(), 0);
        };
        const auto texts = [this] {
            QStringList all{statusText(), host->page()->findChild<QLabel*>("emptyFileText")->text()};
            for (auto kind : {vexa::widgets::TipMessage, vexa::widgets::TipQuestion, vexa::widgets::TipWarning})
                all << vexa::widgets::TipDialog(kind).title();
            return all << vexa::widgets::TipDialog(vexa::widgets::TipMessage).findChild<QPushButton*>("tipConfirmButton")->text();
        };
        const QStringList chinese = texts();
        const QStringList english{"Opened Show.ptr7", "No recent projects", "Message", "Question", "Warning", "OK"};
        for (int i = 0; i < english.size(); ++i)
            QVERIFY2(!chinese[i].isEmpty() && chinese[i] != english[i], qPrintable(chinese[i]));
        openPackageDialog();
        Q_EMIT host->window()->languageRequested("en");
        QCOMPARE(texts(), english);
        openPackageDialog();
        QCOMPARE(widths.count(widths.value(0)), 4); // one width in both languages, with and without the badge
        auto* combo = host->page()->findChild<QComboBox*>("languageComboBox");
        combo->setCurrentIndex(combo->findData("zh_CN"));
        QCOMPARE(texts(), chinese);
        startHost(QString()); // the remembered language
        QCOMPARE(host->page()->findChild<QComboBox*>("languageComboBox")->currentData().toString(), QStringLiteral("zh_CN"));
    }
};

VEXA_TEST_MAIN(TestDemoEndToEnd)
#include "tst_demo_e2e.moc"
