// The splash page: its widgets, the bar that fills in no less than 2.5 s,
// initFinish once per fill, Escape, placement, language, and the hand-over
// from the splash page to the start page.

#include "loadingpage.h"
#include "projectfilewidget.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace vexa::projectfilemgr;

class TestLoadingPage : public QObject
{
    Q_OBJECT

private:
    static QProgressBar* bar(QWidget* page) { return page->findChild<QProgressBar*>(QStringLiteral("progressBar")); }
    static QLabel* tipLabel(QWidget* page)
    {
        for (QLabel* label : page->findChildren<QLabel*>())
            if (label->property("fontSize").toString() == QLatin1String("L"))
                return label;
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Demo_App_X"));
        QVERIFY(TranslateManager::instance().translator().load(
            QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_en.qm")));
    }

    void builtHiddenAndEmpty()
    {
        LoadingPage page;
        QVERIFY(!page.isVisible());
        QCOMPARE(page.size(), QSize(760, 480));
        QCOMPARE(page.windowFlags(), Qt::Dialog | Qt::FramelessWindowHint);
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        QCOMPARE(page.pos(), screenCentre - QPoint(380, 241));

        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("appName"))->text(), QStringLiteral("Demo App X"));
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("version"))->text(), QStringLiteral("V2.4.0"));
        QVERIFY(page.findChild<QWidget*>(QStringLiteral("loadingPage")));
        QVERIFY(tipLabel(&page));
        QCOMPARE(tipLabel(&page)->text(), QString());
        QCOMPARE(bar(&page)->value(), 0);
        QCOMPARE(bar(&page)->maximumHeight(), 8);
        QCOMPARE(bar(&page)->maximum(), 100);
        QVERIFY(!page.findChild<QTimer*>()->isActive());

        QRect screen(QPoint(0, 0), QPoint(1919, 1079));
        page.refRect(screen);
        QCOMPARE(page.pos(), QPoint(579, 298));
    }

    void switchingLanguageChangesOnlyTheTip()
    {
        LoadingPage page;
        page.switchLanguage(QStringLiteral("en"));
        QCOMPARE(TranslateManager::instance().translator().language(), QStringLiteral("en"));
        QCOMPARE(tipLabel(&page)->text(), QStringLiteral("Starting up, please wait..."));
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("appName"))->text(), QStringLiteral("Demo App X"));
        QCOMPARE(page.findChild<QLabel*>(QStringLiteral("version"))->text(), QStringLiteral("V2.4.0"));
    }

    void fillsInAtLeastTwoAndAHalfSecondsAndSignalsOncePerFill()
    {
        LoadingPage page;
        QSignalSpy finished(&page, &LoadingPage::initFinish);
        QElapsedTimer clock;
        clock.start();
        page.showLoadingPage();
        QVERIFY(page.isVisible());

        // Escape cannot dismiss the splash page.
        QTest::keyClick(&page, Qt::Key_Escape);
        QVERIFY(page.isVisible());

        QVERIFY(finished.wait(15000));
        QVERIFY2(clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(bar(&page)->value(), 100);
        QVERIFY(!page.findChild<QTimer*>()->isActive());

        // A full bar stays full and signals once more on the next tick.
        page.showLoadingPage();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.count(), 2);
        QCOMPARE(bar(&page)->value(), 100);
        QVERIFY(!page.findChild<QTimer*>()->isActive());
    }

    void fullBarClosesTheSplashAndShowsTheStartPage()
    {
        ProjectFileWidget page;
        LoadingPage* splash = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = qobject_cast<LoadingPage*>(widget))
                splash = found;
        QVERIFY(splash);
        QSignalSpy finished(splash, &LoadingPage::initFinish);

        page.showLoadingPage();
        QVERIFY(splash->isVisible());
        QVERIFY(!page.isVisible());
        QTest::ignoreMessage(QtWarningMsg, "show projectflie widget!");
        QTRY_VERIFY_WITH_TIMEOUT(page.isVisible(), 15000);
        QCOMPARE(finished.count(), 1);
        QVERIFY(!splash->isVisible());
    }
};

VEXA_TEST_MAIN(TestLoadingPage)
#include "tst_loadingpage.moc"
