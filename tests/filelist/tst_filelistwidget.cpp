// The recent list widget on its own: tiles, the damaged look, the context
// menu and its signals, and the thumbnail cache.

#include "filelistitem.h"
#include "filelistwidget.h"
#include "logcapture.h"
#include "modaldriver.h"
#include "testfiles.h"
#include "testmain.h"
#include "thumbnailcache.h"
#include "translatemanager.h"
#include "translator.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace vexa::projectfilemgr;
using vexatest::LogCapture;
using vexatest::ModalDriver;

Q_DECLARE_METATYPE(std::string)

namespace {

QList<QLabel*> labelsOf(QWidget* tile)
{
    return tile ? tile->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly) : QList<QLabel*>();
}

QPixmap pictureOf(QWidget* tile)
{
    return labelsOf(tile).value(0)->pixmap(Qt::ReturnByValue);
}

QString trashFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
}

QString trashed(const QString& name)
{
    return trashFolder() + QStringLiteral("/files/") + name;
}

bool hasPicture(QWidget* tile)
{
    return !pictureOf(tile).isNull();
}

} // namespace

class TestFileListWidget : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FileListWidget> list;
    std::unique_ptr<ModalDriver> driver;

    QString makeFile(const QString& name, const QByteArray& content = "{}")
    {
        return vexatest::makeFile(dir->filePath(name), content);
    }

    QString makeJpeg(const QString& name, QColor color)
    {
        QImage image(1920, 1080, QImage::Format_RGB32);
        image.fill(color);
        QPainter painter(&image);
        painter.fillRect(0, 0, 960, 1080, color.darker());
        painter.end();
        const QString path = dir->filePath(name);
        return image.save(path, "JPG") ? path : QString();
    }

    // Only rows in view have a tile: the row is scrolled into view first.
    FileListItem* tile(int row) const
    {
        list->scrollToItem(list->item(row));
        return list->tileFor(list->item(row));
    }

    static STFileItem infoOf(const QString& path, const QString& image = QString())
    {
        STFileItem info;
        info.fileName = QFileInfo(path).fileName();
        info.modifyTime = QStringLiteral("2024.01.02 03:04:05");
        info.fileSize = QStringLiteral("1.00KB");
        info.filePath = path;
        info.imagePath = image;
        return info;
    }

    void add(const QString& path, const QString& image = QString(), bool damage = false)
    {
        LogCapture quiet;
        list->addFileListItem(infoOf(path, image), damage);
    }

    void showList()
    {
        list->resize(844, 500);
        list->show();
        QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    }

    void rightClick(int row)
    {
        const QPoint pos = row < 0 ? QPoint(list->viewport()->width() - 5, list->viewport()->height() - 5)
                                   : list->visualItemRect(list->item(row)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, list->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(list->viewport(), &event);
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<std::string>("std::string");
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
        TranslateManager::instance().translator().switchLanguage(QStringLiteral("xx"));
    }

    void init()
    {
        // In the private home, so deleted projects go to its trash.
        dir.reset(new QTemporaryDir(QDir::home().filePath(QStringLiteral("projects-XXXXXX"))));
        QDir(trashFolder()).removeRecursively();
        QVERIFY(dir->isValid());
        ThumbnailCache::instance().clear();
        driver.reset(new ModalDriver);
        list.reset(new FileListWidget);
    }

    void cleanup()
    {
        TranslateManager::instance().translator().switchLanguage(QStringLiteral("xx"));
        QCOMPARE(driver->pending(), 0);
        list.reset();
        driver.reset();
    }

    void longTextsAreElidedWithTheFullTextInTheTooltip()
    {
        const QString longName = QStringLiteral("a-project-name-far-too-long-for-its-label-on-the-tile.ptr7");
        const QString path = dir->filePath(longName);
        add(path);
        add(dir->filePath(QStringLiteral("a.ptr7")));

        QList<QLabel*> labels = labelsOf(tile(0));
        QVERIFY(labels.value(2)->text().endsWith(QChar(0x2026)));
        QVERIFY(labels.value(2)->text().size() < longName.size());
        QCOMPARE(labels.value(2)->toolTip(), longName);
        QVERIFY(labels.value(6)->text().endsWith(QChar(0x2026)));
        QCOMPARE(labels.value(6)->toolTip(), path);
        QCOMPARE(tile(0)->getFilePath(), path.toStdString());

        labels = labelsOf(tile(1));
        QCOMPARE(labels.value(2)->text(), QStringLiteral("a.ptr7"));
        QCOMPARE(labels.value(3)->text(), QStringLiteral("2024.01.02 03:04:05"));
        QCOMPARE(labels.value(4)->text(), QStringLiteral("1.00KB"));

        // Captions come in the current language, and follow a switch.
        QCOMPARE(labels.value(1)->text(), QStringLiteral("NameInput:"));
        QCOMPARE(labels.value(5)->text(), QStringLiteral("StorageLocation"));
        list->switchLanguage(QStringLiteral("yy"));
        QCOMPARE(labels.value(1)->text(), QStringLiteral(":"));
        QCOMPARE(labels.value(5)->text(), QString());
    }

    void damagedTileIsDisabledAndLoadsNoPicture()
    {
        const QString image = makeJpeg(QStringLiteral("thumb.jpg"), Qt::red);
        add(makeFile(QStringLiteral("broken.ptr7")), image, true);
        add(makeFile(QStringLiteral("fine.ptr7")), image, false);
        showList();

        QTRY_VERIFY(hasPicture(tile(1)));
        QVERIFY(tile(0)->isDamage());
        QVERIFY(!tile(1)->isDamage());
        const QList<QLabel*> labels = labelsOf(tile(0));
        QCOMPARE(labels.value(0)->property("damage"), QVariant(true));
        for (int i = 1; i < labels.size(); ++i)
            QVERIFY(!labels.at(i)->isEnabled());
        QVERIFY(!hasPicture(tile(0)));
        QVERIFY(!tile(0)->hasPendingThumbnail());
        QCOMPARE(ThumbnailCache::instance().decodeCount(), 1);
    }

    void thumbnailsAreDecodedOnceAtTileSize()
    {
        const QStringList images{makeJpeg(QStringLiteral("a.jpg"), Qt::red), makeJpeg(QStringLiteral("b.jpg"), Qt::green),
                                 makeJpeg(QStringLiteral("c.jpg"), Qt::blue)};
        const QString broken = makeFile(QStringLiteral("broken.jpg"), "not a picture");
        const QString missing = dir->filePath(QStringLiteral("missing.jpg"));
        const QStringList all = images + QStringList{broken, missing};
        auto build = [&] {
            list->clear();
            for (const QString& image : all)
                add(makeFile(QFileInfo(image).baseName() + QStringLiteral(".ptr7")), image);
        };
        ThumbnailCache& cache = ThumbnailCache::instance();

        build();
        QCOMPARE(cache.decodeCount(), 0); // nothing is decoded before it is needed
        showList();
        // Off-screen tiles follow the visible ones.
        QTRY_COMPARE(cache.decodeCount(), 4);
        for (int row = 0; row < 3; ++row) {
            QTRY_VERIFY(hasPicture(tile(row)));
            QCOMPARE(pictureOf(tile(row)).size(), QSize(192, 108));
            QCOMPARE(int(labelsOf(tile(row)).value(0)->alignment()), int(Qt::AlignCenter));
        }
        // Stretched over the whole label: the dark left half of the picture fills the left half.
        QVERIFY(pictureOf(tile(0)).toImage().pixelColor(150, 50).red() > 240);
        QVERIFY(pictureOf(tile(0)).toImage().pixelColor(40, 50).red() < 160);
        QVERIFY(!hasPicture(tile(3))); // cannot be decoded: the label stays empty
        QVERIFY(!hasPicture(tile(4)));

        // A rebuild of the list decodes nothing again.
        const int hits = cache.hitCount();
        build();
        for (int row = 0; row < 3; ++row)
            QVERIFY(hasPicture(tile(row)));
        QCOMPARE(cache.hitCount(), hits + 4);
        for (int row = 0; row < all.size(); ++row)
            QVERIFY(!tile(row)->hasPendingThumbnail());
        QCoreApplication::processEvents();
        QCOMPARE(cache.decodeCount(), 4);

        // A changed file is decoded again.
        QFile changed(images.at(1));
        QVERIFY(changed.open(QIODevice::ReadWrite));
        QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        changed.close();
        build();
        QTRY_COMPARE(cache.decodeCount(), 5);
        QTRY_VERIFY(hasPicture(tile(1)));
    }

    void thumbnailsFollowThePixelRatio()
    {
        const QString image = makeJpeg(QStringLiteral("a.jpg"), Qt::red);
        ThumbnailCache& cache = ThumbnailCache::instance();
        const QPixmap sharp = cache.thumbnail(image, QSize(192, 108), 2.0);
        QCOMPARE(sharp.size(), QSize(384, 216));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        const QPixmap plain = cache.thumbnail(image, QSize(192, 108), 1.0);
        QCOMPARE(plain.size(), QSize(192, 108));
        QCOMPARE(cache.decodeCount(), 2);
        cache.thumbnail(image, QSize(192, 108), 2.0);
        QCOMPARE(cache.decodeCount(), 2);
    }

    void cacheStaysWithinItsBound()
    {
        ThumbnailCache& cache = ThumbnailCache::instance();
        const int bound = cache.maxCost();
        cache.setMaxCost(100); // KiB: room for one thumbnail of 192 x 108
        const QString a = makeJpeg(QStringLiteral("a.jpg"), Qt::red);
        const QString b = makeJpeg(QStringLiteral("b.jpg"), Qt::blue);
        for (const QString& path : {a, b, a, b})
            QVERIFY(!cache.thumbnail(path, QSize(192, 108), 1.0).isNull());
        cache.setMaxCost(bound);
        QCOMPARE(cache.decodeCount(), 4);
    }

    void menuActions_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("fileGoneBefore");
        QTest::addColumn<int>("answer"); // to the delete question; -1: no question expected
        QTest::addColumn<int>("cleared");
        QTest::addColumn<int>("removed");
        QTest::addColumn<bool>("fileExistsAfter");
        QTest::newRow("clear, others remain") << "ClearFile" << 2 << false << -1 << 1 << 1 << true;
        QTest::newRow("clear the last row") << "ClearFile" << 1 << false << -1 << 1 << 1 << true;
        QTest::newRow("delete, others remain") << "DeleteFiles" << 2 << false << 1 << 0 << 1 << false;
        QTest::newRow("delete the last row") << "DeleteFiles" << 1 << false << 1 << 0 << 1 << false;
        QTest::newRow("delete cancelled") << "DeleteFiles" << 1 << false << 2 << 0 << 0 << true;
        QTest::newRow("delete question closed") << "DeleteFiles" << 1 << false << 0 << 0 << 0 << true;
        QTest::newRow("delete a missing file") << "DeleteFiles" << 1 << true << 1 << 0 << 1 << false;
        QTest::newRow("dismissed") << "" << 1 << false << -1 << 0 << 0 << true;
    }

    void menuActions()
    {
        QFETCH(QString, action);
        QFETCH(int, rows);
        QFETCH(bool, fileGoneBefore);
        QFETCH(int, answer);
        QFETCH(int, cleared);
        QFETCH(int, removed);
        QFETCH(bool, fileExistsAfter);

        const QString target = makeFile(QStringLiteral("target.ptr7"));
        add(target);
        for (int i = 1; i < rows; ++i)
            add(makeFile(QStringLiteral("other%1.ptr7").arg(i)));
        if (fileGoneBefore)
            QVERIFY(QFile::remove(target));
        showList();

        QSignalSpy clearSpy(list.get(), &FileListWidget::clearListFile);
        QSignalSpy removedSpy(list.get(), &FileListWidget::fileItemRemoved);
        QSignalSpy emptySpy(list.get(), &FileListWidget::askEmptyFileListItem);
        if (fileGoneBefore) {
            QTest::ignoreMessage(QtWarningMsg,
                                 qPrintable(QStringLiteral("remove list projectFile error:  \"%1\" , error code is  Success")
                                                .arg(target)));
        }
        driver->chooseMenuAction(action);
        if (answer >= 0)
            driver->answerTip(answer);
        rightClick(0);

        QCOMPARE(driver->menuTexts(), (QStringList{QStringLiteral("ClearFile"), QStringLiteral("DeleteFiles")}));
        QCOMPARE(driver->tipTexts(),
                 answer >= 0 ? QStringList{QStringLiteral("DeleteFileTip\n") + target} : QStringList());
        QCOMPARE(clearSpy.count(), cleared);
        if (cleared)
            QCOMPARE(clearSpy.at(0).at(0).value<std::string>(), target.toStdString());
        QCOMPARE(removedSpy.count(), removed);
        if (removed)
            QCOMPARE(removedSpy.at(0).at(0).value<std::string>(), target.toStdString());
        QCOMPARE(list->count(), rows - removed);
        QCOMPARE(emptySpy.count(), list->count() == 0 ? 1 : 0);
        QCOMPARE(QFileInfo::exists(target), fileExistsAfter);
        // A deleted project can still be restored from the trash.
        QCOMPARE(QFileInfo::exists(trashed(QStringLiteral("target.ptr7"))),
                 action == QLatin1String("DeleteFiles") && removed && !fileGoneBefore);
        if (list->count() > 0 && removed)
            QCOMPARE(tile(0)->getFilePath(), dir->filePath(QStringLiteral("other1.ptr7")).toStdString());
    }

    void projectThatCannotBeDeletedKeepsItsRow_data()
    {
        QTest::addColumn<QString>("path"); // empty: an empty folder, which removing a file would take too
        QTest::newRow("folder") << QString();
        QTest::newRow("file of the system") << QStringLiteral("/proc/self/status");
    }

    void projectThatCannotBeDeletedKeepsItsRow()
    {
        QFETCH(QString, path);
        if (path.isEmpty()) {
            path = dir->filePath(QStringLiteral("folder.ptr7"));
            QVERIFY(QDir().mkdir(path));
        }
        add(path);
        showList();
        QSignalSpy removedSpy(list.get(), &FileListWidget::fileItemRemoved);
        LogCapture log;
        driver->chooseMenuAction(QStringLiteral("DeleteFiles"));
        driver->answerTip(1);
        rightClick(0);
        QCOMPARE(log.countContaining(QStringLiteral("remove list projectFile error:  \"%1\" , error code is ").arg(path)),
                 1);
        QCOMPARE(log.countContaining(QStringLiteral("error code is  Success")), 0);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(list->count(), 1);
        QCOMPARE(removedSpy.count(), 0);
    }

    void refilledTileShowsNothingOfItsFormerProject()
    {
        const QString red = makeJpeg(QStringLiteral("red.jpg"), Qt::red);
        const QString blue = makeJpeg(QStringLiteral("blue.jpg"), Qt::blue);
        const QString longPath = dir->filePath(QStringLiteral("a-project-name-far-too-long-for-its-label-on-the-tile.ptr7"));
        const QString plain = dir->filePath(QStringLiteral("plain.ptr7"));
        add(dir->filePath(QStringLiteral("broken.ptr7")), red, true);
        add(longPath, red);
        add(plain, blue);
        showList();
        QTRY_VERIFY(hasPicture(tile(1)) && hasPicture(tile(2)));
        const QString longName = labelsOf(tile(1)).value(2)->text();
        const QString longPathText = labelsOf(tile(1)).value(6)->text();
        const int decodes = ThumbnailCache::instance().decodeCount();

        // The damaged tile shows a sound project: enabled, and its picture at once from the cache.
        QVERIFY(list->refillFileListItem(0, infoOf(plain, blue), false));
        QVERIFY(!tile(0)->isDamage());
        for (QLabel* label : labelsOf(tile(0)))
            QVERIFY(label->isEnabled());
        QVERIFY(hasPicture(tile(0)));
        QVERIFY(pictureOf(tile(0)).toImage().pixelColor(150, 50).blue() > 240);
        QCOMPARE(tile(0)->getFilePath(), plain.toStdString());
        QCOMPARE(labelsOf(tile(0)).value(2)->toolTip(), QStringLiteral("plain.ptr7"));

        // A project without a thumbnail keeps no picture of the one before.
        list->refillFileListItem(1, infoOf(plain), false);
        QVERIFY(!hasPicture(tile(1)));
        QVERIFY(!tile(1)->hasPendingThumbnail());

        // Moved to a laid-out tile, a long name is cut where a new tile cuts it.
        list->refillFileListItem(2, infoOf(longPath, red), false);
        QCOMPARE(labelsOf(tile(2)).value(2)->text(), longName);
        QCOMPARE(labelsOf(tile(2)).value(6)->text(), longPathText);
        QCOMPARE(labelsOf(tile(2)).value(6)->toolTip(), longPath);
        QTRY_VERIFY(hasPicture(tile(2)));
        QVERIFY(pictureOf(tile(2)).toImage().pixelColor(150, 50).red() > 240);
        QCOMPARE(ThumbnailCache::instance().decodeCount(), decodes);

        // And back to the damaged look.
        list->refillFileListItem(2, infoOf(longPath, red), true);
        QVERIFY(tile(2)->isDamage());
        QVERIFY(!hasPicture(tile(2)));
        QVERIFY(!labelsOf(tile(2)).value(2)->isEnabled());

        QVERIFY(!list->refillFileListItem(3, infoOf(plain), false));
        QCOMPARE(list->shownTiles().size(), 3);
        list->truncate(1);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->shownTiles().size(), 1);
        QCOMPARE(tile(0)->getFilePath(), plain.toStdString());
    }

    void recycledTilesShowTheirOwnRow_data()
    {
        QTest::addColumn<QString>("move");
        QTest::newRow("scrolled to the end") << "end";
        QTest::newRow("scrolled out and back") << "back";
        QTest::newRow("refilled in reverse, as a sort does") << "reverse";
    }

    void recycledTilesShowTheirOwnRow()
    {
        QFETCH(QString, move);
        const QString red = makeJpeg(QStringLiteral("red.jpg"), Qt::red);
        const QString blue = makeJpeg(QStringLiteral("blue.jpg"), Qt::blue);
        const int rows = 30;
        auto pathOf = [&](int i) { return dir->filePath(QStringLiteral("p%1.ptr7").arg(i, 2, 10, QLatin1Char('0'))); };
        auto damaged = [](int i) { return i % 4 == 1; };
        for (int i = 0; i < rows; ++i)
            add(pathOf(i), i % 2 ? blue : red, damaged(i));
        showList();
        QTRY_VERIFY(hasPicture(list->tileFor(list->item(0))));
        // A language without texts: every tile filled from now on speaks it.
        TranslateManager::instance().translator().switchLanguage(QStringLiteral("yy"));

        auto shownAt = [&](int row) { return move == QLatin1String("reverse") ? rows - 1 - row : row; };
        if (move == QLatin1String("reverse")) {
            std::vector<FileRow> sorted;
            for (int row = 0; row < rows; ++row) {
                const int i = shownAt(row);
                sorted.push_back(FileRow{infoOf(pathOf(i), i % 2 ? blue : red), damaged(i), false});
            }
            list->setRows(std::move(sorted));
        }
        list->scrollToBottom();
        if (move == QLatin1String("back"))
            list->scrollToTop();

        const QVector<FileListItem*> tiles = list->shownTiles();
        QVERIFY(!tiles.isEmpty());
        QVERIFY(tiles.size() < rows / 2);
        for (int row = 0; row < rows; ++row) {
            FileListItem* shown = list->tileFor(list->item(row));
            if (!shown)
                continue;
            const int i = shownAt(row);
            const QList<QLabel*> labels = labelsOf(shown);
            QCOMPARE(shown->getFilePath(), pathOf(i).toStdString());
            QCOMPARE(labels.value(2)->toolTip(), QFileInfo(pathOf(i)).fileName());
            QCOMPARE(shown->isDamage(), damaged(i));
            QCOMPARE(labels.value(2)->isEnabled(), !damaged(i));
            QCOMPARE(labels.value(1)->text(), QStringLiteral(":"));
            QCOMPARE(labels.value(5)->text(), QString());
            if (damaged(i)) {
                QVERIFY(!hasPicture(shown));
            } else {
                QTRY_VERIFY(hasPicture(shown));
                const QColor color = pictureOf(shown).toImage().pixelColor(150, 50);
                QVERIFY(i % 2 ? color.blue() > 240 : color.red() > 240);
            }
        }
    }

    void rightClickOnTheFreeAreaShowsNoMenu()
    {
        add(makeFile(QStringLiteral("a.ptr7")));
        showList();
        QSignalSpy emptySpy(list.get(), &FileListWidget::askEmptyFileListItem);
        {
            ModalDriver watcher;
            watcher.chooseMenuAction(QString());
            rightClick(-1);
            QCOMPARE(watcher.handled(), 0);
        }
        QCOMPARE(list->count(), 1);
        QCOMPARE(emptySpy.count(), 0);
    }
};

VEXA_TEST_MAIN(TestFileListWidget)
#include "tst_filelistwidget.moc"
