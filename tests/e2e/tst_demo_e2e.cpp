// The demo host end to end, offscreen: its project format, its manager doing
// real work on its own threads, and the start page driving it.

#include "demohost.h"
#include "demomanager.h"
#include "demoproject.h"
#include "hosttext.h"
#include "hxcutils.h"
#include "mainwindow.h"
#include "modaldriver.h"
#include "packagemath.h"
#include "projectfilelist.h"
#include "projectfilewidget.h"
#include "recentlist.h"
#include "samplecontent.h"
#include "testmain.h"
#include "tipdialog.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QPushButton>
#include <QSettings>
#include <QStyleOptionButton>
#include <QStatusBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cerrno>
#include <memory>
#include <mutex>
#include <optional>

Q_DECLARE_METATYPE(std::string)

using namespace vexademo;
using namespace vexa::projectfilemgr;
using vexatest::ModalDriver;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

STProjectFileList readList()
{
    STProjectFileList doc;
    try {
        ajson::loadFromFile(doc, recentListPath().toStdString().c_str());
    } catch (const std::exception&) {
    }
    return doc;
}

std::optional<STProjectFile> findEntry(const STProjectFileList& doc, const QString& path)
{
    for (const STProjectFile& f : doc.projects) {
        if (f.strProfilePath == path.toStdString())
            return f;
    }
    return std::nullopt;
}

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// What a package run reported through the manager's signals.
struct PackageRecorder {
    std::mutex mutex;
    quint64 progress = 0;
    int reports = 0;
    int finished = 0;
    bool success = false;
    std::string path;
    int able = 0;
    std::vector<std::uint64_t> ids;

    void attach(DemoProjectMgr& mgr)
    {
        mgr.sigPackageProgress.connect(std::function<void(std::uint64_t)>([this](std::uint64_t n) {
            std::lock_guard<std::mutex> lock(mutex);
            progress += n;
            ++reports;
        }));
        mgr.sigPackageFinished.connect(std::function<void(bool, const std::string&)>([this](bool ok, const std::string& p) {
            std::lock_guard<std::mutex> lock(mutex);
            ++finished;
            success = ok;
            path = p;
        }));
        mgr.sigPackageAble.connect(std::function<void()>([this] {
            std::lock_guard<std::mutex> lock(mutex);
            ++able;
        }));
    }
    int finishedCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return finished;
    }
    int ableCount()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return able;
    }
};

// The package record as the start page builds it: folders made, paths filled.
STProjectFile packageRecord(const QString& location, const QString& name, bool allMedias)
{
    const QString root = location + QLatin1Char('/') + name;
    QDir().mkpath(root + QStringLiteral("/optimizatedPath"));
    QDir().mkpath(root + QStringLiteral("/resPath"));
    QDir().mkpath(root + QStringLiteral("/imagePath"));
    STProjectFile record;
    record.isPackage = true;
    record.strProfilePath = (root + QStringLiteral("/project.ptr7")).toStdString();
    record.strImagePath = (root + QStringLiteral("/imagePath/")).toStdString();
    record.packageData.packagePath = root.toStdString();
    record.packageData.optimizatedPath = (root + QStringLiteral("/optimizatedPath")).toStdString();
    record.packageData.resPath = (root + QStringLiteral("/resPath")).toStdString();
    record.packageData.imagePath = record.strImagePath;
    record.packageData.allMedias = allMedias;
    return record;
}

// A drive with 50 MiB free: too little for any package.
bool nearlyFullDrive(const std::string&, std::uint64_t& bytes, int& errorCode)
{
    bytes = 50ull * 1024 * 1024;
    errorCode = 0;
    return true;
}

QString libraryText(const char* key)
{
    return norvane::trans::translate(TranslateManager::instance().translator(), QStringLiteral("ProjectFile"),
                                     QStringLiteral("Widget"), QLatin1String(key));
}

} // namespace

class TestDemoEndToEnd : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<DemoHost> host;

    DemoOptions options() const
    {
        DemoOptions o;
        o.language = QStringLiteral("en");
        o.shareDir = dir->filePath(QStringLiteral("share"));
        o.createSamples = false;
        o.checkRestore = false;
        o.quietTips = true;
        return o;
    }

    void startHost()
    {
        host.reset(new DemoHost(options()));
        host->start(false);
        QTRY_VERIFY(host->page()->isVisible());
    }

    // Media of a few hundred kilobytes to a few megabytes, with every byte value.
    QStringList makeMedia(int count)
    {
        QStringList files;
        QDir().mkpath(dir->filePath(QStringLiteral("media")));
        for (int i = 0; i < count; ++i) {
            const QString path = dir->filePath(QStringLiteral("media/clip%1.bin").arg(i));
            QByteArray data(300 * 1024 * (i + 1) + i, Qt::Uninitialized);
            for (int b = 0; b < data.size(); ++b)
                data[b] = static_cast<char>((b * 31 + i * 7) & 0xff);
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
                return {};
            files << path;
        }
        return files;
    }

    // Picks a template in the next template chooser the host shows.
    void chooseTemplate(int type)
    {
        driver->onNext(
            "template chooser", [](QWidget* w) { return w->objectName() == QLatin1String("templateChooser"); },
            [type](QWidget* dialog) {
                auto* list = dialog->findChild<QListWidget*>(QStringLiteral("templateChoices"));
                list->setCurrentRow(type - 1);
                static_cast<QDialog*>(dialog)->accept();
            });
    }

    // What the host told the user last (tips go to the status bar in the tests).
    QString statusText() const
    {
        const QList<QLabel*> labels = host->window()->statusBar()->findChildren<QLabel*>();
        return labels.isEmpty() ? QString() : labels.first()->text();
    }

    // A project with media, open in the manager as after a successful open.
    void openProjectWithMedia(const QString& path, const QStringList& media)
    {
        DemoProject project = projectFromTemplate(QStringLiteral("Show"), TwoScreenTemplate);
        QVERIFY(writeProjectFile(path, project));
        host->manager()->loadProject(path.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        QVERIFY(host->manager()->isProjectOpen());
        QCOMPARE(host->manager()->addMedia(media), media.size());
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<std::string>("std::string");
        QSettings().clear();
    }

    void init()
    {
        dir.reset(new QTemporaryDir);
        QVERIFY(dir->isValid());
        QFile::remove(recentListPath());
        QFile::remove(recentListPath() + QStringLiteral(".damaged"));
        driver.reset(new ModalDriver);
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        host.reset();
        driver.reset();
    }

    void projectFormatKeepsEverythingAndRefusesDamage()
    {
        for (int type : {1, 2, 3}) {
            const DemoProject project = projectFromTemplate(QStringLiteral("T"), type);
            QCOMPARE(project.screens.size(), type);
            QCOMPARE(project.templateType, type);
        }
        QCOMPARE(projectFromTemplate(QStringLiteral("T"), 9).screens.size(), 1);

        DemoProject project = projectFromTemplate(QStringLiteral("Stage \u821e\u53f0 \"A\""), ThreeScreenTemplate);
        project.media.push_back({QStringLiteral("big"), QStringLiteral("media/big.mov"), 9007199254740993ull, false});
        project.media.push_back({QStringLiteral("logo"), QStringLiteral("/abs/logo.png"), 12, true});
        DemoProject back;
        QVERIFY(projectFromJson(projectToJson(project), back));
        QCOMPARE(back.name, project.name);
        QCOMPARE(back.screens, project.screens);
        QCOMPARE(back.media, project.media); // sizes above 2^53 survive
        QCOMPARE(back.modified.toMSecsSinceEpoch(), project.modified.toMSecsSinceEpoch());

        const QByteArray good = projectToJson(project);
        const QList<QByteArray> damaged = {
            QByteArray(),
            good.left(good.size() / 2),
            QByteArray("[]"),
            QByteArray(good).replace("vexademo-project", "other-format"),
            QByteArray(good).replace("\"screens\"", "\"screenz\""),
            QByteArray(good).replace("\"9007199254740993\"", "\"lots\""),
            QByteArray(good).replace("\"width\": 1920", "\"width\": 0"),
        };
        for (const QByteArray& data : damaged) {
            DemoProject out;
            QString error;
            QVERIFY2(!projectFromJson(data, out, &error), data.left(40).constData());
            QVERIFY(!error.isEmpty());
        }
    }

    void recentListAddsAtTheFrontRefreshesAndStartsADamagedFileAfresh()
    {
        const QString list = recentListPath();
        QVERIFY(addRecentProject(list, QStringLiteral("/p/a.ptr7"), QStringLiteral("a"), QStringLiteral("/i/a.png")));
        QVERIFY(addRecentProject(list, QStringLiteral("/p/b.ptr7"), QStringLiteral("b"), QString()));
        STProjectFileList doc = readList();
        QCOMPARE(doc.projects.size(), std::size_t(2));
        QCOMPARE(doc.projects[0].strProfilePath, std::string("/p/b.ptr7"));

        // An entry the start page marked damaged opens again: refreshed, moved up, no longer damaged.
        doc.projects[1].isDamageFile = true;
        doc.projects.push_back(doc.projects[1]); // and a duplicate collapses
        QVERIFY(NoCacheFile::saveToFile(list.toStdString(), ajson::toJson(doc)));
        QVERIFY(addRecentProject(list, QStringLiteral("/p/a.ptr7"), QStringLiteral("a2"), QString()));
        doc = readList();
        QCOMPARE(doc.projects.size(), std::size_t(2));
        QCOMPARE(doc.projects[0].strProfilePath, std::string("/p/a.ptr7"));
        QCOMPARE(doc.projects[0].strProfileName, std::string("a2"));
        QCOMPARE(doc.projects[0].strImagePath, std::string("/i/a.png"));
        QVERIFY(!doc.projects[0].isDamageFile);

        // A damaged list is kept aside; the entry read before the damage and the new one remain.
        const QByteArray damaged = "{\"projects\":[{\"strProfilePath\":\"/p/a.ptr7\"},{\"strProfilePath\":";
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(damaged);
        file.close();
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^load_from_file error: ")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(" kept as ")));
        QVERIFY(addRecentProject(list, QStringLiteral("/p/c.ptr7"), QStringLiteral("c"), QString()));
        QCOMPARE(readAll(list + QStringLiteral(".damaged")), damaged);
        doc = readList();
        QCOMPARE(doc.projects.size(), std::size_t(2));
        QCOMPARE(doc.projects[0].strProfilePath, std::string("/p/c.ptr7"));
        QCOMPARE(doc.projects[1].strProfilePath, std::string("/p/a.ptr7"));
    }

    void projectOpenedAfterThePageFoundTheListDamagedIsListedAgain()
    {
        QVERIFY(QDir().mkpath(QFileInfo(recentListPath()).absolutePath()));
        QFile file(recentListPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("\x89PNG\r\n");
        file.close();
        startHost();
        const QString path = dir->filePath(QStringLiteral("Back.ptr7"));
        QVERIFY(writeProjectFile(path, projectFromTemplate(QStringLiteral("Back"), BlankTemplate)));
        host->manager()->loadProject(path.toStdString(), unserializeDefault);
        host->manager()->waitIdle();
        host.reset();
        startHost();
        auto* list = host->page()->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
    }

    void createFromTemplateTwoSaveAndSaveAs()
    {
        startHost();
        const QString path = dir->filePath(QStringLiteral("Arena.ptr7"));
        auto* templates = host->page()->findChild<QListWidget*>(QStringLiteral("TemplateListWidget"));
        QVERIFY(templates);
        templates->setCurrentRow(1);
        QSignalSpy named(host->page(), &ProjectFileWidget::modifyProjectName);
        driver->acceptFileDialog(path);
        host->page()->newClicked(); // returns once the busy dialog has closed
        QTRY_COMPARE(named.count(), 1);
        QCOMPARE(named.at(0).at(0).toString(), QStringLiteral("Arena.ptr7"));
        QTRY_VERIFY(host->window()->isVisible());
        QVERIFY(!host->page()->isVisible());

        DemoProject created;
        QVERIFY(readProjectFile(path, created));
        QCOMPARE(created.templateType, 2);
        QCOMPARE(created.screens.size(), 2);
        QCOMPARE(created.name, QStringLiteral("Arena"));
        const std::optional<STProjectFile> entry = findEntry(readList(), path);
        QVERIFY(entry);
        QCOMPARE(QImage(QString::fromStdString(entry->strImagePath)).size(), QSize(384, 216));

        // Save: the busy dialog runs until the manager's answer closes it.
        const QStringList media = makeMedia(2);
        QCOMPARE(host->manager()->addMedia(media), 2);
        QVERIFY(host->manager()->isModified());
        QSignalSpy space(host->page(), &ProjectFileWidget::checkRemainSpace);
        Q_EMIT host->window()->saveRequested();
        QCOMPARE(space.count(), 1);
        QVERIFY(!host->manager()->isModified());
        DemoProject saved;
        QVERIFY(readProjectFile(path, saved));
        QCOMPARE(saved.media.size(), 2);
        QCOMPARE(saved.media[1].size, quint64(QFileInfo(media[1]).size()));

        // Save as: the new file becomes the open project, and the next Save goes there.
        const QString copy = dir->filePath(QStringLiteral("Arena copy.ptr7"));
        QVERIFY(host->manager()->setMediaUsed(0, false));
        driver->acceptFileDialog(copy);
        Q_EMIT host->window()->saveAsRequested();
        QTRY_COMPARE(space.count(), 2);
        DemoProject copied;
        QVERIFY(readProjectFile(copy, copied));
        QCOMPARE(copied.name, QStringLiteral("Arena copy"));
        QCOMPARE(copied.media.size(), 2);
        QCOMPARE(resolveMediaPath(copy, copied.media[0]), media[0]);
        QCOMPARE(QString::fromStdString(host->manager()->currentProjectPath()), copy);
        QVERIFY(!host->manager()->isModified());
        QCOMPARE(QString::fromStdString(readList().projects.at(0).strProfilePath), copy);
        auto* title = host->window()->findChild<QLabel*>(QStringLiteral("projectName"));
        QTRY_COMPARE(title->text(), QStringLiteral("Arena copy"));

        QVERIFY(host->manager()->setMediaUsed(1, false));
        Q_EMIT host->window()->saveRequested();
        QVERIFY(readProjectFile(copy, copied));
        QVERIFY(!copied.media[1].used);
        QVERIFY(readProjectFile(path, saved));
        QVERIFY(saved.media[0].used); // the first file kept what it had
    }

    // Every way of putting another project in place of one with unsaved
    // changes asks first: Save writes it, Don't Save drops it, Cancel keeps
    // everything as it was, the start page included.
    void replacingAModifiedProjectAsksFirst_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("answer"); // 1 Save, 2 Don't Save, 3 Cancel
        for (const char* path : {"recent", "open", "new", "template"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, save").arg(QLatin1String(path)))) << QString::fromLatin1(path) << 1;
            QTest::newRow(qPrintable(QStringLiteral("%1, don't save").arg(QLatin1String(path)))) << QString::fromLatin1(path) << 2;
            QTest::newRow(qPrintable(QStringLiteral("%1, cancel").arg(QLatin1String(path)))) << QString::fromLatin1(path) << 3;
        }
    }

    void replacingAModifiedProjectAsksFirst()
    {
        QFETCH(QString, path);
        QFETCH(int, answer);
        const QString other = dir->filePath(QStringLiteral("Other.ptr7"));
        QVERIFY(writeProjectFile(other, projectFromTemplate(QStringLiteral("Other"), BlankTemplate)));
        QVERIFY(addRecentProject(recentListPath(), other, QStringLiteral("Other"), QString()));
        startHost();
        const QString show = dir->filePath(QStringLiteral("Show.ptr7"));
        openProjectWithMedia(show, makeMedia(1));
        QTRY_VERIFY(host->window()->isVisible()); // the open's answer has reached the host
        const bool fromPage = path == QLatin1String("recent") || path == QLatin1String("template");
        if (fromPage)
            host->showStartPage();
        else
            host->page()->hide();

        const bool creating = path == QLatin1String("new") || path == QLatin1String("template");
        const QString target = creating ? dir->filePath(QStringLiteral("Fresh.ptr7")) : other;
        driver->answerTip(answer);
        if (answer != 3 && path == QLatin1String("new"))
            chooseTemplate(3);
        if (answer != 3 && path != QLatin1String("recent"))
            driver->acceptFileDialog(target);
        if (path == QLatin1String("recent")) {
            auto* list = host->page()->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
            QVERIFY(list);
            int row = 0;
            while (row < list->count() && QString::fromStdString(host->page()->getItemFilePath(row)) != other)
                ++row;
            QVERIFY(row < list->count());
            host->page()->slotItemDoubleClicked(list->item(row));
        } else if (path == QLatin1String("open")) {
            Q_EMIT host->window()->openRequested();
        } else if (path == QLatin1String("new")) {
            Q_EMIT host->window()->newRequested();
        } else {
            auto* templates = host->page()->findChild<QListWidget*>(QStringLiteral("TemplateListWidget"));
            QVERIFY(templates);
            host->page()->templateItemDoubleClicked(templates->item(1));
        }
        QCOMPARE(driver->tipTexts(), QStringList{ht("AskSave").arg(QStringLiteral("Show"))});

        DemoProject onDisk;
        QVERIFY(readProjectFile(show, onDisk));
        QCOMPARE(onDisk.media.size(), answer == 1 ? 1 : 0);
        if (answer == 3) {
            QCOMPARE(QString::fromStdString(host->manager()->currentProjectPath()), show);
            QVERIFY(host->manager()->isModified());
            QCOMPARE(host->page()->isVisible(), fromPage);
            QVERIFY(!QFileInfo::exists(dir->filePath(QStringLiteral("Fresh.ptr7"))));
        } else {
            QTRY_COMPARE(QString::fromStdString(host->manager()->currentProjectPath()), target);
            QVERIFY(!host->manager()->isModified());
        }
        if (path == QLatin1String("new") && answer != 3) {
            DemoProject created;
            QVERIFY(readProjectFile(target, created));
            QCOMPARE(created.templateType, 3); // the one chosen, whatever the page had selected
        }
    }

    // Quit, Save, and the save fails: the failure is told and nothing quits.
    void failedSaveBeforeQuitKeepsTheApplicationOpen()
    {
        startHost();
        const QString folder = dir->filePath(QStringLiteral("gone"));
        QVERIFY(QDir().mkpath(folder));
        const QString show = folder + QStringLiteral("/Show.ptr7");
        openProjectWithMedia(show, makeMedia(1));
        QVERIFY(QDir(folder).removeRecursively());
        const QString before = statusText();
        QSignalSpy quitting(host.get(), &DemoHost::quitting);
        driver->answerTip(1);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be saved")));
        QVERIFY(!host->requestQuit());
        QCOMPARE(quitting.count(), 0);
        QVERIFY2(statusText() != before && statusText().endsWith(ht("ReasonMissing")), qPrintable(statusText()));
        QVERIFY(host->manager()->isModified());
        QCOMPARE(QString::fromStdString(host->manager()->currentProjectPath()), show);
    }

    void packageWithAllMediaCopiesEveryByte()
    {
        startHost();
        const QStringList media = makeMedia(3);
        openProjectWithMedia(dir->filePath(QStringLiteral("Show.ptr7")), media);
        host->manager()->setMediaUsed(2, false);
        QCOMPARE(host->manager()->projectMediaSize(true),
                 quint64(QFileInfo(media[0]).size() + QFileInfo(media[1]).size() + QFileInfo(media[2]).size()));

        // The manager side, as the start page calls it once the folders exist.
        PackageRecorder rec;
        rec.attach(*host->manager());
        const QString out = dir->filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        host->manager()->setCopyRate(4 * 1024 * 1024); // several progress reports
        host->manager()->writeProject(packageRecord(out, QStringLiteral("Pack"), true), false);
        QTRY_COMPARE_WITH_TIMEOUT(rec.finishedCount(), 1, 20000);
        QVERIFY(rec.success);
        QCOMPARE(rec.path, (out + QStringLiteral("/Pack")).toStdString());
        QCOMPARE(rec.progress, host->manager()->projectMediaSize(true));
        QVERIFY(rec.reports > 1);

        const QString root = out + QStringLiteral("/Pack");
        DemoProject packaged;
        QVERIFY(readProjectFile(root + QStringLiteral("/project.ptr7"), packaged));
        QCOMPARE(packaged.media.size(), 3);
        for (int i = 0; i < 3; ++i) {
            const QString copy = resolveMediaPath(root + QStringLiteral("/project.ptr7"), packaged.media[i]);
            QVERIFY2(copy.startsWith(root + QStringLiteral("/resPath/")), qPrintable(copy));
            QVERIFY2(readAll(copy) == readAll(media[i]), qPrintable(copy));
        }
        QVERIFY(!QImage(root + QStringLiteral("/imagePath/project.png")).isNull());

        // Used media only: the unused clip stays behind.
        host->manager()->setCopyRate(0);
        host->manager()->writeProject(packageRecord(out, QStringLiteral("Used"), false), false);
        QTRY_COMPARE(rec.finishedCount(), 2);
        QVERIFY(rec.success);
        QCOMPARE(filesUnder(out + QStringLiteral("/Used/resPath")), (QStringList{QStringLiteral("clip0.bin"), QStringLiteral("clip1.bin")}));
    }

    // The same through the package dialog; skipped while the dialog has no controls.
    void packageThroughTheDialog()
    {
        startHost();
        const QStringList media = makeMedia(3);
        openProjectWithMedia(dir->filePath(QStringLiteral("Show.ptr7")), media);
        host->manager()->setMediaUsed(2, false);
        const QString out = dir->filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        bool dialogReady = false;
        driver->onNext(
            "package dialog", [](QWidget* w) { return w->inherits("vexa::projectfilemgr::PackagePage"); },
            [&](QWidget* dialog) {
                auto* location = dialog->findChild<QLineEdit*>(QStringLiteral("packageLocationEdit"));
                auto* start = dialog->findChild<QAbstractButton*>(QStringLiteral("packageButton"));
                auto* all = dialog->findChild<QRadioButton*>(QStringLiteral("packageAllMedias"));
                if (!location || !start || !all) {
                    static_cast<QDialog*>(dialog)->reject();
                    return;
                }
                dialogReady = true;
                location->setText(out);
                all->click();
                start->click();
            });
        QSignalSpy finished(host->page(), &ProjectFileWidget::packageFinishTip);
        host->page()->packageProject();
        QTRY_COMPARE(driver->handled(), 1);
        if (!dialogReady)
            QSKIP("the package dialog has no controls yet; packageWithAllMediaCopiesEveryByte covers the manager side");
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 20000);
        QVERIFY(finished.at(0).at(0).toBool());
        const QString viaDialog = QString::fromStdString(finished.at(0).at(1).value<std::string>());
        for (int i = 0; i < 3; ++i)
            QVERIFY(readAll(viaDialog + QStringLiteral("/resPath/clip%1.bin").arg(i)) == readAll(media[i]));
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    void cancelHalfWayLeavesNothingBehind()
    {
        startHost();
        const QStringList media = makeMedia(4);
        openProjectWithMedia(dir->filePath(QStringLiteral("Show.ptr7")), media);
        const QString out = dir->filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        QFile mine(out + QStringLiteral("/keep.txt")); // the user's own file beside the package
        QVERIFY(mine.open(QIODevice::WriteOnly));
        mine.write("mine");
        mine.close();

        PackageRecorder rec;
        rec.attach(*host->manager());
        DemoProjectMgr* mgr = host->manager();
        std::atomic<bool> stopped{false};
        std::atomic<quint64> stoppedAt{0};
        mgr->setChunkHook([mgr, &stopped, &stoppedAt](quint64 done, quint64 total) {
            if (!stopped && done >= total / 2) {
                stopped = true;
                stoppedAt = done;
                mgr->sigStopPackage(true); // as the package dialog raises it
            }
        });
        mgr->writeProject(packageRecord(out, QStringLiteral("Half"), true), false);
        QTRY_COMPARE_WITH_TIMEOUT(rec.ableCount(), 1, 20000);
        mgr->waitIdle();
        QVERIFY(stopped);
        QVERIFY(stoppedAt < mgr->projectMediaSize(true));
        QCOMPARE(rec.finishedCount(), 0); // a cancel is answered with package-able only
        QCOMPARE(filesUnder(out), QStringList{QStringLiteral("keep.txt")});

        // A stop after the package has ended is answered at once, and nothing more happens.
        mgr->setChunkHook({});
        mgr->sigStopPackage(true);
        QTRY_COMPARE(rec.ableCount(), 2);
        QCOMPARE(rec.finishedCount(), 0);
    }

    // Cancelling by closing the package dialog half-way: the dialog stays
    // until the host has cleaned up and answered. Skipped while the dialog has no controls.
    void cancelThroughTheDialogClosesOnlyAfterTheHostsAnswer()
    {
        startHost();
        openProjectWithMedia(dir->filePath(QStringLiteral("Show.ptr7")), makeMedia(4));
        DemoProjectMgr* mgr = host->manager();
        const QString out = dir->filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        std::atomic<bool> release{false};
        std::atomic<bool> holding{false};
        mgr->setCopyRate(2 * 1024 * 1024);
        mgr->setChunkHook([&release, &holding](quint64, quint64) {
            // Hold the package thread while the test looks at the cancelling dialog.
            while (holding && !release)
                QThread::msleep(5);
        });
        bool dialogReady = false;
        bool visibleWhileHostBusy = false;
        bool closedAfterAnswer = false;
        driver->onNext(
            "package dialog", [](QWidget* w) { return w->inherits("vexa::projectfilemgr::PackagePage"); },
            [&](QWidget* dialog) {
                auto* location = dialog->findChild<QLineEdit*>(QStringLiteral("packageLocationEdit"));
                auto* button = dialog->findChild<QAbstractButton*>(QStringLiteral("packageButton"));
                if (!location || !button) {
                    static_cast<QDialog*>(dialog)->reject();
                    return;
                }
                dialogReady = true;
                location->setText(out);
                button->click();
                QTRY_VERIFY(!filesUnder(out).isEmpty()); // copying has begun
                holding = true;
                driver->answerTip(1); // "stop packaging and close?" - yes
                dialog->close();
                QTRY_COMPARE(button->text(), libraryText("Canceling"));
                visibleWhileHostBusy = dialog->isVisible();
                release = true;
                QTRY_VERIFY(!dialog->isVisible());
                closedAfterAnswer = true;
            });
        host->page()->packageProject();
        QTRY_VERIFY(driver->handled() >= 1);
        if (!dialogReady)
            QSKIP("the package dialog has no controls yet; cancelHalfWayLeavesNothingBehind covers the manager side");
        QTRY_VERIFY(closedAfterAnswer);
        QVERIFY(visibleWhileHostBusy);
        mgr->waitIdle();
        QCOMPARE(filesUnder(out), QStringList());
    }

    void requestPackageWithoutProjectIsRefused()
    {
        DemoProjectMgr mgr(recentListPath(), dir->filePath(QStringLiteral("img/")));
        std::atomic<int> refused{0};
        std::atomic<int> shown{0};
        mgr.sigProhibitPackage.connect(std::function<void()>([&refused] { ++refused; }));
        mgr.sigShowPackageDialog.connect(std::function<void(const STPackageInfo&)>([&shown](const STPackageInfo&) { ++shown; }));
        mgr.requestPackage();
        mgr.waitIdle();
        QCOMPARE(refused.load(), 1);
        QCOMPARE(shown.load(), 0);

        // A package request without an open project fails instead of pretending.
        std::atomic<int> failed{0};
        mgr.sigPackageFinished.connect(
            std::function<void(bool, const std::string&)>([&failed](bool ok, const std::string&) { failed += ok ? 0 : 1; }));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("package refused")));
        mgr.writeProject(packageRecord(dir->path(), QStringLiteral("P"), true), false);
        mgr.waitIdle();
        QCOMPARE(failed.load(), 1);
    }

    void failuresAreReportedAndCleanedUpNeverPassedOffAsSuccess()
    {
        DemoProjectMgr mgr(recentListPath(), dir->filePath(QStringLiteral("img/")));
        std::mutex mutex;
        QStringList errors;
        int saved = 0;
        mgr.sigHostError.connect(std::function<void(const std::string&)>([&](const std::string& e) {
            std::lock_guard<std::mutex> lock(mutex);
            errors << QString::fromStdString(e);
        }));
        mgr.sigSaveFinished.connect(std::function<void(const std::string&)>([&](const std::string&) {
            std::lock_guard<std::mutex> lock(mutex);
            ++saved;
        }));

        // Creating where no folder exists.
        const std::string nowhere = dir->filePath(QStringLiteral("missing/x.ptr7")).toStdString();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be created")));
        mgr.createProject(nowhere, TwoScreenTemplate);
        mgr.waitIdle();
        QVERIFY(!mgr.isProjectOpen());

        // Saving into a folder that has gone.
        const QString path = dir->filePath(QStringLiteral("Show.ptr7"));
        mgr.createProject(path.toStdString(), BlankTemplate);
        mgr.waitIdle();
        QVERIFY(mgr.isProjectOpen());
        STProjectFile record;
        record.strProfilePath = nowhere;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be saved")));
        mgr.writeProject(record, true);
        mgr.waitIdle();
        {
            std::lock_guard<std::mutex> lock(mutex);
            // With the cause: the folder is not there.
            QCOMPARE(errors, (QStringList{QStringLiteral("CreateFailed:%1:").arg(ENOENT) + QString::fromStdString(nowhere),
                                          QStringLiteral("SaveFailed:%1:").arg(ENOENT) + QString::fromStdString(nowhere)}));
            QCOMPARE(saved, 0);
        }

        // A package whose media vanished: failure, and the half-made package is gone.
        const QStringList media = makeMedia(2);
        QCOMPARE(mgr.addMedia(media), 2);
        QVERIFY(QFile::remove(media[1]));
        PackageRecorder rec;
        rec.attach(mgr);
        const QString out = dir->filePath(QStringLiteral("out"));
        QDir().mkpath(out);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("package failed")));
        mgr.writeProject(packageRecord(out, QStringLiteral("P"), true), false);
        QTRY_COMPARE(rec.finishedCount(), 1);
        QVERIFY(!rec.success);
        mgr.waitIdle();
        QCOMPARE(mgr.lastPackageError(), ENOENT);
        QCOMPARE(filesUnder(out), QStringList());
    }

    void packageKeepsMediaThatShareAFileName()
    {
        DemoProjectMgr mgr(recentListPath(), dir->filePath(QStringLiteral("img/")));
        mgr.createProject(dir->filePath(QStringLiteral("Show.ptr7")).toStdString(), BlankTemplate);
        mgr.waitIdle();
        QStringList media;
        for (const char* folder : {"a", "b"}) {
            QDir().mkpath(dir->filePath(QLatin1String(folder)));
            const QString path = dir->filePath(QStringLiteral("%1/logo.png").arg(QLatin1String(folder)));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(1000, folder[0]));
            media << path;
        }
        QCOMPARE(mgr.addMedia(media), 2);
        PackageRecorder rec;
        rec.attach(mgr);
        const QString out = dir->filePath(QStringLiteral("out"));
        mgr.writeProject(packageRecord(out, QStringLiteral("P"), true), false);
        QTRY_COMPARE(rec.finishedCount(), 1);
        QVERIFY(rec.success);
        const QString project = out + QStringLiteral("/P/project.ptr7");
        DemoProject packaged;
        QVERIFY(readProjectFile(project, packaged));
        QCOMPARE(packaged.media.size(), 2);
        QVERIFY(packaged.media[0].path != packaged.media[1].path);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(readAll(resolveMediaPath(project, packaged.media[i])), readAll(media[i]));
    }

    void sampleMediaAreValidFiles()
    {
        const QString sound = dir->filePath(QStringLiteral("s.wav"));
        QVERIFY(writeSampleSound(sound, 1.5, 3));
        const QByteArray wav = readAll(sound);
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        const auto le32 = [&wav](int at) {
            return quint32(quint8(wav[at])) | quint32(quint8(wav[at + 1])) << 8 | quint32(quint8(wav[at + 2])) << 16 |
                   quint32(quint8(wav[at + 3])) << 24;
        };
        QCOMPARE(le32(4), quint32(wav.size() - 8));
        QCOMPARE(le32(40), quint32(wav.size() - 44));
        QCOMPARE(le32(40), quint32(44100 * 3 / 2) * 4);

        const QString picture = dir->filePath(QStringLiteral("p.jpg"));
        QVERIFY(writeSamplePicture(picture, 640, 360, 5));
        QCOMPARE(QImage(picture).size(), QSize(640, 360));

        // Two projects of the same name in different folders never share a thumbnail.
        QVERIFY(thumbnailPathFor(QStringLiteral("/t"), QStringLiteral("/x/Show.ptr7")) !=
                thumbnailPathFor(QStringLiteral("/t/"), QStringLiteral("/y/Show.ptr7")));
    }

    void projectLeftOpenByACrashIsResumedAtTheNextStart()
    {
        const QString path = dir->filePath(QStringLiteral("Resume.ptr7"));
        QVERIFY(writeProjectFile(path, projectFromTemplate(QStringLiteral("Resume"), ThreeScreenTemplate)));
        {
            QSettings settings;
            settings.setValue(QStringLiteral("session/clean"), false);
            settings.setValue(QStringLiteral("session/project"), path);
        }
        DemoOptions o = options();
        o.checkRestore = true;
        host.reset(new DemoHost(o));
        QSignalSpy restore(host->page(), &ProjectFileWidget::systemRestore);
        host->start(false); // runs the busy dialog until the resumed project is open
        QCOMPARE(restore.count(), 1);
        QTRY_VERIFY(host->window()->isVisible());
        QVERIFY(!host->page()->isVisible());
        QCOMPARE(QString::fromStdString(host->manager()->currentProjectPath()), path);

        // A clean exit leaves nothing to resume.
        QSignalSpy quitting(host.get(), &DemoHost::quitting);
        host->requestQuit();
        QCOMPARE(quitting.count(), 1);
        QVERIFY(QSettings().value(QStringLiteral("session/clean")).toBool());
        host.reset(new DemoHost(o));
        QSignalSpy again(host->page(), &ProjectFileWidget::systemRestore);
        host->start(false);
        QCOMPARE(again.count(), 0);
        QVERIFY(host->page()->isVisible());
    }

    void languageChosenOnThePageIsRememberedAcrossRuns()
    {
        DemoOptions o = options();
        o.language.clear();
        QSettings().setValue(QStringLiteral("language"), QStringLiteral("en"));
        host.reset(new DemoHost(o));
        host->start(false);
        QCOMPARE(host->language(), QStringLiteral("en"));
        auto* combo = host->page()->findChild<QComboBox*>(QStringLiteral("languageComboBox"));
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findData(QStringLiteral("zh_CN")));
        QCOMPARE(host->language(), QStringLiteral("zh_CN"));

        host.reset(new DemoHost(o));
        host->start(false);
        QCOMPARE(host->language(), QStringLiteral("zh_CN"));
        combo = host->page()->findChild<QComboBox*>(QStringLiteral("languageComboBox"));
        QCOMPARE(combo->currentData().toString(), QStringLiteral("zh_CN"));
        QSettings().remove(QStringLiteral("language"));
    }

    void damagedProjectIsMarkedAtTheNextStart()
    {
        const QString path = dir->filePath(QStringLiteral("Broken.ptr7"));
        QVERIFY(writeProjectFile(path, projectFromTemplate(QStringLiteral("Broken"), BlankTemplate)));
        QVERIFY(addRecentProject(recentListPath(), path, QStringLiteral("Broken"), QString()));
        startHost();
        auto* list = host->page()->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
        QVERIFY(list);
        QCOMPARE(list->count(), 1);

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"format\":\"vexademo-project\",\"name\":"); // cut short, as by a crash
        file.close();
        QSignalSpy back(host->page(), &ProjectFileWidget::showProjectMgrWidget);
        driver->answerTip(1);
        host->page()->slotItemDoubleClicked(list->item(0));
        QCOMPARE(back.count(), 1);
        QCOMPARE(driver->tipTexts(), QStringList{libraryText("FileDamage")});
        QVERIFY(!host->manager()->isProjectOpen());
        const std::optional<STProjectFile> entry = findEntry(readList(), path);
        QVERIFY(entry);
        QVERIFY(entry->isDamageFile);
        QTRY_VERIFY(host->page()->isVisible()); // the host goes back to the start page

        // Next start: the row is there and shown damaged.
        host.reset();
        startHost();
        list = host->page()->findChild<QListWidget*>(QStringLiteral("FileListWidget"));
        QCOMPARE(list->count(), 1);
        bool damaged = false;
        const QRect rect = list->visualItemRect(list->item(0));
        for (QWidget* tile : list->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!tile->isVisibleTo(list->viewport()) || tile->geometry() != rect)
                continue;
            for (QLabel* label : tile->findChildren<QLabel*>())
                damaged = damaged || label->property("damage").toBool();
        }
        QVERIFY(damaged);
    }

    // What the user reads after a switch from Chinese to English: the
    // widget kit's dialogs, the status bar and the empty list's line must
    // change with the rest.
    void visibleTextsFollowALanguageSwitch_data()
    {
        QTest::addColumn<int>("what");
        QTest::addColumn<QString>("english");
        QTest::newRow("message title") << 0 << QStringLiteral("Message");
        QTest::newRow("question title") << 1 << QStringLiteral("Question");
        QTest::newRow("warning title") << 2 << QStringLiteral("Warning");
        QTest::newRow("default button") << 3 << QStringLiteral("OK");
        QTest::newRow("status bar") << 4 << QStringLiteral("Opened Show");
        QTest::newRow("empty recent list") << 5 << QStringLiteral("No recent projects");
    }

    void visibleTextsFollowALanguageSwitch()
    {
        QFETCH(int, what);
        QFETCH(QString, english);
        DemoOptions o = options();
        o.language = QStringLiteral("zh_CN");
        o.shareDir = QStringLiteral(VEXADEMO_SHARE_DIR);
        host.reset(new DemoHost(o));
        host->start(false);
        Q_EMIT host->page()->modifyProjectName(QStringLiteral("Show"));
        const auto read = [this, what] {
            if (what == 4)
                return host->window()->statusBar()->findChild<QLabel*>()->text();
            if (what == 5)
                return host->page()->findChild<QLabel*>(QStringLiteral("emptyFileText"))->text();
            vexa::widgets::TipDialog tip(static_cast<vexa::widgets::EnumTipType>(what == 3 ? 0 : what));
            return what == 3 ? tip.findChild<QPushButton*>(QStringLiteral("tipConfirmButton"))->text() : tip.title();
        };
        const QString chinese = read();
        Q_EMIT host->window()->languageRequested(QStringLiteral("en"));
        QCOMPARE(read(), english);
        QVERIFY2(!chinese.isEmpty() && chinese != english, qPrintable(chinese));
        Q_EMIT host->window()->languageRequested(QStringLiteral("zh_CN"));
        QCOMPARE(read(), chinese);
    }

    // In the demo's theme and both languages: the "not enough space" badge
    // shows its whole text inside the dialog, and the boxes keep their width
    // from one opening to the next and when the location changes.
    void packageDialogFitsItsTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("zh_CN") << QStringLiteral("zh_CN");
    }

    void packageDialogFitsItsTexts()
    {
        QFETCH(QString, language);
        DemoOptions o = options();
        o.language = language;
        o.shareDir = QStringLiteral(VEXADEMO_SHARE_DIR);
        host.reset(new DemoHost(o));
        host->start(false);
        openProjectWithMedia(dir->filePath(QStringLiteral("Show.ptr7")), makeMedia(1));
        const FreeSpaceQuery previous = setPackageFreeSpaceQuery(&nearlyFullDrive);
        QList<int> widths;
        for (int opening = 0; opening < 2; ++opening) {
            driver->onNext(
                "package dialog", [](QWidget* w) { return w->inherits("vexa::projectfilemgr::PackagePage"); },
                [&](QWidget* dialog) {
                    auto* badge = dialog->findChild<QPushButton*>(QStringLiteral("shareSpaceTips"));
                    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("packageNameEdit"));
                    auto* location = dialog->findChild<QLineEdit*>(QStringLiteral("packageLocationEdit"));
                    QTest::qWait(100); // the dialog lays itself out again after showing
                    widths << name->width() << location->width();
                    QStyleOptionButton option;
                    option.initFrom(badge);
                    option.text = badge->text();
                    const QRect textRoom = badge->style()->subElementRect(QStyle::SE_PushButtonContents, &option, badge);
                    const QRect badgeInDialog(badge->mapTo(dialog, QPoint(0, 0)), badge->size());
                    if (badge->isVisible() && textRoom.width() >= badge->fontMetrics().horizontalAdvance(badge->text()) &&
                        dialog->rect().contains(badgeInDialog))
                        widths << -1; // the badge fits
                    location->setText(dir->path()); // as after Browse
                    QTest::qWait(100);
                    widths << name->width() << location->width();
                    static_cast<QDialog*>(dialog)->reject();
                });
            host->page()->packageProject();
            QTRY_COMPARE(driver->handled(), opening + 1);
        }
        setPackageFreeSpaceQuery(previous);
        QCOMPARE(widths.count(-1), 2);
        QCOMPARE(widths.mid(5, 2), widths.mid(0, 2));
        QCOMPARE(widths.mid(3, 2), widths.mid(0, 2));
        QCOMPARE(widths.mid(8, 2), widths.mid(0, 2));
    }
};

VEXA_TEST_MAIN(TestDemoEndToEnd)
#include "tst_demo_e2e.moc"
