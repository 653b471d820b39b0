// The start page and the splash page: the names, sizes and properties hosts
// style by, dragging, Escape, placement, language switching, the legal links,
// and the splash page's hand-over to the start page.

#include "accessiblewalk.h"
#include "framelessmainwindow.h"
#include "loadingpage.h"
#include "modaldriver.h"
#include "projectfilewidget.h"
#include "screenhop.h"
#include "testfiles.h"
#include "testmain.h"
#include "translatemanager.h"
#include "translator.h"
#include "vexaqutils.h"

#include <QtTest>
#include <QtWidgets>
#include <dlfcn.h>
#include <memory>

using namespace vexa::projectfilemgr;

namespace {

QStringList g_shareCalls; // each as "location|type|explicit path"

QString readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList captures(const QString& text, const QRegularExpression& pattern)
{
    QStringList found;
    for (auto match = pattern.globalMatch(text); match.hasNext();)
        found << match.next().captured(1);
    return found;
}

} // namespace

// Stands in front of the shared-data library's function: records the
// arguments, then lets the real one open the document.
namespace vexa::qutils {
__attribute__((visibility("default"))) bool openShareDirFile(const QString& location, const QString& type,
                                                             const QString& explicitPath)
{
    g_shareCalls << QStringList({location, type, explicitPath}).join(QLatin1Char('|'));
    using Real = bool (*)(const QString&, const QString&, const QString&);
    static const Real real =
        reinterpret_cast<Real>(dlsym(RTLD_NEXT, "_ZN4vexa6qutils16openShareDirFileERK7QStringS3_S3_"));
    return real && real(location, type, explicitPath);
}
} // namespace vexa::qutils

class TestPage : public QObject
{
    Q_OBJECT

    std::unique_ptr<vexa::widgets::FramelessMainWindow> mainWindow;
    std::unique_ptr<ProjectFileWidget> page;
    QString shareRelative, shareDir;
    QList<QUrl> opened;

    QString newText() const { return page->findChild<QAbstractButton*>(QStringLiteral("new"))->text(); }
    // The first label in the large font: the copyright line of the page, the tip of the splash page.
    static QString largeText(QWidget* root, Qt::FindChildOptions options)
    {
        for (QLabel* label : root->findChildren<QLabel*>(QString(), options))
            if (label->property("fontSize").toString() == QLatin1String("L"))
                return label->text();
        return QString();
    }
    QString copyright() const { return largeText(page.get(), Qt::FindDirectChildrenOnly); }
    static QWidget* topLevel(const char* className)
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->inherits(className))
                return widget;
        return nullptr;
    }
    static LoadingPage* splash() { return static_cast<LoadingPage*>(topLevel("vexa::projectfilemgr::LoadingPage")); }
    static void send(QWidget* target, QEvent::Type type, const QPoint& global, Qt::MouseButton button,
                     Qt::MouseButtons held)
    {
        QMouseEvent event(type, target->mapFromGlobal(global), global, button, held, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    // Presses on `target`, moves the page's way holding the button and releases;
    // true when the page moved, that is when the press reached the page.
    bool dragged(QWidget* target, const QPoint& from, const QPoint& to, Qt::MouseButton button)
    {
        const QPoint before = page->pos();
        send(target, QEvent::MouseButtonPress, from, button, button);
        send(page.get(), QEvent::MouseMove, to, Qt::NoButton, button);
        send(page.get(), QEvent::MouseButtonRelease, to, button, Qt::NoButton);
        return page->pos() != before;
    }
    bool pressReachesThePage(const char* name, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* label = page->findChild<QLabel*>(QLatin1String(name));
        const QPoint at = label->mapToGlobal(QPoint(2, 2));
        const QPoint before = page->pos();
        const bool moved = dragged(label, at, at + QPoint(30, 0), button);
        page->move(before);
        return moved;
    }

public Q_SLOTS:
    void openUrl(const QUrl& url) { opened << url; }

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setApplicationName(QStringLiteral("Demo_App_X"));
        QCoreApplication::setOrganizationName(QStringLiteral("Demo Org"));
        // A missing file is skipped without a word.
        ProjectFileWidget().loadLanguageFiles(
            {QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_en.qm"), QStringLiteral("/none/none_fr.qm"),
             QStringLiteral(VEXA_TRANSLATIONS_DIR "/vexaprojectfilewidget_zh_CN.qm")});
        shareRelative = QStringLiteral("/../testshare-%1").arg(QUuid::createUuid().toString(QUuid::Id128));
        vexa::qutils::setSharePath(shareRelative);
        shareDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + shareRelative);
        for (const char* document : {"license/license_cn.pdf", "license/license_other.pdf", "privacy/privacy_cn.pdf",
                                     "privacy/privacy_other.pdf", "license/license_cn/third_copyright_zh.html",
                                     "license/license_other/third_copyright_en.html"}) {
            const QString path = shareDir + QLatin1Char('/') + QLatin1String(document);
            QVERIFY(QDir().mkpath(QFileInfo(path).path()) && !vexatest::makeFile(path).isEmpty());
        }
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QDir(shareDir).removeRecursively();
    }

    void init()
    {
        g_shareCalls.clear();
        opened.clear();
        // Built while the translator is on English: the two language items are looked up once.
        TranslateManager::instance().translator().switchLanguage(QStringLiteral("en"));
        // The page hooks the screen-hop signal of the main window that exists when it is built.
        page.reset();
        mainWindow.reset(new vexa::widgets::FramelessMainWindow);
        page.reset(new ProjectFileWidget);
        page->move(200, 100);
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    }

    void widgetTree_data()
    {
        QTest::addColumn<QString>("name");        // empty: any widget of the page or the splash page
        QTest::addColumn<QByteArray>("property"); // "fixed": the minimum and the maximum size
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char* name, const char* property, const QVariant& value) {
            QTest::addRow("%s %s", name, property) << QString::fromLatin1(name) << QByteArray(property) << value;
        };
        row("mainWidget", "fixed", QSize(1080, 760));
        row("languageComboBox", "fixed", QSize(120, 24));
        row("languageComboBox", "x", 904); // at the right end of the header
        row("", "labelImage", "softIcon");
        row("", "style", "transparent");
        row("changeSort", "fixed", QSize(20, 20));
        row("cutLine", "fixed", QSize(1, 12)); // the first: beside the sort box
        row("changeSort", "changeSortSelect", false);
        for (const char* name : {"new", "open", "quit"}) {
            row(name, "fixed", QSize(80, 28));
            row(name, "style", qstrcmp(name, "new") == 0 ? "general" : "assist");
        }
        row("TemplateListWidget", "fixed", QSize(860, 100));
        row("TemplateListWidget", "viewMode", int(QListView::IconMode));
        row("TemplateListWidget", "focusPolicy", int(Qt::StrongFocus)); // nothing is chosen until a click or Tab
        row("TemplateListItem", "fixed", QSize(250, 70));
        for (const char* name : {"BlankTemplate", "TwoScreenTemplate", "ThreeScreenTemplate"})
            row(name, "geometry", QRect(0, 0, 130, 70));
        row("lastProject", "height", 14);
        row("sceneTemplate", "height", 14);
        row("FileListWidget", "width", 844);
        for (const char* name : {"license", "privacy", "thirdPartyLicense"})
            row(name, "style", "highlightText");
        row("progressBar", "maximumHeight", 8);
    }

    void widgetTree()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, property);
        QFETCH(QVariant, value);
        const bool asInt = value.userType() == QMetaType::Int; // enums and flags read back as their own types
        const auto same = [&](QVariant v) { return v.isValid() && (asInt ? v.toInt() == value.toInt() : v == value); };
        QObjectList tree{page.get(), splash()};
        tree += page->findChildren<QObject*>() + splash()->findChildren<QObject*>();
        QObject* found = nullptr;
        for (QObject* object : tree)
            if (!found && (name.isEmpty() ? same(object->property(property)) : object->objectName() == name))
                found = object;
        QVERIFY(found);
        if (property == "fixed")
            QVERIFY(same(found->property("minimumSize")) && same(found->property("maximumSize")));
        else
            QVERIFY2(same(found->property(property)), qPrintable(found->property(property).toString()));
        QCOMPARE(page->findChildren<QWidget*>(QStringLiteral("cutLine")).size(), 4);
    }

    // Where the layout puts the parts whose place no text decides, and the
    // legal line centred: the page looks as it is laid out.
    void partsKeepTheirPlaces()
    {
        QComboBox* sortBox = nullptr;
        for (QComboBox* box : page->findChildren<QComboBox*>())
            sortBox = box->count() == 3 ? box : sortBox;
        const QList<QPair<QWidget*, QPoint>> places{
            {page->findChild<QWidget*>("appName"), QPoint(92, 4)}, // in the header
            {sortBox, QPoint(667, 149)},
        };
        for (const auto& place : places)
            QCOMPARE(place.first->pos(), place.second);
        // Heights follow the fonts, which differ between Qt versions: the rest by x and by centring.
        QCOMPARE(page->findChild<QWidget*>("TemplateListWidget")->x(), 10);
        QWidget* divider = page->findChildren<QWidget*>("cutLine").at(2); // between the list and the buttons
        const QRect buttons = page->findChild<QWidget*>("new")->geometry().united(page->findChild<QWidget*>("quit")->geometry());
        QCOMPARE(buttons.x(), 932);
        QVERIFY(qAbs(buttons.center().y() - divider->geometry().center().y()) <= 1);
        const QRect legal = page->findChild<QWidget*>("license")->geometry().united(
            page->findChild<QWidget*>("thirdPartyLicense")->geometry());
        QVERIFY(qAbs(legal.center().x() - page->width() / 2) <= 40);
    }

    void escapeDragAndPlacement()
    {
        QSignalSpy rejected(page.get(), &QDialog::rejected);
        QTest::keyClick(page.get(), Qt::Key_Escape);
        QCOMPARE(rejected.count(), 0);

        const QPoint start = page->pos();
        const QPoint grab = start + QPoint(300, 40);
        QVERIFY(!dragged(page.get(), grab, grab + QPoint(150, 70), Qt::RightButton));
        // The point under the cursor stays under it.
        QVERIFY(dragged(page.get(), grab, grab + QPoint(150, 70), Qt::LeftButton));
        QCOMPARE(page->mapToGlobal(QPoint(300, 40)), grab + QPoint(150, 70));
        // After the release, moves with the button held no longer drag.
        send(page.get(), QEvent::MouseMove, QPoint(900, 700), Qt::NoButton, Qt::LeftButton);
        QCOMPARE(page->pos(), start + QPoint(150, 70));

        QCOMPARE(splash()->size(), QSize(760, 480));
        QCOMPARE(splash()->pos(), QGuiApplication::primaryScreen()->geometry().center() - QPoint(380, 241));
        QRect rect(QPoint(0, 0), QPoint(1000, 800));
        page->refRect(rect);
        QCOMPARE(page->pos(), QPoint(-40, 20));
        QCOMPARE(splash()->pos(), QPoint(120, 159));

        const QString sheet = QStringLiteral("QLabel#version { color: red; }");
        page->setProjectstyleSheet(sheet);
        for (QWidget* window : QWidgetList{page.get(), splash(), topLevel("vexa::projectfilemgr::PackagePage")})
            QCOMPARE(window->styleSheet(), sheet);
    }

    void screenHops()
    {
        const QSize size(1080, 760);
        const QVector<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024),
                                     QRect(3200, -200, 2560, 1440)};
        const auto on = [&](int screen) { return std::optional<QPoint>(screens[screen].center() - QPoint(540, 380)); };
        QCOMPARE(screenHopTarget(screens, 0, size, true), on(2));
        QCOMPARE(screenHopTarget(screens, 0, size, false), on(1));
        QCOMPARE(screenHopTarget(screens, 2, size, false), on(0));
        // A screen missing from the list leads to the last but one or the first.
        QCOMPARE(screenHopTarget(screens, -1, size, true), on(1));
        QCOMPARE(screenHopTarget(screens, -1, size, false), on(0));
        // Two screens: both directions lead to the other one.
        QCOMPARE(screenHopTarget(screens.mid(0, 2), 1, size, true), on(0));
        QCOMPARE(screenHopTarget(screens.mid(0, 1), 0, size, true), std::nullopt);
        QCOMPARE(screenHopTarget(screens, 3, size, false), std::nullopt);
    }

    void everyKeyIsTranslatedInBothLanguages()
    {
        // The literals in the library's trText calls, the template tiles' table and the test language.
        const QRegularExpression call(QStringLiteral(R"re(trText\(((?:[^()]|\([^()]*\))*)\))re"));
        const QRegularExpression literal(QStringLiteral(R"re(QStringLiteral\("(\w+)"\))re"));
        QStringList keys = captures(readAll(QStringLiteral(VEXA_ECHO_TS)), QRegularExpression("<source>(\\w+)<"));
        QDirIterator it(QStringLiteral(VEXA_LIBRARY_SOURCE_DIR), {QStringLiteral("*.cpp"), QStringLiteral("*.h")});
        while (it.hasNext()) {
            const QString source = readAll(it.next());
            for (const QString& argument : captures(source, call))
                keys += captures(argument, literal);
            if (it.fileName().startsWith(QLatin1String("templatelistitem")))
                keys += captures(source, QRegularExpression(QStringLiteral(R"re("(\w+Template)")re")));
        }
        keys.removeDuplicates();
        QVERIFY(keys.size() >= 59 && keys.contains(QStringLiteral("ThreeScreenTemplate")));
        for (const QString language : {"en", "zh_CN"}) {
            TranslateManager::instance().translator().switchLanguage(language);
            for (const QString& key : keys)
                QVERIFY2(!trText(key).isEmpty(), qPrintable(language + QLatin1Char(' ') + key));
            const QString ts = readAll(QStringLiteral(VEXA_TS_SOURCE_DIR "/vexaprojectfilewidget_%1.ts").arg(language));
            QVERIFY(!ts.isEmpty() && !ts.contains(QLatin1String("type=\"unfinished\"")));
        }
    }

    void languageSwitches()
    {
        auto* combo = page->findChild<QComboBox*>(QStringLiteral("languageComboBox"));
        QSignalSpy changed(page.get(), &ProjectFileWidget::sigLanguageChanged);
        QCOMPARE(copyright(), QStringLiteral("Demo Org")); // until a language is chosen
        // The combo already shows Chinese: the switch is silent.
        page->switchLanguage(QStringLiteral("zh_CN"));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(newText(), QStringLiteral("新建"));
        QCOMPARE(copyright(), QStringLiteral("维克萨显示系统有限公司 版权所有"));

        auto* sort = page->findChild<QComboBox*>(QString(), Qt::FindDirectChildrenOnly);
        sort->setCurrentIndex(2);
        QString newTextWhenSignalled;
        connect(page.get(), &ProjectFileWidget::sigLanguageChanged, this, [&] { newTextWhenSignalled = newText(); });
        page->switchLanguage(QStringLiteral("en"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("en"));
        QCOMPARE(newTextWhenSignalled, QStringLiteral("New")); // the nested switch has run by then
        QCOMPARE(combo->currentIndex(), 1);
        // Every text of the page, in the order its widgets were made.
        QStringList shown;
        for (QLabel* label : page->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                shown << label->text().replace(QChar(0xa0), QLatin1Char(' '));
        QCOMPARE(shown.join(QLatin1Char('|')),
                 QStringLiteral("Recently Used|Sort by|Blank|Two Screens|Three Screens|Recent Projects|Scene Templates|"
                                "Vexa Display Systems Co., Ltd. All rights reserved.|View the |License Agreement|, |"
                                "Privacy Policy| and |Third-Party Notices|Demo App X|V2.4.0|Language|"
                                "Loading, please wait..."));
        QCOMPARE(largeText(splash(), Qt::FindChildrenRecursively), QStringLiteral("Starting up, please wait..."));
        // The rule stays; only the item texts change.
        QCOMPARE(sort->currentIndex(), 2);
        QCOMPARE(sort->itemText(2), QStringLiteral("Size"));
        page->switchLanguage(QStringLiteral("en")); // the current language again: silent
        QCOMPARE(changed.count(), 1);

        // No item carries French: the translator follows, the combo and the organisation stay.
        page->switchLanguage(QStringLiteral("fr_FR"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(copyright(), QStringLiteral("Vexa Display Systems Co., Ltd."));
        // Capitals: the item match is exact, the organisation match is not.
        page->switchLanguage(QStringLiteral("ZH_CN"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(copyright(), QStringLiteral("维克萨显示系统有限公司 版权所有"));
        QCOMPARE(changed.count(), 1);
    }

    void tabFollowsReadingOrder()
    {
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        page->findChild<QWidget*>(QStringLiteral("languageComboBox"))->setFocus(Qt::TabFocusReason);
        QStringList stops;
        for (const QString key : {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Backtab"}) {
            QWidget* at = QApplication::focusWidget();
            stops << (at->objectName().isEmpty() ? at->metaObject()->className() : at->objectName());
            vexatest::typeKeys(page.get(), key);
        }
        QCOMPARE(stops.join(QLatin1Char(' ')),
                 QStringLiteral("languageComboBox filterEdit vexa::widgets::ComboBox changeSort TemplateListWidget FileListWidget "
                                "new open quit license privacy thirdPartyLicense languageComboBox"));
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("thirdPartyLicense"));
    }

    // The frame shows where the keyboard is, and never comes with the mouse.
    void focusFrameFollowsTheKeyboardOnly()
    {
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        QWidget* frame = page->findChild<QWidget*>(QStringLiteral("keyboardFocusFrame"));
        auto* templates = page->findChild<QListWidget*>(QStringLiteral("TemplateListWidget"));
        const auto framed = [&](QWidget* widget, const QRect& rect) {
            const QRect around(widget->mapTo(page.get(), rect.topLeft()), rect.size());
            return frame->isVisible() && frame->geometry() == around.adjusted(-3, -3, 3, 3);
        };
        const auto tileRect = [templates](int row) { return templates->visualItemRect(templates->item(row)); };
        QWidget* direction = page->findChild<QWidget*>(QStringLiteral("changeSort"));
        QTest::mouseClick(direction, Qt::LeftButton);
        QVERIFY(direction->hasFocus() && !frame->isVisible());
        vexatest::typeKeys(page.get(), QStringLiteral("Backtab"));
        QWidget* sortBox = page->findChild<QComboBox*>(QString(), Qt::FindDirectChildrenOnly);
        QTRY_VERIFY(framed(sortBox, sortBox->rect()));
        vexatest::typeKeys(page.get(), QStringLiteral("Tab Tab"));
        QTRY_VERIFY(framed(templates->viewport(), tileRect(0)));
        vexatest::typeKeys(page.get(), QStringLiteral("Right"));
        QTRY_VERIFY(framed(templates->viewport(), tileRect(1)));
        QTest::mouseClick(templates->viewport(), Qt::LeftButton, Qt::NoModifier, tileRect(2).center());
        QVERIFY(!frame->isVisible());
        QCOMPARE(templates->currentRow(), 2); // the click chose as before
        vexatest::typeKeys(page.get(), QStringLiteral("Left"));
        QTRY_VERIFY(framed(templates->viewport(), tileRect(1)));
    }

    // Stepping through the closed box only shows the languages; Enter or a pick from its list switches.
    void languageBoxSwitchesOnAChoiceOnly_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("signalled"); // the codes sigLanguageChanged carried
        QTest::addColumn<int>("shown");         // the box's item afterwards
        QTest::newRow("arrow: shown, not chosen") << "Down" << "" << 1;
        QTest::newRow("arrow, Enter") << "Down Return" << "en" << 1;
        QTest::newRow("arrow, Escape") << "Down Esc" << "" << 0;
        QTest::newRow("arrow, Tab away") << "Down Tab" << "" << 0;
        QTest::newRow("there and back, Enter") << "Down Up Return" << "" << 0;
        QTest::newRow("from the list") << "Alt+Down Down Return" << "en" << 1;
        QTest::newRow("stepped to, then picked from the list") << "Down Alt+Down Return" << "en" << 1;
    }

    void languageBoxSwitchesOnAChoiceOnly()
    {
        QFETCH(QString, keys);
        QFETCH(QString, signalled);
        QFETCH(int, shown);
        page->switchLanguage(QStringLiteral("zh_CN"));
        QVERIFY(QTest::qWaitForWindowActive(page.get()));
        auto* box = page->findChild<QComboBox*>(QStringLiteral("languageComboBox"));
        box->setFocus(Qt::TabFocusReason);
        QStringList codes;
        connect(page.get(), &ProjectFileWidget::sigLanguageChanged, this, [&codes](const QString& code) { codes << code; });
        vexatest::typeKeys(page.get(), keys);
        QCOMPARE(codes.join(QLatin1Char(' ')), signalled);
        QCOMPARE(box->currentIndex(), shown);
        QCOMPARE(newText(), signalled.isEmpty() ? QStringLiteral("新建") : QStringLiteral("New"));
    }

    // Everything a screen reader user can act on has a name, in either
    // language; the painted tiles read their captions and facts.
    void screenReaderNames_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("English") << "en";
        QTest::newRow("Chinese") << "zh_CN";
    }

    void screenReaderNames()
    {
        QFETCH(QString, language);
        QTemporaryDir dir;
        const QDateTime ten(QDate(2024, 6, 1), QTime(10, 0));
        const QString kept = vexatest::makeFile(dir.filePath("Kept.ptr7"), "{}", ten);
        const QString broken = vexatest::makeFile(dir.filePath("Broken.ptr7"), "{}", ten);
        STProjectFile project;
        for (const QString& path : {kept, broken}) {
            project.strProfilePath = path.toStdString();
            project.isDamageFile = path == broken;
            page->addSingleProfile(project);
        }
        page->switchLanguage(language);
        QCOMPARE(vexatest::unnamedActionable(page.get()), QStringList());
        const auto as = [](QAccessible::Role role, const QString& name) { return QString::number(role, 16) + ' ' + name; };
        const QStringList read = vexatest::actionableObjects(page.get());
        for (const char* key : {"BlankTemplate", "TwoScreenTemplate", "ThreeScreenTemplate"})
            QVERIFY2(read.contains(as(QAccessible::ListItem, trText(key))), key);
        QVERIFY(read.contains(as(QAccessible::PushButton, trText("SortDescending"))));
        QVERIFY(read.contains(as(QAccessible::Link, trText("PrivacyPolicy"))));
        QVERIFY(read.contains(as(QAccessible::List, trText("LastProject"))));
        QAccessibleInterface* recent = QAccessible::queryAccessibleInterface(page->findChild<QWidget*>("FileListWidget"));
        QCOMPARE(recent->childCount(), 2);
        const QString facts = trText("RecentRowFacts").arg("2024.06.01 10:00:00", "0.00KB");
        QCOMPARE(recent->child(0)->text(QAccessible::Name), QStringLiteral("Kept.ptr7"));
        // The facts come from the file system off the GUI thread; until then the row says it is checked.
        QTRY_COMPARE(recent->child(0)->text(QAccessible::Description), facts.arg(kept));
        QTRY_COMPARE(recent->child(1)->text(QAccessible::Description), trText("RecentRowDamaged").arg(facts.arg(broken)));
        // The direction button says the order it shows.
        page->changeSortClicked();
        QVERIFY(vexatest::actionableObjects(page.get()).contains(as(QAccessible::PushButton, trText("SortAscending"))));
    }

    void legalLinks_data()
    {
        QTest::addColumn<QString>("language"); // "-": none chosen yet
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("opens");
        const QString base = QCoreApplication::applicationDirPath() + shareRelative + QLatin1Char('/');
        for (const char* language : {"-", "en", "ZH_CN", "zh_CN"}) {
            const bool cn = language == QLatin1String("zh_CN");
            const QString licence = cn ? QStringLiteral("license/license_cn") : QStringLiteral("license/license_other");
            const QString privacy = cn ? QStringLiteral("privacy/privacy_cn") : QStringLiteral("privacy/privacy_other");
            const QString notices = licence + (cn ? "/third_copyright_zh.html" : "/third_copyright_en.html");
            QTest::addRow("%s license", language) << language << "license" << licence + "|pdf|" << licence + ".pdf";
            QTest::addRow("%s privacy", language) << language << "privacy" << privacy + "|pdf|" << privacy + ".pdf";
            // The explicit path joins the application folder and the shared path as they are.
            QTest::addRow("%s notices", language)
                << language << "thirdPartyLicense" << licence + "|html|" + base + notices << notices;
        }
    }

    void legalLinks()
    {
        QFETCH(QString, language);
        QFETCH(QString, label);
        QFETCH(QString, call);
        QFETCH(QString, opens);
        if (language != QLatin1String("-"))
            page->switchLanguage(language);
        QVERIFY(!pressReachesThePage(qPrintable(label)));
        QCOMPARE(g_shareCalls, QStringList(call));
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(shareDir + QLatin1Char('/') + opens)}));
    }

    void legalLinkButtonsAndMissingDocuments()
    {
        // Any button opens; the second press of a double-click does not; other labels are not watched.
        QVERIFY(!pressReachesThePage("privacy", Qt::RightButton));
        QWidget* privacy = page->findChild<QLabel*>(QStringLiteral("privacy"));
        send(privacy, QEvent::MouseButtonDblClick, privacy->mapToGlobal(QPoint(2, 2)), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(pressReachesThePage("version"));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(g_shareCalls.size(), 1);
        // Enter on a link that has the focus opens it as well.
        privacy->setFocus(Qt::TabFocusReason);
        vexatest::typeKeys(page.get(), QStringLiteral("Return"));
        QCOMPARE(opened.size(), 2);

        // A document that cannot be opened: the host is told and the press goes on to the page.
        opened.clear();
        const QString licence = shareDir + QStringLiteral("/license/license_other.pdf");
        const QString notices = shareDir + QStringLiteral("/license/license_other/third_copyright_en.html");
        QVERIFY(QFile::rename(licence, licence + ".away") && QFile::rename(notices, notices + ".away"));
        QSignalSpy told(page.get(), &ProjectFileWidget::documentNotOpened);
        const bool licencePassedOn = pressReachesThePage("license");
        const bool noticesPassedOn = pressReachesThePage("thirdPartyLicense");
        QVERIFY(QFile::rename(licence + ".away", licence) && QFile::rename(notices + ".away", notices));
        QVERIFY(licencePassedOn && noticesPassedOn);
        QCOMPARE(told.count(), 2);
    }

    void splashFillsInAtLeastTwoAndAHalfSecondsThenShowsTheStartPage()
    {
        page->hide();
        LoadingPage* loading = splash();
        auto* bar = loading->findChild<QProgressBar*>();
        QSignalSpy finished(loading, &LoadingPage::initFinish);
        QElapsedTimer clock;
        clock.start();
        page->showLoadingPage();
        QTest::keyClick(loading, Qt::Key_Escape); // cannot dismiss the splash page
        QVERIFY(loading->isVisible());

        QVERIFY(finished.wait(15000));
        QVERIFY2(clock.elapsed() >= 2500, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(bar->value(), 100);
        QVERIFY(!loading->isVisible());
        QVERIFY(page->isVisible());

        // A full bar stays full and signals once more on the next tick.
        loading->showLoadingPage();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.count(), 2);
        QCOMPARE(bar->value(), 100);
        QVERIFY(!loading->findChild<QTimer*>()->isActive());
    }
};

VEXA_TEST_MAIN(TestPage)
#include "tst_page.moc"
