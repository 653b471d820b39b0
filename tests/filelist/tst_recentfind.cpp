// Finding and keeping projects in the recent list: the filter box and pins,
// as a user reaches them, and as the list file keeps them.

#include "hxruntime.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recenttiles.h"
#include "recordingmanager.h"
#include "testfiles.h"
#include "testmain.h"

#include <QtTest>
#include <QtWidgets>
#include <filesystem>

using namespace vexa::projectfilemgr;
using namespace vexatest;

namespace {

QDateTime at(int hour) { return QDateTime(QDate(2024, 6, 1), QTime(hour, 0)); }

} // namespace

class TestRecentFind : public QObject
{
    Q_OBJECT

    norvane::HXRuntime runtime;
    RecordingManager mgr;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<ProjectFileWidget> page;

    QString makeProject(const QString& name, const QDateTime& modified = QDateTime(), int size = 2)
    {
        QDir().mkpath(QFileInfo(dir->filePath(name)).path());
        return makeFile(dir->filePath(name), QByteArray(size, '\0'), modified);
    }
    QListWidget* list() const { return page->findChild<QListWidget*>("FileListWidget"); }
    QLineEdit* filter() const { return page->findChild<QLineEdit*>("filterEdit"); }
    QWidget* tile(int row) const { return tileOfRow(list(), row); }
    // The rows' names in order, a pinned one marked with a star.
    QStringList rowNames() const
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row) {
            QWidget* t = tile(row);
            const QLabel* mark = t->findChild<QLabel*>("pinMark");
            const bool pinned = t->property("pinned").toBool();
            if (pinned != (mark && !mark->isHidden()))
                return {QStringLiteral("pin mark and property disagree on row %1").arg(row)};
            names << labelsOf(t).value(2)->toolTip() + (pinned ? "*" : "");
        }
        return names;
    }
    QString noMatchLine() const
    {
        const QLabel* line = list()->findChild<QLabel*>("noMatchText");
        return line && !line->isHidden() ? line->text() : QString();
    }
    void sortBy(int rule, int directionClicks)
    {
        for (QComboBox* box : page->findChildren<QComboBox*>()) {
            if (box->count() == 3) // not the language box
                box->setCurrentIndex(box->findData(rule, Qt::UserRole));
        }
        for (int i = 0; i < directionClicks; ++i)
            page->findChild<QPushButton*>("changeSort")->click();
    }

private Q_SLOTS:
    void init()
    {
        dir.reset(new QTemporaryDir(QDir::home().filePath("projects-XXXXXX")));
        QDir(QFileInfo(listFilePath()).path()).removeRecursively();
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
        page->loadLanguageFiles({QStringLiteral(VEXA_ECHO_QM)});
        page->switchLanguage("xx");
        page->setHXRuntime(&runtime);
        page->setProjectFileMgr(&mgr);
    }

    void cleanup()
    {
        page.reset();
        // The filter's clear button fades with an animation of Qt's that only
        // frees itself on a tick after its button went; without one a suite
        // ending right after a clear would report it as leaked.
        QTest::qWait(50);
        std::filesystem::remove_all(QFile::encodeName(dir->path()).toStdString());
        QCOMPARE(driver->pending(), 0);
    }

    void filterMatchesNameOrFolder_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("rows");
        // Words no folder of a test machine holds: the filter matches the whole path.
        const QStringList all{"Xylo Quartz.ptr7", "zebu.ptr7", "灯光秀.ptr7", "Cafe\u0301.ptr7"};
        QTest::newRow("nothing typed") << "" << all;
        QTest::newRow("other case") << "xYLO" << QStringList{"Xylo Quartz.ptr7"};
        QTest::newRow("a folder, other case") << "VORTEX" << QStringList{"zebu.ptr7"};
        QTest::newRow("CJK name part") << "灯光" << QStringList{"灯光秀.ptr7"};
        QTest::newRow("CJK folder") << "演出" << QStringList{"灯光秀.ptr7"};
        QTest::newRow("full-width Latin") << "ＺＥＢＵ" << QStringList{"zebu.ptr7"};
        QTest::newRow("composed accent, decomposed name") << "café" << QStringList{"Cafe\u0301.ptr7"};
        QTest::newRow("spaces around") << "  quartz " << QStringList{"Xylo Quartz.ptr7"};
        QTest::newRow("matching more than one") << ".PTR7" << all;
    }

    void filterMatchesNameOrFolder()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, rows);
        QList<QByteArray> entries;
        int hour = 14;
        for (const QString name : {"Xylo Quartz.ptr7", "Vortex/zebu.ptr7", "演出/灯光秀.ptr7", "Cafe\u0301.ptr7"})
            entries << listEntry(makeProject(name, at(hour--)));
        QVERIFY(writeListFile(listOf(entries)));
        page->run();
        filter()->setText(typed);
        QCOMPARE(rowNames(), rows);
        QCOMPARE(noMatchLine(), QString());
        // Screen readers hear how many of the projects match.
        QCOMPARE(filter()->accessibleDescription(),
                 typed.trimmed().isEmpty() ? QString() : QStringLiteral("FilterMatches %1 4").arg(rows.size()));
        // Nothing matches: a line says so, and the empty-list picture stays away.
        filter()->setText(typed + "\u2603");
        QCOMPARE(list()->count(), 0);
        QCOMPARE(noMatchLine(), QStringLiteral("NoProjectMatches %1\u2603").arg(typed));
        QVERIFY(!list()->findChild<QLabel*>("emptyFileLabel"));
        QCOMPARE(filter()->accessibleDescription(), QStringLiteral("FilterMatches 0 4"));
        filter()->clear();
        QCOMPARE(list()->count(), 4);
        QCOMPARE(noMatchLine(), QString());
    }

    void pinsLeadUnderEveryRule_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<int>("clicks"); // on the direction button; odd: ascending
        QTest::addColumn<QStringList>("order");
        // b and d are pinned; times rise from a to e, sizes are 400 100 300 200 500.
        QTest::newRow("time, newest first") << 0 << 0 << QStringList{"d-tulip*", "b-zinnia*", "e-zinnia", "c-tulip", "a-zinnia"};
        QTest::newRow("time, oldest first") << 0 << 1 << QStringList{"b-zinnia*", "d-tulip*", "a-zinnia", "c-tulip", "e-zinnia"};
        QTest::newRow("time, newest first again") << 0 << 2 << QStringList{"d-tulip*", "b-zinnia*", "e-zinnia", "c-tulip", "a-zinnia"};
        QTest::newRow("name, ascending") << 1 << 1 << QStringList{"b-zinnia*", "d-tulip*", "a-zinnia", "c-tulip", "e-zinnia"};
        QTest::newRow("name, descending") << 1 << 2 << QStringList{"d-tulip*", "b-zinnia*", "e-zinnia", "c-tulip", "a-zinnia"};
        QTest::newRow("size, largest first") << 2 << 0 << QStringList{"d-tulip*", "b-zinnia*", "e-zinnia", "a-zinnia", "c-tulip"};
        QTest::newRow("size, smallest first") << 2 << 1 << QStringList{"b-zinnia*", "d-tulip*", "c-tulip", "a-zinnia", "e-zinnia"};
    }

    void pinsLeadUnderEveryRule()
    {
        QFETCH(int, rule);
        QFETCH(int, clicks);
        QFETCH(QStringList, order);
        const QStringList names{"a-zinnia", "b-zinnia", "c-tulip", "d-tulip", "e-zinnia"};
        const int sizes[] = {400, 100, 300, 200, 500};
        QList<QByteArray> entries;
        for (int i = 0; i < names.size(); ++i)
            entries << listEntry(makeProject(names[i], at(10 + i), sizes[i]), false, "p", i == 1 || i == 3);
        QVERIFY(writeListFile(listOf(entries)));
        page->run();
        sortBy(rule, clicks);
        QCOMPARE(rowNames(), order);
        // The filter keeps the order it filters.
        filter()->setText("ZINNIA");
        const QStringList zinnia = order.filter("zinnia");
        QCOMPARE(rowNames(), zinnia);
        // The host finds each row's project by its place, as it is shown.
        for (int row = 0; row < zinnia.size(); ++row)
            QCOMPARE(QFileInfo(QString::fromStdString(page->getItemFilePath(row))).fileName(), QString(zinnia[row]).remove('*'));
        QCOMPARE(page->getItemFilePath(zinnia.size()), std::string());
        // A click after filtering turns the whole list round, pins still first.
        page->findChild<QPushButton*>("changeSort")->click();
        filter()->clear();
        QStringList turned = order.mid(2);
        std::reverse(turned.begin(), turned.end());
        turned.prepend(order[0]);
        turned.prepend(order[1]);
        QCOMPARE(rowNames(), turned);
    }

    // The pin is kept in the list file beside what older files hold; a file
    // without it reads as nothing pinned, and its other members stay. The
    // host, opening a pinned project again, keeps the pin.
    void pinTravelsThroughTheListFile()
    {
        const QString a = makeProject("a.ptr7", at(12)), b = makeProject("b.ptr7", at(11)), c = makeProject("c-0.ptr7", at(10));
        const QByteArray older = QStringLiteral(R"({"projects":[)"
                                                R"({"strProfileName":"A","strProfilePath":"%1","strImagePath":"","isDamageFile":false},)"
                                                R"({"strProfileName":"B","strProfilePath":"%2","strImagePath":"/img/b.png","isDamageFile":false},)"
                                                R"({"strProfileName":"C","strProfilePath":"%3","strImagePath":"","isDamageFile":false}]})")
                                     .arg(a, b, c)
                                     .toUtf8();
        QVERIFY(writeListFile(older));
        page->run();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        QCOMPARE(rowNames(), (QStringList{"a.ptr7", "b.ptr7", "c-0.ptr7"}));
        QCOMPARE(readListFile(), older); // read, not rewritten

        // Ctrl+P on the last row pins it: it goes first and the keyboard goes with it.
        list()->setFocus(Qt::TabFocusReason);
        typeKeys(page.get(), "End Ctrl+P");
        QCOMPARE(rowNames(), (QStringList{"c-0.ptr7*", "a.ptr7", "b.ptr7"}));
        QCOMPARE(list()->currentRow(), 0);
        const QByteArray pinned = listOf({listEntry(a, false, "A"),
                                          QByteArray(listEntry(b, false, "B")).replace(R"("strImagePath":"")", R"("strImagePath":"/img/b.png")"),
                                          listEntry(c, false, "C", true)});
        QCOMPARE(readListFile(), pinned);

        // The host opens it again (and a project since gone): it moves to the
        // file's front, still pinned. Read again, the page shows it pinned.
        QProcess host;
        host.start(VEXA_LISTWRITER, {listFilePath(), dir->path(), "c", "1"});
        QVERIFY(host.waitForFinished() && host.exitCode() == 0);
        QVERIFY(readListFile().startsWith(R"({"projects":[{"strProfileName":"gone")"));
        QVERIFY(readListFile().contains(listEntry(c, false, "c", true)));
        page->run();
        QCOMPARE(rowNames(), (QStringList{"c-0.ptr7*", "a.ptr7", "b.ptr7"}));

        // Its menu offers to unpin it.
        driver->chooseMenuAction("Unpin");
        list()->setFocus(Qt::TabFocusReason);
        list()->setCurrentRow(0);
        typeKeys(page.get(), "Menu");
        QCOMPARE(driver->menuTexts(), (QStringList{"Unpin", "ClearFile", "DeleteFiles"}));
        QCOMPARE(rowNames(), (QStringList{"a.ptr7", "b.ptr7", "c-0.ptr7"}));
        QVERIFY(readListFile().contains(listEntry(c, false, "c", false)));
    }

    // A pinned project whose file is gone stays, dimmed, until it is let go;
    // the one the page opens at start is the last used, not the pinned one.
    void goneButPinnedStaysUntilUnpinned()
    {
        const QString gone = dir->filePath("gone/old.ptr7");
        const QString kept = makeProject("kept.ptr7", at(9));
        QVERIFY(writeListFile(listOf({listEntry(gone, false, "p", true), listEntry(kept), listEntry(dir->filePath("x.ptr7"))})));
        page->run();
        QCOMPARE(rowNames(), (QStringList{"old.ptr7*", "kept.ptr7"}));
        QWidget* missing = tile(0);
        QCOMPARE(missing->property("storage").toString(), QStringLiteral("missing"));
        QVERIFY(!labelsOf(missing).value(2)->isEnabled());
        QCOMPARE(missing->toolTip(), QStringLiteral("MissingFileTip %1").arg(QFileInfo(gone).path()));
        QVERIFY(readListFile().contains(gone.toUtf8()));
        QVERIFY(!readListFile().contains("x.ptr7"));
        QCOMPARE(page->getItemFilePath(1), kept.toStdString());

        // Unpinned, it goes as any project that is gone.
        list()->setFocus(Qt::TabFocusReason);
        list()->setCurrentRow(0);
        typeKeys(page.get(), "Ctrl+P");
        QTRY_COMPARE(rowNames(), QStringList{"kept.ptr7"});
        QCOMPARE(readListFile(), listOf({listEntry(kept)}));
    }

    void ctrlFAndEscape()
    {
        QVERIFY(writeListFile(listOf({listEntry(makeProject("kumquat.ptr7", at(10))), listEntry(makeProject("quince.ptr7", at(9)))})));
        page->run();
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        list()->setFocus(Qt::TabFocusReason);
        typeKeys(page.get(), "Ctrl+F Q U I N");
        QCOMPARE(QApplication::focusWidget(), filter());
        QCOMPARE(rowNames(), QStringList{"quince.ptr7"});
        // Ctrl+F again selects what is there, so typing replaces it.
        list()->setFocus(Qt::TabFocusReason);
        typeKeys(page.get(), "Ctrl+F K U M Q");
        QCOMPARE(filter()->text(), QStringLiteral("kumq"));
        QCOMPARE(rowNames(), QStringList{"kumquat.ptr7"});
        // Escape clears the box and keeps the focus there, even where the host
        // gave Escape a meaning of its own; a second one goes on to that.
        QShortcut hostsEscape(QKeySequence(Qt::Key_Escape), page.get());
        QSignalSpy onToTheHost(&hostsEscape, &QShortcut::activated);
        typeKeys(page.get(), "Escape");
        QCOMPARE(filter()->text(), QString());
        QCOMPARE(rowNames(), (QStringList{"kumquat.ptr7", "quince.ptr7"}));
        QCOMPARE(QApplication::focusWidget(), filter());
        QCOMPARE(onToTheHost.count(), 0);
        typeKeys(page.get(), "Escape");
        QCOMPARE(onToTheHost.count(), 1);
        QVERIFY(page->isVisible());
        QCOMPARE(rowNames(), (QStringList{"kumquat.ptr7", "quince.ptr7"}));
    }
};

VEXA_TEST_MAIN(TestRecentFind)
#include "tst_recentfind.moc"
