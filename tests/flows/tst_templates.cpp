// The scene-template tiles: how they are built and named for the style sheet,
// their captions, the wheel, and which template a new project asks for.

#include "hxruntime.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "recordingmanager.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QAbstractButton>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStandardPaths>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

using namespace vexa::projectfilemgr;
using vexatest::ModalDriver;
using vexatest::RecordingManager;

class TestTemplates : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<norvane::HXRuntime> runtime;
    std::unique_ptr<RecordingManager> mgr;
    std::unique_ptr<ProjectFileWidget> page;
    std::unique_ptr<ModalDriver> driver;

    QListWidget* list() const { return page->findChild<QListWidget*>(QStringLiteral("TemplateListWidget")); }
    QWidget* tile(int row) const { return list()->itemWidget(list()->item(row)); }

    static QList<QLabel*> labelsOf(QWidget* tile)
    {
        return tile->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Double-clicks a tile the way a user does, through the page's window.
    void doubleClickTile(int row)
    {
        QWidget* target = tile(row);
        const QPoint at = target->mapTo(page.get(), target->rect().center());
        QTest::mouseDClick(page->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }

    void clickTile(int row)
    {
        QWidget* target = tile(row);
        QTest::mouseClick(page->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          target->mapTo(page.get(), target->rect().center()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariable("HOME").contains(QStringLiteral("testhome")),
                 "run through ctest, which gives the suite a private home");
        QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)));
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
    }

    void init()
    {
        runtime.reset(new norvane::HXRuntime);
        mgr.reset(new RecordingManager);
        driver.reset(new ModalDriver);
        page.reset(new ProjectFileWidget);
    }

    void cleanup()
    {
        QCOMPARE(driver->pending(), 0);
        page.reset();
        driver.reset();
        mgr.reset();
        runtime.reset();
    }

    void tilesAreBuiltInTemplateOrder()
    {
        QListWidget* templates = list();
        QVERIFY(templates);
        QVERIFY(templates->inherits("vexa::projectfilemgr::TemplateListWidget"));
        QCOMPARE(templates->size(), QSize(860, 100));
        QCOMPARE(templates->count(), 3);

        const QStringList names{QStringLiteral("BlankTemplate"), QStringLiteral("TwoScreenTemplate"),
                                QStringLiteral("ThreeScreenTemplate")};
        for (int row = 0; row < 3; ++row) {
            QWidget* item = tile(row);
            QVERIFY(item);
            QVERIFY(item->inherits("vexa::projectfilemgr::TemplateListItem"));
            QCOMPARE(item->objectName(), QStringLiteral("TemplateListItem"));
            QCOMPARE(item->minimumSize(), QSize(250, 70));
            QCOMPARE(item->maximumSize(), QSize(250, 70));
            QVERIFY(item->testAttribute(Qt::WA_StyledBackground));
            QCOMPARE(templates->item(row)->sizeHint(), QSize(250, 70));

            auto* layout = qobject_cast<QHBoxLayout*>(item->layout());
            QVERIFY(layout);
            QCOMPARE(layout->spacing(), 0);
            QCOMPARE(layout->contentsMargins(), QMargins());
            QCOMPARE(layout->count(), 2);
            auto* picture = qobject_cast<QLabel*>(layout->itemAt(0)->widget());
            auto* caption = qobject_cast<QLabel*>(layout->itemAt(1)->widget());
            QVERIFY(picture && caption);
            QCOMPARE(picture->objectName(), names.at(row));
            QCOMPARE(picture->minimumSize(), QSize(130, 70));
            QCOMPARE(picture->maximumSize(), QSize(130, 70));
            QCOMPARE(caption->minimumHeight(), 70);
            QCOMPARE(caption->maximumHeight(), 70);
            QCOMPARE(caption->property("fontSize").toString(), QStringLiteral("L"));
            QCOMPARE(labelsOf(item).size(), 2);
        }
    }

    void captionsFollowTheLanguage()
    {
        for (int row = 0; row < 3; ++row)
            QVERIFY(qobject_cast<QLabel*>(tile(row)->layout()->itemAt(1)->widget())->text().isEmpty());

        page->switchLanguage(QStringLiteral("xx"));
        QStringList captions;
        for (int row = 0; row < 3; ++row) {
            auto* caption = qobject_cast<QLabel*>(tile(row)->layout()->itemAt(1)->widget());
            captions << caption->text();
        }
        QCOMPARE(captions, (QStringList{QStringLiteral("BlankTemplate"), QStringLiteral("TwoScreenTemplate"),
                                        QStringLiteral("ThreeScreenTemplate")}));
    }

    void listSettings()
    {
        QListWidget* templates = list();
        QCOMPARE(templates->resizeMode(), QListView::Adjust);
        QCOMPARE(templates->viewMode(), QListView::IconMode);
        QCOMPARE(templates->textElideMode(), Qt::ElideRight);
        QCOMPARE(templates->spacing(), 20);
        QVERIFY(!templates->dragEnabled());
        QVERIFY(!templates->acceptDrops());
        QCOMPARE(templates->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(templates->focusPolicy(), Qt::NoFocus);
        QCOMPARE(templates->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(templates->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(templates->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(templates->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        // The list takes no focus, so nothing is chosen until the user clicks.
        QCOMPARE(templates->currentRow(), -1);
    }

    void wheelDoesNotScroll()
    {
        QListWidget* templates = list();
        // More rows than fit, so a plain list would scroll.
        for (int extra = 0; extra < 6; ++extra)
            templates->addItem(new QListWidgetItem(QStringLiteral("extra")));
        for (int row = 3; row < templates->count(); ++row)
            templates->item(row)->setSizeHint(QSize(250, 70));
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        QScrollBar* bar = templates->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);

        const QPointF at(templates->viewport()->rect().center());
        QWheelEvent wheel(at, templates->viewport()->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(templates->viewport(), &wheel);
        QVERIFY(!wheel.isAccepted());
        QCOMPARE(bar->value(), 0);
    }

    void newProjectAsksForTheChosenTemplate()
    {
        page->setHXRuntime(runtime.get());
        page->setProjectFileMgr(mgr.get());
        mgr->answerOpens(Success, "createProject");
        auto* newButton = page->findChild<QAbstractButton*>(QStringLiteral("new"));
        QVERIFY(newButton);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));

        driver->acceptFileDialog(QStringLiteral("first"));
        newButton->click();
        QCOMPARE(mgr->callCount("createProject"), std::size_t(1));
        QCOMPARE(mgr->lastCall("createProject").mode, 1);

        driver->acceptFileDialog(QStringLiteral("third"));
        doubleClickTile(2);
        QCOMPARE(mgr->callCount("createProject"), std::size_t(2));
        QCOMPARE(mgr->lastCall("createProject").mode, 3);
        QCOMPARE(list()->currentRow(), 2);

        // The choice stays for the new button.
        driver->acceptFileDialog(QStringLiteral("again"));
        newButton->click();
        QCOMPARE(mgr->lastCall("createProject").mode, 3);

        // A single click chooses too.
        clickTile(1);
        driver->acceptFileDialog(QStringLiteral("second"));
        newButton->click();
        QCOMPARE(mgr->callCount("createProject"), std::size_t(4));
        QCOMPARE(mgr->lastCall("createProject").mode, 2);

        page->unsetProjectFileMgr();
        page->unsetHXRuntime();
    }
};

VEXA_TEST_MAIN(TestTemplates)
#include "tst_templates.moc"
