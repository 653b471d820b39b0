// The start page's widget tree and window behaviour: layout, names, sizes and
// style hooks, the texts shown before any language switch, dragging, the
// Escape key, centring and hopping between screens.

#include "controls.h"
#include "framelessmainwindow.h"
#include "loadingpage.h"
#include "projectfilewidget.h"
#include "screenhop.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace vexa::projectfilemgr;

namespace {

// The parentless dialogs of the page, found by class name.
QWidget* topLevel(const char* className)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->inherits(className))
            return widget;
    return nullptr;
}
const char* const kLoadingPage = "vexa::projectfilemgr::LoadingPage";
const char* const kPackagePage = "vexa::projectfilemgr::PackagePage";

QString describeLayout(QLayout* layout);

// A widget by its object name, else its class; labels add their text, a
// plain container adds its layout.
QString describeWidget(QWidget* widget)
{
    QString text = widget->objectName();
    if (text.isEmpty())
        text = QString::fromLatin1(widget->metaObject()->className()).section(QLatin1String("::"), -1);
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty())
        text += QLatin1Char('\'') + label->text() + QLatin1Char('\'');
    if (widget->metaObject() == &QWidget::staticMetaObject && widget->layout())
        text += QLatin1Char(' ') + describeLayout(widget->layout());
    return text;
}

// "V(left,top,right,bottom;spacing)[items]"; "~" is a stretch, "+n" a fixed
// spacing, "@h" a horizontally centred item.
QString describeLayout(QLayout* layout)
{
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (!box)
        return QStringLiteral("?");
    const bool vertical = box->direction() == QBoxLayout::TopToBottom;
    int left, top, right, bottom;
    box->getContentsMargins(&left, &top, &right, &bottom);
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        QLayoutItem* item = box->itemAt(i);
        QString text;
        if (QSpacerItem* spacer = item->spacerItem()) {
            const QSizePolicy::Policy policy =
                vertical ? spacer->sizePolicy().verticalPolicy() : spacer->sizePolicy().horizontalPolicy();
            const QSize hint = spacer->sizeHint();
            text = (policy & QSizePolicy::ExpandFlag) ? QStringLiteral("~")
                                                       : QStringLiteral("+%1").arg(vertical ? hint.height() : hint.width());
        } else if (item->widget()) {
            text = describeWidget(item->widget());
        } else if (item->layout()) {
            text = describeLayout(item->layout());
        }
        if (box->stretch(i) != 0)
            text += QStringLiteral("*%1").arg(box->stretch(i));
        if (item->alignment() & Qt::AlignHCenter)
            text += QStringLiteral("@h");
        items << text;
    }
    return QStringLiteral("%1(%2,%3,%4,%5;%6)[%7]")
        .arg(vertical ? QLatin1Char('V') : QLatin1Char('H'))
        .arg(left)
        .arg(top)
        .arg(right)
        .arg(bottom)
        .arg(box->spacing())
        .arg(items.join(QLatin1Char(' ')));
}

QMouseEvent mouseEvent(QEvent::Type type, QWidget* target, const QPoint& global, Qt::MouseButton button,
                       Qt::MouseButtons held)
{
    return QMouseEvent(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
}

} // namespace

class TestPageLayout : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<vexa::widgets::FramelessMainWindow> mainWindow;
    std::unique_ptr<ProjectFileWidget> page;

    QLabel* label(const char* name) const { return page->findChild<QLabel*>(QLatin1String(name)); }

    // Presses at `from` with `button`, moves to `to` holding it, releases.
    void drag(const QPoint& from, const QPoint& to, Qt::MouseButton button)
    {
        QMouseEvent press = mouseEvent(QEvent::MouseButtonPress, page.get(), from, button, button);
        QApplication::sendEvent(page.get(), &press);
        QMouseEvent move = mouseEvent(QEvent::MouseMove, page.get(), to, Qt::NoButton, button);
        QApplication::sendEvent(page.get(), &move);
        QMouseEvent release = mouseEvent(QEvent::MouseButtonRelease, page.get(), to, button, Qt::NoButton);
        QApplication::sendEvent(page.get(), &release);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Demo_App_X"));
        QCoreApplication::setOrganizationName(QStringLiteral("Demo Org"));
        QVERIFY(TranslateManager::instance().translator().load(QStringLiteral(VEXA_ECHO_QM)));
    }

    void init()
    {
        // The page hooks the screen-hop signal of the main window that exists when it is built.
        mainWindow.reset(new vexa::widgets::FramelessMainWindow);
        page.reset(new ProjectFileWidget);
    }

    void cleanup()
    {
        page.reset();
        mainWindow.reset();
    }

    void textsBeforeTheFirstSwitch()
    {
        QCOMPARE(label("appName")->text(), QStringLiteral("Demo App X"));
        QCOMPARE(label("version")->text(), QStringLiteral("V2.4.0"));
        QCOMPARE(label("lastProject")->text(), QStringLiteral("Last Project"));
        QCOMPARE(label("sceneTemplate")->text(), QStringLiteral("Scene Template"));
        QCOMPARE(label("languageLabel")->text(), QString());
        QCOMPARE(label("license")->text(), QString());

        auto* sort = page->findChild<QComboBox*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(sort);
        QCOMPARE(sort->property("style").toString(), QStringLiteral("transparent"));
        QCOMPARE(sort->count(), 3);
        const QStringList texts{sort->itemText(0), sort->itemText(1), sort->itemText(2)};
        QCOMPARE(texts, QStringList({"lastOpenTime", "name", "size"}));
        QCOMPARE(sort->itemData(2, Qt::UserRole), QVariant(2));
        QCOMPARE(sort->currentIndex(), 0);

        auto* language = page->findChild<QComboBox*>(QStringLiteral("languageComboBox"));
        QCOMPARE(language->itemData(0, Qt::UserRole), QVariant(QStringLiteral("zh_CN")));
        QCOMPARE(language->itemData(1, Qt::UserRole), QVariant(QStringLiteral("en")));
        QCOMPARE(language->currentIndex(), 0);

        // The copyright line carries the application's organisation until a language is chosen.
        bool organisationShown = false;
        for (QLabel* each : page->findChildren<QLabel*>())
            organisationShown |= each->text() == QLatin1String("Demo Org") &&
                                 each->property("fontSize").toString() == QLatin1String("L");
        QVERIFY(organisationShown);

        page->setVersionText(QStringLiteral("V9.9.9"));
        QCOMPARE(label("version")->text(), QStringLiteral("V9.9.9"));
    }

    void widgetTreeNamesSizesAndHooks()
    {
        QCOMPARE(page->objectName(), QStringLiteral("mainWidget"));
        QCOMPARE(int(page->windowFlags()), 0x803);
        QCOMPARE(page->size(), QSize(1080, 760));
        QCOMPARE(page->minimumSize(), page->maximumSize());

        // With the echo language every unnamed label shows its key.
        page->switchLanguage(QStringLiteral("xx"));
        const QString expected = QStringLiteral(
            "V(28,28,28,28;20)["
            "QWidget H(0,0,0,0;12)[QLabel V(0,4,0,12;0)[appName'Demo App X' ~ version'V2.4.0'] ~ "
            "V(0,4,0,4;0)[H(0,0,0,0;4)[languageLabel'Language' languageComboBox] ~]] "
            "H(0,0,0,0;20)[cutLine] "
            "H(0,0,0,0;40)[~ "
            "V(0,0,0,0;12)[H(0,0,0,0;4)[QLabel'RecentlyUsedItem' ~ QLabel'ProjectSorting' cutLine ComboBox changeSort] "
            "sceneTemplate'SceneTemplate' +-15 H(0,0,0,0;12)[+-18 TemplateListWidget] +-5 "
            "lastProject'LastProject' +10 H(0,0,0,0;12)[+-18 FileListWidget]] "
            "V(0,0,0,0;40)[cutLine] "
            "V(40,40,40,40;40)[~ new@h open@h quit@h ~] ~] "
            "H(0,0,0,0;20)[cutLine] "
            "QLabel'CopyrightStatement' +-12 "
            "H(0,0,0,0;0)[~ QLabel'View' license'LicenseAgreement' QLabel'CommaSymbol' privacy'PrivacyPolicy' "
            "QLabel'AndSymbol' thirdPartyLicense'ThirdPartyLicense' ~]]");
        QCOMPARE(describeLayout(page->layout()), expected);

        struct Fixed {
            const char* name;
            QSize min, max;
        };
        const QSize any(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        const Fixed sizes[] = {
            {"languageComboBox", {120, 24}, {120, 24}},
            {"changeSort", {20, 20}, {20, 20}},
            {"new", {80, 28}, {80, 28}},
            {"open", {80, 28}, {80, 28}},
            {"quit", {80, 28}, {80, 28}},
            {"TemplateListWidget", {860, 100}, {860, 100}},
            {"FileListWidget", {844, 0}, {844, any.height()}},
            {"lastProject", {0, 14}, {any.width(), 14}},
            {"sceneTemplate", {0, 14}, {any.width(), 14}},
        };
        for (const Fixed& fixed : sizes) {
            auto* widget = page->findChild<QWidget*>(QLatin1String(fixed.name));
            QVERIFY2(widget, fixed.name);
            QCOMPARE(widget->minimumSize(), fixed.min);
            QCOMPARE(widget->maximumSize(), fixed.max);
        }
        const QList<QWidget*> cutLines = page->findChildren<QWidget*>(QStringLiteral("cutLine"));
        QCOMPARE(cutLines.size(), 4);
        QStringList lineSizes;
        for (QWidget* line : cutLines)
            lineSizes << QStringLiteral("%1x%2").arg(line->maximumWidth()).arg(line->maximumHeight());
        lineSizes.sort();
        QCOMPARE(lineSizes, QStringList({"16777215x1", "16777215x1", "1x12", "1x16777215"}));

        // Style hooks.
        QCOMPARE(page->findChild<QWidget*>("new")->property("style").toString(), QStringLiteral("general"));
        QCOMPARE(page->findChild<QWidget*>("open")->property("style").toString(), QStringLiteral("assist"));
        QCOMPARE(page->findChild<QWidget*>("quit")->property("style").toString(), QStringLiteral("assist"));
        QCOMPARE(page->findChild<QWidget*>("changeSort")->property("changeSortSelect"), QVariant(false));
        for (const char* link : {"license", "privacy", "thirdPartyLicense"}) {
            QCOMPARE(label(link)->property("style").toString(), QStringLiteral("highlightText"));
            QCOMPARE(label(link)->alignment(), Qt::AlignHCenter);
        }
        QCOMPARE(label("lastProject")->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
        auto* icon = qobject_cast<QLabel*>(page->layout()->itemAt(0)->widget()->layout()->itemAt(0)->widget());
        QCOMPARE(icon->property("labelImage").toString(), QStringLiteral("softIcon"));
        QCOMPARE(icon->size(), QSize(80, 80));
    }

    void styleSheetsReachTheHiddenDialogs()
    {
        const QString sheet = QStringLiteral("QLabel#version { color: red; }");
        page->setProjectstyleSheet(sheet);
        QCOMPARE(page->styleSheet(), sheet);
        QCOMPARE(topLevel(kLoadingPage)->styleSheet(), sheet);
        QCOMPARE(topLevel(kPackagePage)->styleSheet(), sheet);
        QVERIFY(!topLevel(kLoadingPage)->isVisible());

        page->setFileDialogStyleSheet(QStringLiteral("QFileDialog {}"));
        QCOMPARE(page->getFileDialogStyle(), QStringLiteral("QFileDialog {}"));
        QCOMPARE(page->styleSheet(), sheet); // kept for the file dialogs, applied to nothing
    }

    void escapeLeavesThePageOpen()
    {
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        QSignalSpy rejected(page.get(), &QDialog::rejected);
        QTest::keyClick(page.get(), Qt::Key_Escape);
        QTest::keyClick(page->findChild<QWidget*>(QStringLiteral("languageComboBox")), Qt::Key_Escape);
        QVERIFY(page->isVisible());
        QCOMPARE(rejected.count(), 0);
    }

    void leftDragMovesThePageRightDragDoesNot()
    {
        page->move(100, 120);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        const QPoint start = page->pos();
        const QPoint grab = start + QPoint(300, 40);

        drag(grab, grab + QPoint(150, 70), Qt::RightButton);
        QCOMPARE(page->pos(), start);

        // The point under the cursor stays under it.
        drag(grab, grab + QPoint(150, 70), Qt::LeftButton);
        QCOMPARE(page->pos(), start + QPoint(150, 70));
        QCOMPARE(page->mapToGlobal(QPoint(300, 40)), grab + QPoint(150, 70));

        // After the release, moves with the button held no longer drag.
        QMouseEvent move = mouseEvent(QEvent::MouseMove, page.get(), QPoint(900, 700), Qt::NoButton, Qt::LeftButton);
        QApplication::sendEvent(page.get(), &move);
        QCOMPARE(page->pos(), start + QPoint(150, 70));
    }

    void refRectCentresThePageAndPlacesTheLoadingPage()
    {
        QRect rect(QPoint(0, 0), QPoint(1000, 800));
        QCOMPARE(rect.center(), QPoint(500, 400));
        page->refRect(rect);
        QCOMPARE(page->pos(), QPoint(-40, 20));
        QCOMPARE(topLevel(kLoadingPage)->pos(), QPoint(120, 159));
    }

    void screenHopTargets()
    {
        const QSize pageSize(1080, 760);
        const QVector<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024), QRect(3200, -200, 2560, 1440)};
        const QPoint onFirst(959 - 540, 539 - 380);
        const QPoint onSecond(2559 - 540, 511 - 380);
        const QPoint onThird(4479 - 540, 519 - 380);

        QCOMPARE(screenHopTarget(screens, 0, pageSize, true), std::optional<QPoint>(onThird));
        QCOMPARE(screenHopTarget(screens, 0, pageSize, false), std::optional<QPoint>(onSecond));
        QCOMPARE(screenHopTarget(screens, 2, pageSize, false), std::optional<QPoint>(onFirst));
        QCOMPARE(screenHopTarget(screens, 1, pageSize, true), std::optional<QPoint>(onFirst));
        // A screen missing from the list leads to the last but one or the first.
        QCOMPARE(screenHopTarget(screens, -1, pageSize, true), std::optional<QPoint>(onSecond));
        QCOMPARE(screenHopTarget(screens, -1, pageSize, false), std::optional<QPoint>(onFirst));
        // Two screens: both directions lead to the other one.
        QCOMPARE(screenHopTarget(screens.mid(0, 2), 1, pageSize, true), std::optional<QPoint>(onFirst));
        QCOMPARE(screenHopTarget(screens.mid(0, 2), 1, pageSize, false), std::optional<QPoint>(onFirst));
        QCOMPARE(screenHopTarget(screens.mid(0, 1), 0, pageSize, true), std::nullopt);
        QCOMPARE(screenHopTarget({}, -1, pageSize, false), std::nullopt);
        QCOMPARE(screenHopTarget(screens, 3, pageSize, false), std::nullopt);
    }

    void screenHopIsANoOpWhenHiddenOrOnOneScreen()
    {
        QCOMPARE(QGuiApplication::screens().size(), 1);
        page->move(30, 40);
        Q_EMIT mainWindow->signalHookMoveScreen(true); // hidden
        QCOMPARE(page->pos(), QPoint(30, 40));

        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        Q_EMIT mainWindow->signalHookMoveScreen(false); // a single screen
        Q_EMIT mainWindow->signalHookMoveScreen(true);
        QCOMPARE(page->pos(), QPoint(30, 40));
    }
};

VEXA_TEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
