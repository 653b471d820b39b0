// The recent list as the page keeps it: reading and pruning the list file,
// rewriting it, the row texts, sorting, damaged entries, and the context-menu
// actions as they reach the file.

#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <random>

using namespace vexa::projectfilemgr;
using vexatest::listEntry;
using vexatest::listFilePath;
using vexatest::listOf;
using vexatest::LogCapture;
using vexatest::ModalDriver;
using vexatest::readListFile;
using vexatest::RecordingManager;

namespace {

// The labels of a tile in the order the tile creates them: picture, name
// caption, name, time, size, location caption, path.
QList<QLabel*> labelsOf(QWidget* tile)
{
    return tile ? tile->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly) : QList<QLabel*>();
}

} // namespace

class TestRecentList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<ModalDriver> driver;

    QString makeProject(const QString& name, const QDateTime& modified = QDateTime(), qint64 size = 2)
    {
        return vexatest::makeFile(dir->filePath(name), QByteArray(static_cast<int>(size), '\0'), modified);
    }

    QListWidget* list() const { return page->findChild<QListWidget*>(QStringLiteral("FileListWidget")); }
    // Only rows in view have a tile: the row is scrolled into view first,
    // then its tile is the one shown over it.
    QWidget* tile(int row) const
    {
        QListWidget* files = list();
        files->scrollToItem(files->item(row));
        const QRect rect = files->visualItemRect(files->item(row));
        for (QWidget* child : files->viewport()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisibleTo(files->viewport()) && child->geometry() == rect)
                return child;
        }
        return nullptr;
    }

    // Full names of the rows, top to bottom.
    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row) {
            // The name label is the one whose tooltip is a name, not a path.
            QString name;
            if (QWidget* shown = tile(row)) {
                for (QLabel* label : shown->findChildren<QLabel*>()) {
                    if (!label->toolTip().isEmpty() && !label->toolTip().contains(QLatin1Char('/')))
                        name = label->toolTip();
                }
            }
            names << name;
        }
        return names;
    }

    QComboBox* sortBox() const
    {
        for (QComboBox* box : page->findChildren<QComboBox*>()) {
            if (box->count() == 3 && box->itemData(2, Qt::UserRole).toInt() == 2)
                return box;
        }
        return nullptr;
    }

    QPushButton* directionButton() const { return page->findChild<QPushButton*>(QStringLiteral("changeSort")); }

    bool emptyViewShown() const
    {
        const QLabel* picture = list()->findChild<QLabel*>(QStringLiteral("emptyFileLabel"));
        return picture && !picture->isHidden();
    }

    void runQuietly()
    {
        LogCapture log; // rows log a line each
        page->run();
    }

    // Right-clicks a row of the shown page, picks a menu action and answers
    // the question it asks, if any.
    void chooseOnRow(int row, const QString& action, int answer = -1)
    {
        QListWidget* l = list();
        const QPoint pos = l->visualItemRect(l->item(row)).center();
        driver->chooseMenuAction(action);
        if (answer >= 0)
            driver->answerTip(answer);
        // To what is under the mouse, as a real click: the event goes up from the tile.
        QWidget* target = l->viewport()->childAt(pos);
        if (!target)
            target = l->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, target->mapFrom(l->viewport(), pos),
                                l->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(target, &event);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM))); }

    void init()
    {
        // In the private home, so a deleted project goes to its trash.
        dir.reset(new QTemporaryDir(QDir::home().filePath(QStringLiteral("projects-XXXXXX"))));
        QVERIFY(dir->isValid());
        QFile::remove(listFilePath());
        QDir(listFilePath()).removeRecursively();
        const QFileInfo list(listFilePath());
        for (const QFileInfo& copy : list.dir().entryInfoList({list.fileName() + QStringLiteral(".damaged*")}))
            QVERIFY(QFile::remove(copy.filePath()));
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->switchLanguage(QStringLiteral("xx"));
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset();
        driver.reset();
    }

    void readingPrunesVanishedEntriesAndRewritesTheFileCompactly()
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString kept = makeProject(QStringLiteral("kept.ptr7"), now.addSecs(-60));
        const QString gone = dir->filePath(QStringLiteral("gone.ptr7"));
        const QString folder = dir->filePath(QStringLiteral("folder.ptr7"));
        QVERIFY(QDir().mkdir(folder));
        const QString dangling = dir->filePath(QStringLiteral("dangling.ptr7"));
        QVERIFY(QFile::link(dir->filePath(QStringLiteral("nowhere")), dangling));

        // Comments, blanks, a byte-order mark, unknown members, another member order.
        QVERIFY(vexatest::writeListFile("\xEF\xBB\xBF{ // written by hand\n \"projects\" : [\n"
                 "  {\"isDamageFile\":false, \"extra\":[1,{\"a\":2}], \"strProfilePath\":\"" + kept.toUtf8() +
                 "\", \"strProfileName\":\"k\", \"strImagePath\":\"img\"},\n"
                 "  {\"strProfilePath\":\"" + gone.toUtf8() + "\"},\n"
                 "  /* a folder counts as a project */ {\"strProfilePath\":\"" + folder.toUtf8() + "\"},\n"
                 "  {\"strProfilePath\":\"" + dangling.toUtf8() + "\"},\n"
                 "  {\"strProfilePath\":\"" + kept.toUtf8() + "\", \"hostText\":\"not ours\"}\n"
                 " ], \"version\": 3 }\n"));

        LogCapture log;
        page->run();

        QCOMPARE(log.count(QStringLiteral("projectFile:  %1  is empty file! error code is Success").arg(gone)), 1);
        QCOMPARE(log.count(QStringLiteral("projectFile:  %1  is empty file! error code is Success").arg(dangling)), 1);
        QCOMPARE(log.countContaining(QStringLiteral("list add projectFile: ")), 3);
        QCOMPARE(list()->count(), 3); // the duplicate gives two rows
        QCOMPARE(rowNames().count(QStringLiteral("kept.ptr7")), 2);
        QVERIFY(rowNames().contains(QStringLiteral("folder.ptr7")));
        QVERIFY(!emptyViewShown());

        const QByteArray keptEntry = QStringLiteral(R"({"strProfileName":"k","strProfilePath":"%1","strImagePath":"img","isDamageFile":false})")
                                         .arg(kept)
                                         .toUtf8();
        const QByteArray bare = QStringLiteral(R"({"strProfileName":"","strProfilePath":"%1","strImagePath":"","isDamageFile":false})")
                                    .toUtf8();
        QCOMPARE(readListFile(), listOf({keptEntry, QString::fromUtf8(bare).arg(folder).toUtf8(),
                                    QString::fromUtf8(bare).arg(kept).toUtf8()}));

        // Clearing one of the two rows of a path drops both entries from the file.
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        const int row = rowNames().indexOf(QStringLiteral("kept.ptr7"));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("list projectFile:  %1  will be clear!").arg(kept)));
        QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("list projectFile:  %1  will be clear!").arg(kept)));
        chooseOnRow(row, QStringLiteral("ClearFile"));
        QCOMPARE(driver->menuTexts(), (QStringList{QStringLiteral("ClearFile"), QStringLiteral("DeleteFiles")}));
        QCOMPARE(readListFile(), listOf({QString::fromUtf8(bare).arg(folder).toUtf8()}));
        QVERIFY(QFileInfo::exists(kept)); // only forgotten, not deleted
        QCOMPARE(list()->count(), 2);

        // A cleared entry does not come back with the next sort.
        page->changeSortClicked();
        QCOMPARE(rowNames(), QStringList{QStringLiteral("folder.ptr7")});
    }

    void listWithoutEntriesShowsTheEmptyView_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("null") << QByteArray(R"({"projects":null})") << QByteArray(R"({"projects":[]})");
        QTest::newRow("empty array") << QByteArray("{ \"projects\" : [ ] }") << QByteArray(R"({"projects":[]})");
        QTest::newRow("all gone") << QByteArray(R"({"projects":[{"strProfilePath":"/nonexistent/a.ptr7"}]})")
                                  << QByteArray(R"({"projects":[]})");
        QTest::newRow("no file") << QByteArray() << QByteArray("<missing>");
        QTest::newRow("a folder in its place") << QByteArray("<folder>") << QByteArray("<missing>");
    }

    void listWithoutEntriesShowsTheEmptyView()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, written);
        if (content == "<folder>")
            QVERIFY(QDir().mkpath(listFilePath()));
        else if (!content.isEmpty())
            QVERIFY(vexatest::writeListFile(content));
        runQuietly();
        QCOMPARE(list()->count(), 0);
        QVERIFY(emptyViewShown());
        QCOMPARE(list()->findChildren<QLabel*>(QStringLiteral("emptyFileLabel")).size(), 1);
        QCOMPARE(readListFile(), written);
        bool textShown = false;
        for (QLabel* label : list()->findChildren<QLabel*>())
            textShown = textShown || label->text() == QLatin1String("EmptyFileList");
        QVERIFY(textShown);

        // Sorting an empty list keeps the one empty view.
        page->changeSortClicked();
        QCOMPARE(list()->findChildren<QLabel*>(QStringLiteral("emptyFileLabel")).size(), 1);
    }

    void damagedListIsKeptAsideAndStartedAfresh_data()
    {
        QTest::addColumn<QByteArray>("content"); // @A and @B stand for two sound entries
        QTest::addColumn<int>("cut");            // bytes taken off the end
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QString>("copy");       // where the damaged file goes
        std::mt19937 rng(13);
        QByteArray noise(256, '\0');
        for (char& c : noise)
            c = char(rng());
        QTest::newRow("random bytes, earlier copy there") << noise << 0 << QStringList() << QStringLiteral(".damaged.2");
        QTest::newRow("empty") << QByteArray() << 0 << QStringList() << QStringLiteral(".damaged");
        QTest::newRow("truncated") << QByteArray("{\"projects\":[@A,@B]}") << 30 << QStringList{"a.ptr7"}
                                   << QStringLiteral(".damaged");
        QTest::newRow("bad entry after two good")
            << QByteArray("{\"projects\":[@A,@B,{\"strProfilePath\":\"/\",\"isDamageFile\":}]}") << 0
            << QStringList{"a.ptr7", "b.ptr7"} << QStringLiteral(".damaged");
    }

    void damagedListIsKeptAsideAndStartedAfresh()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, cut);
        QFETCH(QStringList, kept);
        QFETCH(QString, copy);
        QMap<QString, QByteArray> entries;
        for (const QString& name : {QStringLiteral("a.ptr7"), QStringLiteral("b.ptr7")})
            entries[name] = listEntry(makeProject(name));
        content.replace("@A", entries["a.ptr7"]).replace("@B", entries["b.ptr7"]).chop(cut);
        QVERIFY(vexatest::writeListFile(content));
        const QString earlier = listFilePath() + QStringLiteral(".damaged");
        if (copy != QLatin1String(".damaged"))
            QCOMPARE(vexatest::makeFile(earlier, "older"), earlier);

        LogCapture log;
        page->run();
        const QString backup = listFilePath() + copy;
        QFile saved(backup);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), content);
        QCOMPARE(log.countContaining(QStringLiteral("\"%1\" kept as \"%2\"").arg(listFilePath(), backup)), 1);
        if (copy != QLatin1String(".damaged")) {
            QFile older(earlier);
            QVERIFY(older.open(QIODevice::ReadOnly));
            QCOMPARE(older.readAll(), QByteArray("older"));
        }
        QList<QByteArray> written;
        for (const QString& name : kept)
            written << entries[name];
        QCOMPARE(readListFile(), listOf(written));
        QStringList rows = rowNames();
        rows.sort();
        QCOMPARE(rows, kept);
        QCOMPARE(emptyViewShown(), kept.isEmpty());
    }

    void failedWriteIsLoggedWithItsCause()
    {
        // The list file leads to a name too long for the writer's temporary file.
        const QString target = dir->filePath(QString(250, QLatin1Char('x')));
        const QString project = makeProject(QStringLiteral("a.ptr7"));
        // An entry whose project is gone makes the page write the list back.
        QCOMPARE(vexatest::makeFile(target, listOf({listEntry(project), listEntry(dir->filePath(QStringLiteral("gone.ptr7")))})),
                 target);
        QDir().mkpath(QFileInfo(listFilePath()).absolutePath());
        QVERIFY(QFile::link(target, listFilePath()));

        LogCapture log;
        page->run();
        QCOMPARE(log.count(QStringLiteral("saveToFile error:  File name too long  from: \"%1\"").arg(listFilePath())), 1);
        QCOMPARE(rowNames(), QStringList{QStringLiteral("a.ptr7")});
    }

    void damagedAnswerEditsTheFileAsItIsNow()
    {
        // The page never read the list (a project named on the command line
        // opens before it), and the host keeps other entries in it.
        const QString broken = makeProject(QStringLiteral("broken.ptr7"));
        const QString other = makeProject(QStringLiteral("other.ptr7"));
        QVERIFY(vexatest::writeListFile(listOf({listEntry(other), listEntry(broken)}) + "\n"));

        norvane::HXRuntime runtime;
        RecordingManager mgr;
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
        mgr.answerOpens(FileDamage, "loadProject");

        LogCapture log;
        driver->acceptFileDialog(broken);
        driver->answerTip(1);
        page->openClicked();
        QCOMPARE(readListFile(), listOf({listEntry(other), listEntry(broken, true)}));

        // A damaged list starts afresh from the entries read before the damage.
        QVERIFY(vexatest::writeListFile("{\"projects\":[" + listEntry(broken) + ","));
        driver->acceptFileDialog(broken);
        driver->answerTip(1);
        page->openClicked();
        QCOMPARE(readListFile(), listOf({listEntry(broken, true)}));
        QCOMPARE(log.countContaining(QStringLiteral("load_from_file error: ")), 1);

        // A path that is not listed leaves the entries as they are, rewritten compactly.
        QVERIFY(vexatest::writeListFile(" " + listOf({listEntry(other)})));
        const QString unlisted = makeProject(QStringLiteral("unlisted.ptr7"));
        driver->acceptFileDialog(unlisted);
        driver->answerTip(1);
        page->openClicked();
        QCOMPARE(readListFile(), listOf({listEntry(other)}));

        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
    }

    void rowTextsAtTheSizeBoundaries_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << qint64(-1) << QStringLiteral("0.00KB");
        QTest::newRow("empty") << qint64(0) << QStringLiteral("0.00KB");
        QTest::newRow("half a KiB") << qint64(512) << QStringLiteral("0.50KB");
        QTest::newRow("just under 1000 KiB") << qint64(1023976) << QStringLiteral("999.98KB");
        QTest::newRow("rounds to 1000 KiB") << qint64(1023999) << QStringLiteral("1000.00KB");
        QTest::newRow("1000 KiB") << qint64(1024000) << QStringLiteral("0.98MB");
        QTest::newRow("a million") << qint64(1000000) << QStringLiteral("976.56KB");
        QTest::newRow("one MiB") << qint64(1048576) << QStringLiteral("1.00MB");
    }

    void rowTextsAtTheSizeBoundaries()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        const QDateTime modified(QDate(2024, 3, 5), QTime(17, 4, 9));
        STProjectFile file;
        file.strProfilePath = (bytes < 0 ? dir->filePath(QStringLiteral("size.ptr7"))
                                         : makeProject(QStringLiteral("size.ptr7"), modified, bytes))
                                  .toStdString();
        LogCapture log;
        page->addSingleProfile(file);
        QCOMPARE(list()->count(), 1);
        const QList<QLabel*> labels = labelsOf(tile(0));
        QCOMPARE(labels.value(3)->text(), bytes < 0 ? QString() : QStringLiteral("2024.03.05 17:04:09"));
        QCOMPARE(labels.value(4)->text(), text);
        QCOMPARE(labels.value(6)->toolTip(), QString::fromStdString(file.strProfilePath));
        // Rows added by the host are not recorded as shown records.
        QCOMPARE(page->getItemFilePath(0), std::string());
    }

    void sortRulesBothWays_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("time, descending") << 0 << false << QStringList{"gone.ptr7", "Alpha.ptr7", "beta.ptr7", "alpha.ptr7"};
        QTest::newRow("time, ascending") << 0 << true << QStringList{"alpha.ptr7", "beta.ptr7", "Alpha.ptr7", "gone.ptr7"};
        QTest::newRow("name, ascending") << 1 << true << QStringList{"Alpha.ptr7", "alpha.ptr7", "beta.ptr7", "gone.ptr7"};
        QTest::newRow("name, descending") << 1 << false << QStringList{"gone.ptr7", "beta.ptr7", "alpha.ptr7", "Alpha.ptr7"};
        QTest::newRow("size, descending") << 2 << false << QStringList{"gone.ptr7", "Alpha.ptr7", "beta.ptr7", "alpha.ptr7"};
        QTest::newRow("size, ascending") << 2 << true << QStringList{"alpha.ptr7", "beta.ptr7", "Alpha.ptr7", "gone.ptr7"};
    }

    void sortRulesBothWays()
    {
        QFETCH(int, rule);
        QFETCH(bool, ascending);
        QFETCH(QStringList, order);
        const QDateTime day(QDate(2024, 6, 1), QTime(0, 0));
        const QString gone = makeProject(QStringLiteral("gone.ptr7"), day.addSecs(13 * 3600), 9000);
        const QString alpha = makeProject(QStringLiteral("alpha.ptr7"), day.addSecs(10 * 3600), 1000);
        const QString beta = makeProject(QStringLiteral("beta.ptr7"), day.addSecs(11 * 3600), 2000);
        const QString capital = makeProject(QStringLiteral("Alpha.ptr7"), day.addSecs(12 * 3600), 3000);
        QVERIFY(vexatest::writeListFile(listOf({listEntry(alpha), listEntry(gone), listEntry(capital), listEntry(beta)})));
        runQuietly();
        // Newest first after reading.
        QCOMPARE(rowNames(), (QStringList{"gone.ptr7", "Alpha.ptr7", "beta.ptr7", "alpha.ptr7"}));

        LogCapture log;
        QComboBox* box = sortBox();
        QVERIFY(box);
        box->setCurrentIndex(box->findData(rule, Qt::UserRole));
        if (ascending)
            page->changeSortClicked();
        page->sortRuleChange(); // the same rule again changes nothing
        QCOMPARE(directionButton()->property("changeSortSelect").toBool(), ascending);
        QCOMPARE(rowNames(), order);
        for (int row = 0; row < order.size(); ++row) {
            QCOMPARE(QFileInfo(QString::fromStdString(page->getItemFilePath(row))).fileName(), order.at(row));
            // Rows made by the sort speak the page's language too.
            QCOMPARE(labelsOf(tile(row)).value(1)->text(), QStringLiteral("NameInput:"));
            QCOMPARE(labelsOf(tile(row)).value(5)->text(), QStringLiteral("StorageLocation"));
        }
        QCOMPARE(page->getItemFilePath(order.size()), std::string());
        QCOMPARE(page->getItemFilePath(-1), std::string());
    }

    void directionClickTogglesTheProperty()
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString ten = makeProject(QStringLiteral("ten.ptr7"), now.addSecs(-7200));
        const QString eleven = makeProject(QStringLiteral("eleven.ptr7"), now.addSecs(-3600));
        const QString twelve = makeProject(QStringLiteral("twelve.ptr7"), now.addSecs(-60));
        QVERIFY(vexatest::writeListFile(listOf({listEntry(eleven), listEntry(ten), listEntry(twelve)})));
        runQuietly();
        const QStringList newestFirst{"twelve.ptr7", "eleven.ptr7", "ten.ptr7"};
        QCOMPARE(rowNames(), newestFirst);
        QCOMPARE(directionButton()->property("changeSortSelect"), QVariant(false));

        LogCapture log;
        directionButton()->click();
        QCOMPARE(directionButton()->property("changeSortSelect"), QVariant(true));
        QCOMPARE(rowNames(), (QStringList{"ten.ptr7", "eleven.ptr7", "twelve.ptr7"}));
        directionButton()->click();
        QCOMPARE(directionButton()->property("changeSortSelect"), QVariant(false));
        QCOMPARE(rowNames(), newestFirst);
        // The list file is not the business of sorting.
        QCOMPARE(readListFile(), listOf({listEntry(eleven), listEntry(ten), listEntry(twelve)}));
    }

    void rowsSpeakTheLanguageSwitchedTo()
    {
        QVERIFY(vexatest::writeListFile(listOf({listEntry(makeProject(QStringLiteral("a.ptr7"))), listEntry(makeProject(QStringLiteral("b.ptr7")))})));
        runQuietly();
        QCOMPARE(labelsOf(tile(1)).value(5)->text(), QStringLiteral("StorageLocation"));
        // A language without texts: every caption goes blank, on the rows
        // shown and on the rows a sort fills afterwards.
        page->switchLanguage(QStringLiteral("yy"));
        LogCapture log;
        for (const bool sorted : {false, true}) {
            if (sorted)
                page->changeSortClicked();
            for (int row = 0; row < 2; ++row) {
                QCOMPARE(labelsOf(tile(row)).value(1)->text(), QStringLiteral(":"));
                QCOMPARE(labelsOf(tile(row)).value(5)->text(), QString());
            }
        }
    }

    void damagedEntryIsShownOnceAndCannotBeOpened()
    {
        const QDateTime now = QDateTime::currentDateTime();
        const QString broken = makeProject(QStringLiteral("broken.ptr7"), now.addSecs(-60));
        const QString fine = makeProject(QStringLiteral("fine.ptr7"), now.addSecs(-3600));
        QVERIFY(vexatest::writeListFile(listOf({listEntry(broken, true), listEntry(fine)})));

        norvane::HXRuntime runtime;
        RecordingManager mgr;
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
        // Should an open be requested after all, answer it so the busy dialog closes.
        mgr.answerOpens(Success);
        runQuietly();
        QCOMPARE(rowNames(), (QStringList{"broken.ptr7", "fine.ptr7"}));
        const QList<QLabel*> labels = labelsOf(tile(0));
        QCOMPARE(labels.value(0)->property("damage"), QVariant(true));
        for (int i = 1; i < labels.size(); ++i)
            QVERIFY(!labels.at(i)->isEnabled());
        QVERIFY(labelsOf(tile(1)).value(2)->isEnabled());

        page->slotItemDoubleClicked(list()->item(0));
        QCOMPARE(mgr.callCount("loadProject"), std::size_t(0));
        // Only the sound entry is a shown record.
        QCOMPARE(page->getItemFilePath(0), fine.toStdString());
        QCOMPARE(page->getItemFilePath(1), std::string());

        // The next sort no longer shows it, and the tile that showed it now
        // shows the sound entry as a sound one.
        LogCapture log;
        page->changeSortClicked();
        QCOMPARE(rowNames(), QStringList{"fine.ptr7"});
        const QList<QLabel*> reused = labelsOf(tile(0));
        QVERIFY(!reused.value(0)->property("damage").toBool());
        for (int i = 1; i < reused.size(); ++i)
            QVERIFY(reused.at(i)->isEnabled());
        page->slotItemDoubleClicked(list()->item(0));
        QCOMPARE(mgr.callCount("loadProject"), std::size_t(1));
        QCOMPARE(mgr.lastCall("loadProject").path, fine.toStdString());

        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
    }

    void actionsReachTheRowUnderTheMouse_data()
    {
        QTest::addColumn<QString>("action"); // "open" or a menu action
        QTest::addColumn<bool>("sorted");    // oldest first, on the rows in view; else scrolled to the end
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double-click after scrolling") << "open" << false << 23 << "p00.ptr7";
        QTest::newRow("double-click after a sort") << "open" << true << 1 << "p01.ptr7";
        QTest::newRow("clear after scrolling") << "ClearFile" << false << 23 << "p00.ptr7";
        QTest::newRow("clear after a sort") << "ClearFile" << true << 1 << "p01.ptr7";
    }

    void actionsReachTheRowUnderTheMouse()
    {
        QFETCH(QString, action);
        QFETCH(bool, sorted);
        QFETCH(int, row);
        QFETCH(QString, expected);
        const int rows = 24;
        const QDateTime base = QDateTime::currentDateTime().addDays(-1);
        QList<QByteArray> entries;
        for (int i = 0; i < rows; ++i)
            entries << listEntry(makeProject(QStringLiteral("p%1.ptr7").arg(i, 2, 10, QLatin1Char('0')), base.addSecs(i * 60)));
        QVERIFY(vexatest::writeListFile(listOf(entries)));
        norvane::HXRuntime runtime;
        RecordingManager mgr;
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
        // Detached however the test ends, before the manager goes.
        const std::unique_ptr<ProjectFileWidget, void (*)(ProjectFileWidget*)> detach(page.get(), [](ProjectFileWidget* p) {
            p->unsetProjectFileMgr();
            p->unsetHXRuntime();
        });
        mgr.answerOpens(Success);
        runQuietly();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        LogCapture log;
        QListWidget* l = list();
        if (sorted)
            page->changeSortClicked();
        else
            l->scrollToBottom();

        // The tile the user sees at the row shows that row's project.
        const QPoint pos = l->visualItemRect(l->item(row)).center();
        QWidget* shown = l->viewport()->childAt(pos);
        while (shown && shown->parentWidget() != l->viewport())
            shown = shown->parentWidget();
        QVERIFY(shown);
        QCOMPARE(labelsOf(shown).value(2)->toolTip(), expected);

        if (action == QLatin1String("open")) {
            QTest::mouseClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
            QTest::mouseDClick(l->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
            QCOMPARE(mgr.callCount("loadProject"), std::size_t(1));
            QCOMPARE(QFileInfo(QString::fromStdString(mgr.lastCall("loadProject").path)).fileName(), expected);
        } else {
            chooseOnRow(row, action);
            QCOMPARE(l->count(), rows - 1);
            QVERIFY(!rowNames().contains(expected));
            QVERIFY(!readListFile().contains(expected.toUtf8()));
        }
    }

    void listOfOnlyDamagedEntriesEndsInTheEmptyView()
    {
        const QString broken = makeProject(QStringLiteral("broken.ptr7"));
        QVERIFY(vexatest::writeListFile(listOf({listEntry(broken, true)})));
        runQuietly();
        QCOMPARE(list()->count(), 1);
        QVERIFY(!emptyViewShown());
        page->changeSortClicked();
        QCOMPARE(list()->count(), 0);
        QVERIFY(emptyViewShown());
    }

    void deletingTheLastRowRemovesTheFileAndShowsTheEmptyView()
    {
        const QString only = makeProject(QStringLiteral("only.ptr7"));
        QVERIFY(vexatest::writeListFile(listOf({listEntry(only)})));
        runQuietly();
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));

        chooseOnRow(0, QStringLiteral("DeleteFiles"), 1);
        QVERIFY(!QFileInfo::exists(only));
        QCOMPARE(list()->count(), 0);
        QVERIFY(emptyViewShown());
        // The entry leaves the file at the next start, when its project is found gone.
        QCOMPARE(readListFile(), listOf({listEntry(only)}));
        page->changeSortClicked();
        QCOMPARE(list()->count(), 0);
        QCOMPARE(list()->findChildren<QLabel*>(QStringLiteral("emptyFileLabel")).size(), 1);
    }
};

VEXA_TEST_MAIN(TestRecentList)
#include "tst_recentlist.moc"
