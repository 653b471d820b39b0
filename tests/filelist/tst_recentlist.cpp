// The recent list as the page keeps it: reading, pruning and writing back the
// list file, the row texts, sorting, damaged entries, and the actions on a
// row as they reach the file and the manager.

#include "hxruntime.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recenttiles.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <fstream>
#include <map>

using namespace vexa::projectfilemgr;
using namespace vexatest;

class TestRecentList : public QObject
{
    Q_OBJECT

    norvane::HXRuntime runtime;
    RecordingManager mgr;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<ProjectFileWidget> page;

    QString makeProject(const QString& name, const QDateTime& modified = QDateTime(), int size = 2)
    {
        return makeFile(dir->filePath(name), QByteArray(size, '\0'), modified);
    }
    QListWidget* list() const { return page->findChild<QListWidget*>("FileListWidget"); }
    QWidget* tile(int row) const { return tileOfRow(list(), row); }
    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row)
            names << labelsOf(tile(row)).value(2)->toolTip();
        return names;
    }
    bool emptyViewShown() const
    {
        const QList<QLabel*> views = list()->findChildren<QLabel*>("emptyFileLabel");
        return views.size() == 1 && !views.at(0)->isHidden() &&
               list()->findChild<QLabel*>("emptyFileText")->text() == QLatin1String("EmptyFileList");
    }

private Q_SLOTS:
    void init()
    {
        dir.reset(new QTemporaryDir(QDir::home().filePath("projects-XXXXXX"))); // where the trash is
        QDir(QFileInfo(listFilePath()).path()).removeRecursively(); // the list file and its copies
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->loadLanguageFiles({QStringLiteral(VEXA_ECHO_QM)});
        page->switchLanguage("xx");
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
        mgr.clearCalls();
        mgr.answerOpens(Success); // so the busy dialog of an open closes
    }

    void cleanup()
    {
        std::filesystem::remove_all(QFile::encodeName(dir->path()).toStdString()); // names Qt cannot remove
        QCOMPARE(driver->pending(), 0);
    }

    void listFileIsPrunedAndWrittenBack_data()
    {
        // In the content, @A and @B stand for sound entries, @D for a damaged one, @F for a folder
        // and @G for a project that vanished; "<none>": there is no list file.
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("rows"); // their names, sorted
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<QString>("copy"); // where a damaged list is kept
        // Written by hand: a byte-order mark, comments, and a member the page does not know.
        QTest::newRow("vanished dropped") << QByteArray("\xEF\xBB\xBF{\"projects\"://\n[@A,@G,/**/@F,@A],\"x\":[{\"a\":[2]}]}")
                                          << QStringList{"a.ptr7", "a.ptr7", "f.ptr7"} << listOf({"@A", "@F", "@A"}) << "";
        QTest::newRow("nothing to prune, left as written")
            << QByteArray("{\"projects\":[@F, @A]}") << QStringList{"a.ptr7", "f.ptr7"}
            << QByteArray("{\"projects\":[@F, @A]}") << "";
        QTest::newRow("only damaged") << listOf({"@D"}) << QStringList{"d.ptr7"} << listOf({"@D"}) << "";
        QTest::newRow("no file") << QByteArray("<none>") << QStringList() << QByteArray("<missing>") << "";
        QTest::newRow("binary, earlier copy there") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16) << QStringList()
                                                    << listOf({}) << ".damaged.2";
        QTest::newRow("cut in the second entry") << QByteArray("{\"projects\":[@A,{\"strProfileName\":\"p\",\"strPro")
                                                 << QStringList{"a.ptr7"} << listOf({"@A"}) << ".damaged";
        QTest::newRow("bad entry after two good") << QByteArray(R"({"projects":[@A,@B,{"isDamageFile":}]})")
                                                  << QStringList{"a.ptr7", "b.ptr7"} << listOf({"@A", "@B"}) << ".damaged";
        QTest::newRow("the entries after a bad one") << QByteArray(R"({"projects":[@A,{"strProfilePath":"D:\projects\two.ptr7"},@B @F]})")
                                                     << QStringList{"a.ptr7", "b.ptr7", "f.ptr7"} << listOf({"@A", "@B", "@F"})
                                                     << ".damaged";
    }

    void listFileIsPrunedAndWrittenBack()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, rows);
        QFETCH(QByteArray, written);
        QFETCH(QString, copy);
        QVERIFY(QDir().mkdir(dir->filePath("f.ptr7"))); // a folder counts as a project
        const QByteArray a = listEntry(makeProject("a.ptr7")), b = listEntry(makeProject("b.ptr7"));
        const QByteArray d = listEntry(makeProject("d.ptr7"), true), f = listEntry(dir->filePath("f.ptr7"));
        auto fill = [&](QByteArray text) {
            return text.replace("@A", a).replace("@B", b).replace("@D", d).replace("@F", f).replace("@G", listEntry("/g"));
        };
        content = fill(content);
        QVERIFY(content == "<none>" || writeListFile(content));
        if (copy == ".damaged.2")
            QCOMPARE(makeFile(listFilePath() + ".damaged", "older"), listFilePath() + ".damaged");
        if (!copy.isEmpty())
            driver->answerTip(1);
        page->run();
        // The user is told of a damaged list once, and where its copy is.
        QTRY_COMPARE(driver->tipTexts(), copy.isEmpty() ? QStringList() : QStringList{"ListFileKeptTip\n" + listFilePath() + copy});
        QStringList names = rowNames();
        names.sort();
        QCOMPARE(names, rows);
        QCOMPARE(emptyViewShown(), rows.isEmpty());
        QCOMPARE(readListFile(), fill(written));
        // A damaged list is kept byte for byte, and never over an earlier copy.
        QFile kept(listFilePath() + (copy.isEmpty() ? ".damaged" : copy)), earlier(listFilePath() + ".damaged");
        QCOMPARE(kept.open(QIODevice::ReadOnly) ? kept.readAll() : "<missing>", copy.isEmpty() ? "<missing>" : content);
        QVERIFY(copy != ".damaged.2" || (earlier.open(QIODevice::ReadOnly) && earlier.readAll() == "older"));

        // A sort drops the damaged rows, and an empty list keeps one empty view.
        page->changeSortClicked();
        rows.removeAll("d.ptr7");
        QCOMPARE(list()->count(), rows.size());
        QCOMPARE(emptyViewShown(), rows.isEmpty());
        // Clearing a row drops every entry of its path from the file, not the project; a sort
        // brings none back, and the last one leaves the empty view.
        while (list()->count() > 0) {
            const QString name = rowNames().at(0);
            driver->chooseMenuAction("ClearFile");
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), tile(0)->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(tile(0), &event); // goes up from the tile, as a real click
            QVERIFY(!readListFile().contains("/" + name.toUtf8()) && QFileInfo::exists(dir->filePath(name)));
        }
        page->changeSortClicked();
        QCOMPARE(list()->count(), 0);
        QVERIFY(emptyViewShown());
    }

    void longListIsPrunedAndSortedWhole()
    {
        // Enough entries for the files to be looked at by several threads. File order, time
        // order and name order all differ; every seventh project is gone.
        const QDateTime base(QDate(2024, 6, 1), QTime(8, 0));
        const int count = 1500;
        QList<QByteArray> entries, kept;
        std::map<qint64, std::string> byTime;
        for (int i = 0; i < count; ++i) {
            const QString path = dir->filePath(QStringLiteral("p%1.ptr7").arg(i));
            const qint64 minutes = (i * 389) % count; // distinct
            if (i % 7 == 3) {
                entries << listEntry(path);
                continue;
            }
            entries << listEntry(makeFile(path, "x", base.addSecs(minutes * 60)));
            kept << entries.last();
            byTime.emplace(minutes, path.toStdString());
        }
        QVERIFY(writeListFile(listOf(entries)));
        static int pruned;
        pruned = 0;
        const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            pruned += text.endsWith(QLatin1String(" is empty file! error code is Success"));
        });
        page->run();
        // A machine slowed down (sanitizers, other work) may answer after the
        // load's wait: late answers still prune, and the next sort orders by them.
        QTRY_COMPARE(pruned, count - kept.size());
        qInstallMessageHandler(previous);
        QTRY_COMPARE(readListFile(), listOf(kept));
        QCOMPARE(list()->count(), kept.size());
        std::vector<std::string> newestFirst;
        for (auto it = byTime.crbegin(); it != byTime.crend(); ++it)
            newestFirst.push_back(it->second);
        auto newestFirstShown = [&] {
            for (int row = 0; row < list()->count(); ++row) {
                if (page->getItemFilePath(row) != newestFirst[static_cast<std::size_t>(row)])
                    return false;
            }
            return true;
        };
        QVERIFY(newestFirstShown() || QTest::qWaitFor([&] { return page->sortRuleChange(), newestFirstShown(); }));

        // A click turns the list round; a row back in view reads its file anew.
        QCOMPARE(labelsOf(tile(0)).value(4)->text(), QStringLiteral("0.00KB"));
        const QString top = QString::fromStdString(newestFirst.front());
        QVERIFY(!makeFile(top, QByteArray(2048, 'x'), base.addSecs(byTime.crbegin()->first * 60)).isEmpty());
        page->changeSortClicked();
        QCOMPARE(page->getItemFilePath(0), newestFirst.back());
        QCOMPARE(page->getItemFilePath(kept.size() - 1), newestFirst.front());
        page->changeSortClicked();
        QTRY_COMPARE(labelsOf(tile(0)).value(4)->text(), QStringLiteral("2.00KB"));

        // Read again, in another order: sorted afresh, not taken for sorted already.
        std::reverse(kept.begin(), kept.end());
        QVERIFY(writeListFile(listOf(kept)));
        page->run();
        QVERIFY(newestFirstShown() || QTest::qWaitFor([&] { return page->sortRuleChange(), newestFirstShown(); }));

        // The list file gone: none of its projects stays on the page.
        QVERIFY(QFile::remove(listFilePath()));
        page->run();
        QCOMPARE(list()->count(), 0);
        QVERIFY(emptyViewShown());
    }

    void failedWriteIsLoggedWithItsCause()
    {
        // The list file leads to a name too long for the writer's temporary file.
        const QString target = dir->filePath(QString(250, 'x'));
        // An entry whose project is gone makes the page write the list back.
        QCOMPARE(makeFile(target, listOf({listEntry(makeProject("a.ptr7")), listEntry("/gone")})), target);
        QVERIFY(QDir().mkpath(QFileInfo(listFilePath()).path()) && QFile::link(target, listFilePath()));
        LogCapture log;
        page->run();
        // Only the log tells of it: the rows read are shown all the same.
        QCOMPARE(log.count(QStringLiteral("saveToFile error:  File name too long  from: \"%1\"").arg(listFilePath())), 1);
        QCOMPARE(rowNames(), QStringList{"a.ptr7"});
    }

    void pathsThatAreNoTextAreActedOnAsStored_data()
    {
        QTest::addColumn<QString>("action"); // a double-click, or one of the row's menu
        QTest::newRow("open") << "open";
        QTest::newRow("forget") << "ClearFile";
        QTest::newRow("delete") << "DeleteFiles";
    }

    void pathsThatAreNoTextAreActedOnAsStored()
    {
        QFETCH(QString, action);
        // A name in Latin-1, as a copied disk may hold one. Qt cannot name it, nor remove it.
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        const std::string trash = QFile::encodeName(data + "/Trash").toStdString();
        std::filesystem::remove_all(trash);
        const std::string path = QFile::encodeName(dir->path()).toStdString() + "/caf\xE9.ptr7";
        QVERIFY(bool(std::ofstream(path) << std::string(2048, 'x')));
        QVERIFY(writeListFile("{\"projects\":[{\"strProfilePath\":\"" + QByteArray::fromStdString(path) + "\"}]}"));
        page->run();
        QCOMPARE(page->getItemFilePath(0), path);
        QCOMPARE(labelsOf(tile(0)).value(4)->text(), QStringLiteral("2.00KB"));
        if (action == "open") {
            page->slotItemDoubleClicked(list()->item(0));
            QTRY_COMPARE(mgr.lastCall("loadProject").path, path);
            return;
        }
        driver->chooseMenuAction(action);
        if (action == "DeleteFiles")
            driver->answerTip(1);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), tile(0)->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(tile(0), &event);
        QTRY_COMPARE(list()->count(), 0);
        page->changeSortClicked(); // nothing comes back
        QCOMPARE(list()->count(), 0);
        QCOMPARE(std::filesystem::exists(path), action == "ClearFile");
        QCOMPARE(std::filesystem::exists(trash + "/files/caf\xE9.ptr7"), action == "DeleteFiles");
        // A deleted project leaves the list file at the next load, as its file is gone.
        QCOMPARE(readListFile().contains("caf\xE9"), action == "DeleteFiles");
    }

    void damagedListIsLeftAloneWhenNoCopyCanBeKept()
    {
        // Every name for a copy is taken. The damaged file is then the one copy of the
        // user's entries: neither the load nor a damaged answer writes over it.
        const QString broken = makeProject("broken.ptr7");
        const QByteArray damaged = "{\"projects\":[" + listEntry(broken) + ",{";
        QVERIFY(writeListFile(damaged));
        for (int n = 1; n <= 1000; ++n)
            QVERIFY(!makeFile(listFilePath() + ".damaged" + (n > 1 ? "." + QString::number(n) : "")).isEmpty());
        page->run();
        QCOMPARE(list()->count(), 0);
        mgr.answerOpens(FileDamage, "loadProject");
        driver->acceptFileDialog(broken);
        driver->answerTip(1);
        page->openClicked();
        QCOMPARE(readListFile(), damaged);
    }

    void writersInSeveralProcessesKeepEveryEntry()
    {
        // Two host processes add projects while the page loads the list again and again,
        // pruning the gone project they keep adding.
        const int count = 100;
        for (const QString prefix : {"x", "y"})
            for (int i = 0; i < count; ++i)
                QVERIFY(!makeProject(QStringLiteral("%1-%2.ptr7").arg(prefix).arg(i)).isEmpty());
        QProcess writers[2];
        for (int w = 0; w < 2; ++w)
            writers[w].start(VEXA_LISTWRITER, {listFilePath(), dir->path(), w ? "y" : "x", QString::number(count)});
        while (writers[0].state() != QProcess::NotRunning || writers[1].state() != QProcess::NotRunning) {
            page->run();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        const QByteArray list = readListFile();
        int listed = 0;
        for (const QString prefix : {"x", "y"})
            for (int i = 0; i < count; ++i)
                listed += list.contains(QStringLiteral(",\"strProfilePath\":\"%1/%2-%3.ptr7\",").arg(dir->path(), prefix).arg(i).toUtf8());
        QCOMPARE(writers[0].exitCode() + writers[1].exitCode(), 0);
        QCOMPARE(listed, 2 * count);
    }

    void damagedAnswerEditsTheFileAsItIsNow()
    {
        // The page never read the list (a project named on the command line
        // opens before it), and the host keeps other entries in it.
        const QByteArray other = listEntry(makeProject("other.ptr7"));
        const QString broken = makeProject("broken.ptr7");
        QVERIFY(writeListFile(listOf({other, listEntry(broken)}) + "\n"));
        mgr.answerOpens(FileDamage, "loadProject");
        driver->acceptFileDialog(broken);
        driver->answerTip(1);
        page->openClicked();
        QCOMPARE(readListFile(), listOf({other, listEntry(broken, true)}));
    }

    // What a user without a mouse does on the two lists: real keys on the
    // list the focus is in, with the questions and menus they bring.
    void keyboardOnly_data()
    {
        QTest::addColumn<QString>("list");   // where the focus is put, as Tab puts it
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("answer"); // to the question ("tip 9": Enter), menu or file dialog on the way
        QTest::addColumn<QString>("call");   // the one call the manager gets, if any
        QTest::addColumn<QStringList>("rows");
        const QStringList all{"c.ptr7", "b.ptr7", "a.ptr7"}; // newest first
        QTest::newRow("Enter opens") << "FileListWidget" << "Return" << "" << "loadProject c.ptr7" << all;
        QTest::newRow("End, Enter opens the last") << "FileListWidget" << "End Return" << "" << "loadProject a.ptr7" << all;
        QTest::newRow("Delete asks; Enter keeps the project") << "FileListWidget" << "Delete" << "tip 9" << "" << all;
        QTest::newRow("Delete asks; yes deletes") << "FileListWidget" << "Right Delete" << "tip 1" << ""
                                                  << QStringList{"c.ptr7", "a.ptr7"};
        QTest::newRow("Menu key, forget") << "FileListWidget" << "Menu" << "menu ClearFile" << ""
                                          << QStringList{"b.ptr7", "a.ptr7"};
        QTest::newRow("Shift+F10, dismissed") << "FileListWidget" << "Shift+F10" << "menu " << "" << all;
        QTest::newRow("Enter on a template") << "TemplateListWidget" << "Right Right Return" << "file new"
                                             << "createProject 3" << all;
        QTest::newRow("Space on a template") << "TemplateListWidget" << "Space" << "file new" << "createProject 1" << all;
    }

    void keyboardOnly()
    {
        QFETCH(QString, list);
        QFETCH(QString, keys);
        QFETCH(QString, answer);
        QFETCH(QString, call);
        QFETCH(QStringList, rows);
        QList<QByteArray> entries;
        for (int i = 0; i < 3; ++i)
            entries << listEntry(makeProject(QStringLiteral("%1.ptr7").arg(QChar('a' + i)), QDateTime(QDate(2024, 6, 1), QTime(10 + i, 0))));
        QVERIFY(writeListFile(listOf(entries)));
        page->run();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        const QStringList reply = answer.split(' ');
        if (reply[0] == "tip")
            driver->answerTip(reply[1].toInt());
        if (reply[0] == "menu")
            driver->chooseMenuAction(reply[1]);
        if (reply[0] == "file")
            driver->acceptFileDialog(dir->filePath(reply[1]));
        page->findChild<QWidget*>(list)->setFocus(Qt::TabFocusReason);
        typeKeys(page.get(), keys);

        // An open looks for its file, a delete moves it, off the GUI thread.
        QTRY_COMPARE(rowNames(), rows);
        QTRY_COMPARE(mgr.calls().size(), std::size_t(call.isEmpty() ? 0 : 1));
        const std::vector<ManagerCall> calls = mgr.calls();
        if (!calls.empty())
            QCOMPARE(QString::fromStdString(calls[0].name) + ' ' +
                         (calls[0].name == "loadProject" ? QFileInfo(QString::fromStdString(calls[0].path)).fileName()
                                                         : QString::number(calls[0].mode)),
                     call);
        QCOMPARE(rowNames(), rows);
        // A menu from the keyboard shows at the tile of the row it is for.
        for (const QPoint& at : driver->menuPositions())
            QVERIFY(QRect(tile(0)->mapToGlobal(QPoint(0, 0)), tile(0)->size()).contains(at));
        QCOMPARE(driver->menuPositions().size(), int(reply[0] == "menu"));
    }

    void sortRulesBothWays_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("clicks"); // on the direction button; odd: ascending
        QTest::addColumn<QStringList>("order");
        QTest::newRow("time, descending") << 0 << 2 << QStringList{"zeta.ptr7", "Alpha.ptr7", "beta.ptr7", "alpha.ptr7"};
        QTest::newRow("time, ascending") << 0 << 1 << QStringList{"alpha.ptr7", "beta.ptr7", "Alpha.ptr7", "zeta.ptr7"};
        QTest::newRow("name, ascending") << 1 << 1 << QStringList{"Alpha.ptr7", "alpha.ptr7", "beta.ptr7", "zeta.ptr7"};
        QTest::newRow("name, descending") << 1 << 0 << QStringList{"zeta.ptr7", "beta.ptr7", "alpha.ptr7", "Alpha.ptr7"};
        QTest::newRow("size, descending") << 2 << 0 << QStringList{"alpha.ptr7", "zeta.ptr7", "Alpha.ptr7", "beta.ptr7"};
        QTest::newRow("size, ascending") << 2 << 1 << QStringList{"beta.ptr7", "Alpha.ptr7", "zeta.ptr7", "alpha.ptr7"};
    }

    void sortRulesBothWays()
    {
        QFETCH(int, rule);
        QFETCH(int, clicks);
        QFETCH(QStringList, order);
        // Modified from 10:00 on, hourly; the sizes straddle the switch from KB to MB.
        const QStringList names{"alpha.ptr7", "beta.ptr7", "Alpha.ptr7", "zeta.ptr7", "broken.ptr7"};
        const QStringList stamps{"10:00:00 1.00MB", "11:00:00 0.98KB", "12:00:00 1000.00KB", "13:00:00 0.98MB"};
        const int sizes[] = {1048576, 1000, 1023999, 1024000, 1};
        QList<QByteArray> entries;
        for (int i = 0; i < 5; ++i)
            entries << listEntry(makeProject(names[i], QDateTime(QDate(2024, 6, 1), QTime(10 + i, 0)), sizes[i]), i == 4);
        QVERIFY(writeListFile(listOf(entries)));
        page->run();
        QCOMPARE(rowNames(), (QStringList{"broken.ptr7", "zeta.ptr7", "Alpha.ptr7", "beta.ptr7", "alpha.ptr7"}));
        // The damaged entry is shown as such and is no record of the list. A double-click opens
        // nothing but says why, and shows the file as it is now (here repaired, and larger).
        QCOMPARE(labelsOf(tile(0)).value(0)->property("damage"), QVariant(true));
        QVERIFY(!makeProject(names[4], QDateTime(QDate(2024, 6, 1), QTime(14, 0)), 2048).isEmpty());
        driver->answerTip(1);
        page->slotItemDoubleClicked(list()->item(0));
        QCOMPARE(driver->tipTexts(), QStringList{"DamagedFileTip"});
        QTRY_COMPARE(labelsOf(tile(0)).value(4)->text() + labelsOf(tile(0)).value(0)->property("damage").toString(), "2.00KBtrue");
        QCOMPARE(mgr.callCount("loadProject"), std::size_t(0));
        QCOMPARE(page->getItemFilePath(0), dir->filePath("zeta.ptr7").toStdString());

        QComboBox* box = nullptr;
        for (QComboBox* each : page->findChildren<QComboBox*>())
            box = each->count() == 3 ? each : box; // not the language box
        box->setCurrentIndex(box->findData(rule, Qt::UserRole));
        QPushButton* direction = page->findChild<QPushButton*>("changeSort");
        for (int i = 0; i < clicks; ++i)
            direction->click();
        page->sortRuleChange(); // the same rule again changes nothing
        QCOMPARE(direction->property("changeSortSelect").toBool(), clicks % 2 == 1);
        QCOMPARE(rowNames(), order); // without the damaged entry
        for (int row = 0; row < order.size(); ++row) {
            QCOMPARE(QFileInfo(QString::fromStdString(page->getItemFilePath(row))).fileName(), order[row]);
            // Rows filled by the sort read their file, and speak the page's language.
            const QList<QLabel*> labels = labelsOf(tile(row));
            QCOMPARE(labels[3]->text() + " " + labels[4]->text(), "2024.06.01 " + stamps[names.indexOf(order[row])]);
            QCOMPARE(labels[1]->text() + labels[5]->text(), QStringLiteral("NameInput:StorageLocation"));
        }
        // A double-click opens the project of the row under the mouse.
        const QPoint pos = list()->visualItemRect(list()->item(1)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
        // The file is looked for off the GUI thread first.
        QTRY_COMPARE(mgr.lastCall("loadProject").path, dir->filePath(order[1]).toStdString());

        // No record past either end.
        QCOMPARE(page->getItemFilePath(4), std::string());
        QCOMPARE(page->getItemFilePath(-1), std::string());
        // A language switch reaches the tiles already shown.
        page->switchLanguage("yy");
        QCOMPARE(labelsOf(tile(0)).value(1)->text() + labelsOf(tile(0)).value(5)->text(), QStringLiteral(":"));
    }
};

VEXA_TEST_MAIN(TestRecentList)
#include "tst_recentlist.moc"
