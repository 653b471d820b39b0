// The recent list widget on its own: tiles made for the rows in view and
// handed on as the list scrolls or is re-sorted, the context menu and its
// signals, and the thumbnail cache.

#include "filelistitem.h"
#include "filelistwidget.h"
#include "modaldriver.h"
#include "pageaccessibility.h"
#include "recentrowaccessible.h"
#include "recenttiles.h"
#include "testfiles.h"
#include "testmain.h"
#include "thumbnailcache.h"
#include "translatemanager.h"
#include "translator.h"

#include <QtTest>
#include <QtWidgets>

using namespace vexa::projectfilemgr;
using vexatest::labelsOf;

namespace {

QPixmap pictureOf(QWidget* tile) { return labelsOf(tile).value(0)->pixmap(Qt::ReturnByValue); }
bool hasPicture(QWidget* tile) { return !pictureOf(tile).isNull(); }
QColor colorAt(QWidget* tile, int x) { return pictureOf(tile).toImage().pixelColor(x, 50); }
QString trashFolder() { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash"; }
STFileItem infoOf(const QString& path, const QString& image = QString())
{
    return STFileItem{QFileInfo(path).fileName(), "2024.01.02 03:04:05", "1.00KB", path, image};
}

} // namespace

class TestFileListWidget : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FileListWidget> list;
    std::unique_ptr<vexatest::ModalDriver> driver;

    QString makeJpeg(const QString& name, QColor color)
    {
        // The left half darker, to see how the picture is stretched over the label.
        QImage image(1920, 1080, QImage::Format_RGB32);
        image.fill(color);
        QPainter(&image).fillRect(0, 0, 960, 1080, color.darker());
        return image.save(dir->filePath(name), "JPG") ? dir->filePath(name) : QString();
    }
    FileListItem* top() { return list->tileFor(list->item(0)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
        installPageAccessibility();
    }

    void init()
    {
        TranslateManager::instance().translator().switchLanguage("xx");
        // In the private home, so deleted projects go to its trash.
        dir.reset(new QTemporaryDir(QDir::home().filePath("projects-XXXXXX")));
        QDir(trashFolder()).removeRecursively();
        ThumbnailCache::instance().clear();
        driver.reset(new vexatest::ModalDriver);
        list.reset(new FileListWidget);
        list->resize(844, 500);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    }

    void cleanup() { QCOMPARE(driver->pending(), 0); }

    void tilesShowTheirOwnRow_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<int>("rows"); // after the move
        QTest::newRow("scrolled to the end") << "end" << 30;
        QTest::newRow("scrolled out and back") << "back" << 30;
        QTest::newRow("re-sorted in reverse") << "sort" << 30;
        QTest::newRow("re-sorted into fewer rows") << "sort" << 20;
    }

    void tilesShowTheirOwnRow()
    {
        QFETCH(QString, move);
        QFETCH(int, rows);
        const QString red = makeJpeg("red.jpg", Qt::red), blue = makeJpeg("blue.jpg", Qt::blue);
        const QString broken = vexatest::makeFile(dir->filePath("broken.jpg")), unused = makeJpeg("d.jpg", Qt::green);
        // Project i: a long name every fifth; damaged every fourth, its picture never decoded; no
        // picture every third, but a file that is no picture at 2 and a missing one at 4.
        auto project = [&](int i) {
            const QString name = QString(i % 5 ? "p%1.ptr7" : "a-project-name-far-too-long-for-its-label-%1.ptr7").arg(i);
            const QString image = i % 4 == 1 ? unused : i == 2 ? broken : i == 4 ? dir->filePath("missing.jpg")
                                : i % 3 == 2 ? "" : i % 2 ? blue : red;
            return FileRow{infoOf(dir->filePath(name), image), i % 4 == 1, false};
        };
        for (int i = 0; i < 30; ++i)
            list->addFileListItem(project(i).info, project(i).damage);
        QCOMPARE(ThumbnailCache::instance().decodeCount(), 0); // nothing before it is painted
        QTRY_COMPARE(ThumbnailCache::instance().decodeCount(), 3); // the tiles off screen follow those in view
        // Decoded at the tile's size and stretched over it: the dark left half fills the left half.
        QTRY_VERIFY(hasPicture(top()));
        QCOMPARE(pictureOf(top()).size(), QSize(192, 108));
        QVERIFY(colorAt(top(), 150).red() > 240 && colorAt(top(), 40).red() < 160);
        // A language without texts: the tiles shown and every tile filled later speak it.
        list->switchLanguage("yy");
        std::vector<FileRow> wanted;
        for (int row = 0; row < rows; ++row)
            wanted.push_back(project(move == "sort" ? 29 - row : row));
        if (move == "sort")
            list->setRows(wanted);
        if (move == "end" || move == "back")
            list->scrollToBottom();
        if (move == "back")
            list->scrollToTop();
        QVERIFY(!list->refillFileListItem(rows, project(0).info, false));

        QCOMPARE(list->count(), rows);
        QVERIFY(list->tileFor(list->item(move == "end" ? rows - 1 : 0))); // the view went where it was sent
        QVERIFY(!list->shownTiles().isEmpty() && list->shownTiles().size() < 15);
        for (int row = 0; row < rows; ++row) {
            FileListItem* shown = list->tileFor(list->item(row));
            if (!shown)
                continue;
            const FileRow& want = wanted[row];
            FileListItem fresh; // how a new tile cuts a name
            fresh.setFileName(want.info.fileName);
            const QList<QLabel*> labels = labelsOf(shown);
            QCOMPARE(shown->geometry(), list->visualItemRect(list->item(row)));
            QCOMPARE(shown->getFilePath(), want.info.filePath.toStdString());
            QCOMPARE(labels.value(2)->text(), labelsOf(&fresh).value(2)->text());
            QVERIFY(want.info.fileName.size() < 10 || labels.value(2)->text().endsWith(QChar(0x2026)));
            QCOMPARE(labels.value(1)->text() + labels.value(5)->text(), QStringLiteral(":"));
            QCOMPARE(qMakePair(shown->isDamage(), labels.value(2)->isEnabled()), qMakePair(want.damage, !want.damage));
            if (want.damage || (want.info.imagePath != red && want.info.imagePath != blue)) {
                QVERIFY(!hasPicture(shown) && !shown->hasPendingThumbnail());
            } else {
                QTRY_VERIFY(hasPicture(shown));
                QVERIFY(want.info.imagePath == red ? colorAt(shown, 150).red() > 240 : colorAt(shown, 150).blue() > 240);
            }
        }
        // A tile handed on takes its picture from the cache, even the news that there is none.
        QCOMPARE(ThumbnailCache::instance().decodeCount(), 3);
    }

    void onlyTheTileUnderThePointerIsHovered()
    {
        // Tiles handed on while the list scrolls under a still pointer must not keep the
        // hover look Qt gave them where they were, nor miss it where the pointer is.
        for (int i = 0; i < 30; ++i)
            list->addFileListItem(infoOf(dir->filePath(QString("p%1.ptr7").arg(i))), false);
        QTest::mouseMove(list->viewport(), list->visualItemRect(list->item(0)).center());
        for (const int scroll : {0, 60, 240, 300, 100000, 0}) {
            list->verticalScrollBar()->setValue(scroll);
            const QPoint pointer = list->viewport()->mapFromGlobal(QCursor::pos());
            for (FileListItem* tile : list->shownTiles())
                QCOMPARE(tile->underMouse(), tile->geometry().contains(pointer));
        }
    }

    void cacheIsKeyedByFileAndPixelsAndBounded()
    {
        const QString image = makeJpeg("a.jpg", Qt::red), other = makeJpeg("b.jpg", Qt::blue);
        ThumbnailCache& cache = ThumbnailCache::instance();
        // As a tile gets it: asked, then taken from the cache once it is there.
        auto get = [&cache](const QString& path, qreal ratio) {
            bool ready = false;
            cache.request(path, QSize(192, 108), ratio, [&ready] { ready = true; });
            QPixmap picture;
            return QTest::qWaitFor([&ready] { return ready; }) && cache.lookup(path, QSize(192, 108), ratio, &picture)
                       ? picture
                       : QPixmap();
        };
        QCOMPARE(get(image, 2.0).size(), QSize(384, 216));
        QCOMPARE(get(image, 1.0).size(), QSize(192, 108));
        QCOMPARE(get(image, 2.0).devicePixelRatio(), 2.0);
        QCOMPARE(cache.decodeCount(), 2);
        makeJpeg("a.jpg", Qt::green); // a changed file is decoded again
        QVERIFY(get(image, 1.0).toImage().pixelColor(150, 50).green() > 200);
        // 100 KiB: room for one thumbnail of 192 x 108.
        const int bound = cache.maxCost();
        cache.setMaxCost(100);
        for (const QString& path : {other, image, other})
            get(path, 1.0);
        cache.setMaxCost(bound);
        QCOMPARE(cache.decodeCount(), 6);
    }

    void menuActions_data()
    {
        QTest::addColumn<QString>("target"); // file, gone, folder, or a path
        QTest::addColumn<QString>("action"); // empty: the menu is dismissed
        QTest::addColumn<int>("answer");     // to the delete question; -1: none is asked
        QTest::addColumn<bool>("removed");
        QTest::newRow("clear, another row remains") << "file" << "ClearFile" << -1 << true;
        QTest::newRow("delete, another row remains") << "file" << "DeleteFiles" << 1 << true;
        QTest::newRow("delete cancelled") << "file" << "DeleteFiles" << 2 << false;
        QTest::newRow("delete question closed") << "file" << "DeleteFiles" << 0 << false;
        QTest::newRow("delete question, Enter") << "file" << "DeleteFiles" << vexatest::ModalDriver::EnterKey << false;
        QTest::newRow("delete a missing file") << "gone" << "DeleteFiles" << 1 << true;
        QTest::newRow("delete a folder") << "folder" << "DeleteFiles" << 1 << false;
        QTest::newRow("delete a file of the system") << "/proc/self/status" << "DeleteFiles" << 1 << false;
        QTest::newRow("dismissed") << "file" << "" << -1 << false;
    }

    void menuActions()
    {
        QFETCH(QString, target);
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(bool, removed);
        const QString path = target.startsWith('/') ? target : dir->filePath("target.ptr7");
        const QString other = dir->filePath("other.ptr7");
        QVERIFY(target != "folder" || QDir().mkdir(path));
        QVERIFY(target != "file" || vexatest::makeFile(path) == path);
        list->addFileListItem(infoOf(path), false);
        list->addFileListItem(infoOf(other), false);
        std::vector<std::string> cleared, gone; // the paths the two signals report
        connect(list.get(), &FileListWidget::clearListFile, [&cleared](std::string path) { cleared.push_back(path); });
        connect(list.get(), &FileListWidget::fileItemRemoved, [&gone](std::string path) { gone.push_back(path); });
        driver->chooseMenuAction(action);
        if (answer >= 0)
            driver->answerTip(answer);
        // A confirmed delete that left the file is told of, with the reason.
        const bool refused = answer == 1 && !removed;
        if (refused)
            driver->answerTip(1);
        const QPoint pos = list->visualItemRect(list->item(0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &event);

        QCOMPARE(driver->menuTexts(), (QStringList{"PinToTop", "ClearFile", "DeleteFiles"}));
        // The file goes to the trash off the GUI thread.
        QTRY_COMPARE(driver->tipTexts().size(), int(answer >= 0) + int(refused));
        const QStringList tips = driver->tipTexts();
        QCOMPARE(tips.value(0), answer >= 0 ? "DeleteFileTip\n" + path : QString());
        if (refused) // with the reason after the path
            QVERIFY(tips.at(1).startsWith("DeleteFailedTip\n" + path + "\n") && !tips.at(1).endsWith('\n'));
        const std::vector<std::string> once{path.toStdString()}, none;
        QCOMPARE(cleared, removed && action == "ClearFile" ? once : none);
        QTRY_COMPARE(gone, removed ? once : none);
        QCOMPARE(list->count(), 2 - removed);
        QCOMPARE(top()->getFilePath(), (removed ? other : path).toStdString());
        // A deleted project can be taken back out of the trash.
        const bool trashed = removed && action == "DeleteFiles" && target == "file";
        QCOMPARE(QFileInfo::exists(path), target != "gone" && !trashed);
        QCOMPARE(QFileInfo::exists(trashFolder() + "/files/target.ptr7"), trashed);
    }

    // A screen reader sees every row, shown by a tile or not, named by its
    // project and described by its facts, and acts on it as the keys do.
    void rowsForScreenReaders()
    {
        for (int i = 0; i < 30; ++i)
            list->addFileListItem(infoOf(dir->filePath(QStringLiteral("p%1.ptr7").arg(i))), i == 4);
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list.get());
        QCOMPARE(view->role(), QAccessible::List);
        QCOMPARE(view->childCount(), 30);
        QAccessibleInterface* row = view->child(29);
        QCOMPARE(row->text(QAccessible::Name), QStringLiteral("p29.ptr7"));
        QCOMPARE(row->text(QAccessible::Description),
                 QStringLiteral("RecentRowFacts 2024.01.02 03:04:05 1.00KB %1").arg(dir->filePath("p29.ptr7")));
        QCOMPARE(view->child(4)->text(QAccessible::Description).left(23), QStringLiteral("RecentRowDamaged Recent"));
        QVERIFY(row->state().offscreen && !view->child(0)->state().offscreen);
        QCOMPARE(view->indexOfChild(row), 29);
        QCOMPARE(view->child(29), row); // the same object each time
        const QRect first = view->child(0)->rect();
        QCOMPARE(view->childAt(first.center().x(), first.center().y()), view->child(0));

        // Its press opens the row, as Enter does, once the call has returned.
        QList<int> opened;
        connect(list.get(), &FileListWidget::keyActivated, this, [&](QListWidgetItem* item) { opened << list->row(item); });
        row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(opened, QList<int>());
        QTRY_COMPARE(opened, QList<int>{29});
        // A row taken out leaves its interface invalid; the others follow their rows.
        QAccessibleInterface* gone = view->child(28);
        delete list->takeItem(28);
        QVERIFY(!gone->isValid() && row->isValid());
        QCOMPARE(view->child(28), row);
        QCOMPARE(view->child(29), nullptr);
    }
};

VEXA_TEST_MAIN(TestFileListWidget)
#include "tst_filelistwidget.moc"
