#include "blockdialog.h"
#include "controls.h"
#include "dialog.h"
#include "framelessmainwindow.h"
#include "tipdialog.h"

#include "modalhelper.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace vexa::widgets;
using modalhelper::onNextModal;

namespace {

QPushButton* button(QWidget* dialog, const char* name)
{
    return dialog->findChild<QPushButton*>(QLatin1String(name));
}

// The texts of the tip buttons that are shown, in order; "-" for a left-out one.
QStringList shownButtons(TipDialog& dialog)
{
    QStringList result;
    for (const char* name : {"tipConfirmButton", "tipCancelButton", "tipThirdButton"}) {
        QPushButton* b = button(&dialog, name);
        result << (b && !b->isHidden() ? b->text() : QStringLiteral("-"));
    }
    return result;
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Records dialogClose() calls and still closes as the base class does.
class CountingDialog : public Dialog
{
public:
    int closeCalls = 0;
    void dialogClose() override
    {
        ++closeCalls;
        Dialog::dialogClose();
    }
};

} // namespace

class TestVexaWidgets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void dialogStructureAndTitle();
    void dialogCloseButtonEndsExec();
    void dialogCloseFromInsideLoop();
    void dialogDragsByTitleBar();

    void tipDefaultButtons_data();
    void tipDefaultButtons();
    void tipButtonTexts();
    void tipRunReturnsButtonCode_data();
    void tipRunReturnsButtonCode();
    void tipRunTwice();

    void blockDialogClosesFromItsLoopAndIgnoresEscape();

    void mainWindowRegistry();
    void mainWindowMoveScreenShortcuts();
    void mainWindowActivation();
};

void TestVexaWidgets::dialogStructureAndTitle()
{
    Dialog dialog;
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(dialog.dialogWidget()->objectName(), QStringLiteral("dialogContent"));
    QCOMPARE(dialog.dialogWidget()->parentWidget(), &dialog);

    dialog.setTitle(QStringLiteral("Package"));
    auto* title = dialog.findChild<QLabel*>(QStringLiteral("dialogTitle"));
    QVERIFY(title);
    QCOMPARE(title->text(), QStringLiteral("Package"));
    QCOMPARE(dialog.title(), QStringLiteral("Package"));

    auto* bar = dialog.findChild<QWidget*>(QStringLiteral("dialogTitleBar"));
    QVERIFY(bar);
    QVERIFY(!bar->isHidden());
    dialog.setTitleBarVisible(false);
    QVERIFY(bar->isHidden());
}

void TestVexaWidgets::dialogCloseButtonEndsExec()
{
    CountingDialog dialog;
    auto outcome = onNextModal<Dialog>([](Dialog* d) { button(d, "dialogCloseButton")->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(outcome->found);
    QCOMPARE(dialog.closeCalls, 1);
    QVERIFY(!dialog.isVisible());
}

void TestVexaWidgets::dialogCloseFromInsideLoop()
{
    Dialog dialog;
    auto outcome = onNextModal<Dialog>([](Dialog* d) { d->close(); });
    dialog.exec();
    QVERIFY(outcome->found);
    QVERIFY(!dialog.isVisible());
}

void TestVexaWidgets::dialogDragsByTitleBar()
{
    Dialog dialog;
    dialog.resize(300, 200);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QWidget* bar = dialog.findChild<QWidget*>(QStringLiteral("dialogTitleBar"));
    const QPoint start = dialog.pos();

    const QPoint grab(20, bar->height() / 2);
    sendMouse(bar, QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
    sendMouse(bar, QEvent::MouseMove, grab + QPoint(30, 25), Qt::NoButton, Qt::LeftButton);
    sendMouse(bar, QEvent::MouseButtonRelease, grab + QPoint(30, 25), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(dialog.pos(), start + QPoint(30, 25));

    // The content area and the right button do not drag.
    const QPoint moved = dialog.pos();
    QWidget* content = dialog.dialogWidget();
    sendMouse(content, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    sendMouse(content, QEvent::MouseMove, QPoint(60, 60), Qt::NoButton, Qt::LeftButton);
    sendMouse(content, QEvent::MouseButtonRelease, QPoint(60, 60), Qt::LeftButton, Qt::NoButton);
    sendMouse(bar, QEvent::MouseButtonPress, grab, Qt::RightButton, Qt::RightButton);
    sendMouse(bar, QEvent::MouseMove, grab + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
    sendMouse(bar, QEvent::MouseButtonRelease, grab + QPoint(40, 0), Qt::RightButton, Qt::NoButton);
    QCOMPARE(dialog.pos(), moved);
}

void TestVexaWidgets::tipDefaultButtons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("message") << 0 << QStringList{"OK", "-", "-"};
    QTest::newRow("question") << 1 << QStringList{"OK", "Cancel", "-"};
    QTest::newRow("warning") << 2 << QStringList{"OK", "-", "-"};
}

void TestVexaWidgets::tipDefaultButtons()
{
    QFETCH(int, kind);
    QFETCH(QStringList, buttons);
    TipDialog dialog(static_cast<EnumTipType>(kind), nullptr);
    QCOMPARE(shownButtons(dialog), buttons);
    QCOMPARE(int(dialog.tipType()), kind);
    QCOMPARE(dialog.property("tipType").toInt(), kind);
    auto* icon = dialog.findChild<QLabel*>(QStringLiteral("tipIcon"));
    QVERIFY(icon);
    QCOMPARE(icon->property("tipType").toInt(), kind);
}

void TestVexaWidgets::tipButtonTexts()
{
    TipDialog dialog(TipMessage, nullptr);
    dialog.setBtnText("Yes", "No", "Later");
    QCOMPARE(shownButtons(dialog), (QStringList{"Yes", "No", "Later"}));
    dialog.setBtnText("Got it", QString(), QString());
    QCOMPARE(shownButtons(dialog), (QStringList{"Got it", "-", "-"}));
    dialog.setBtnText(QString(), "Close", QString());
    QCOMPARE(shownButtons(dialog), (QStringList{"-", "Close", "-"}));

    // Tip texts are shown as they are, never interpreted as markup.
    dialog.setTipText(QStringLiteral("<b>C:/a&b.ptr7</b>"));
    auto* text = dialog.findChild<QLabel*>(QStringLiteral("tipText"));
    QVERIFY(text);
    QCOMPARE(text->text(), QStringLiteral("<b>C:/a&b.ptr7</b>"));
    QCOMPARE(text->textFormat(), Qt::PlainText);
    QVERIFY(text->wordWrap());
}

void TestVexaWidgets::tipRunReturnsButtonCode_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("code");
    QTest::newRow("confirm") << "tipConfirmButton" << 1;
    QTest::newRow("cancel") << "tipCancelButton" << 2;
    QTest::newRow("third") << "tipThirdButton" << 3;
    QTest::newRow("title close") << "dialogCloseButton" << 0;
    QTest::newRow("escape") << "escape" << 0;
    QTest::newRow("enter") << "enter" << 1;
    QTest::newRow("close()") << "close" << 0;
}

void TestVexaWidgets::tipRunReturnsButtonCode()
{
    QFETCH(QString, how);
    QFETCH(int, code);
    TipDialog dialog(TipQuestion, nullptr);
    dialog.setTipText(QStringLiteral("Overwrite?"));
    dialog.setBtnText("OK", "Cancel", "Other");
    auto outcome = onNextModal<TipDialog>([how](TipDialog* d) {
        if (how == "escape")
            QTest::keyClick(d, Qt::Key_Escape);
        else if (how == "enter")
            QTest::keyClick(d, Qt::Key_Return);
        else if (how == "close")
            d->close();
        else
            button(d, how.toLatin1().constData())->click();
    });
    const PromptBoxTriggerInfo info = dialog.run();
    QVERIFY(outcome->found);
    QCOMPARE(info.buttonCode, code);
}

void TestVexaWidgets::tipRunTwice()
{
    // A dialog the caller keeps may be run again; each run reports its own button.
    auto dialog = std::make_unique<TipDialog>(TipQuestion, nullptr);
    onNextModal<TipDialog>([](TipDialog* d) { button(d, "tipCancelButton")->click(); });
    QCOMPARE(dialog->run().buttonCode, 2);
    onNextModal<TipDialog>([](TipDialog* d) { d->close(); });
    QCOMPARE(dialog->run().buttonCode, 0);
    QVERIFY(!dialog->testAttribute(Qt::WA_DeleteOnClose));
}

void TestVexaWidgets::blockDialogClosesFromItsLoopAndIgnoresEscape()
{
    QWidget page;
    page.show();
    auto* dialog = new BlockDialog(&page);
    dialog->setTipText(QStringLiteral("Loading"));
    QCOMPARE(dialog->tipText(), QStringLiteral("Loading"));
    auto* tip = dialog->findChild<QLabel*>(QStringLiteral("blockTipText"));
    QVERIFY(tip);
    QCOMPARE(tip->text(), QStringLiteral("Loading"));
    QWidget* spinner = dialog->findChild<QWidget*>(QStringLiteral("blockSpinner"));
    QVERIFY(spinner);
    QTimer* animation = spinner->findChild<QTimer*>();
    QVERIFY(animation);
    QVERIFY(!animation->isActive());

    bool animatedWhileShown = false;
    bool survivedEscape = false;
    bool titleBarHidden = false;
    // No test macros in here: a failing one would return early and leave the dialog running.
    auto outcome = onNextModal<BlockDialog>([&](BlockDialog* d) {
        animatedWhileShown = animation->isActive();
        titleBarHidden = d->findChild<QWidget*>(QStringLiteral("dialogTitleBar"))->isHidden();
        QTest::keyClick(d, Qt::Key_Escape);
        QCoreApplication::processEvents();
        survivedEscape = d->isVisible() && QApplication::activeModalWidget() == d;
        // The way a host closes it once its work is done.
        QTimer::singleShot(50, d, [d] { d->close(); });
    });
    dialog->exec();
    QVERIFY(outcome->found);
    QVERIFY(animatedWhileShown);
    QVERIFY(titleBarHidden);
    QVERIFY(survivedEscape);
    QVERIFY(!dialog->isVisible());
    QVERIFY(!animation->isActive());
}

void TestVexaWidgets::mainWindowRegistry()
{
    QCOMPARE(FramelessMainWindow::getMainWindow(), nullptr);
    auto first = std::make_unique<FramelessMainWindow>();
    auto second = std::make_unique<FramelessMainWindow>();
    QCOMPARE(FramelessMainWindow::getMainWindow(), first.get());
    QVERIFY(first->windowFlags() & Qt::FramelessWindowHint);
    first.reset();
    QCOMPARE(FramelessMainWindow::getMainWindow(), second.get());
    second.reset();
    QCOMPARE(FramelessMainWindow::getMainWindow(), nullptr);
}

void TestVexaWidgets::mainWindowMoveScreenShortcuts()
{
    FramelessMainWindow window;
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QSignalSpy spy(&window, &FramelessMainWindow::signalHookMoveScreen);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_Left, Qt::ControlModifier); // not the shortcut
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toBool(), true);
    QCOMPARE(spy.at(1).at(0).toBool(), false);
}

void TestVexaWidgets::mainWindowActivation()
{
    FramelessMainWindow window;
    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));

    window.setActivateEnabled(false);
    QVERIFY(!window.isActivateEnabled());
    QVERIFY(window.testAttribute(Qt::WA_ShowWithoutActivating));
    window.activate();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(QApplication::activeWindow(), &other);

    window.setActivateEnabled(true);
    QVERIFY(!window.testAttribute(Qt::WA_ShowWithoutActivating));
    window.activate();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Dragging by the top strip moves the window; below it nothing moves.
    const QPoint start = window.pos();
    sendMouse(&window, QEvent::MouseButtonPress, QPoint(50, 10), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&window, QEvent::MouseMove, QPoint(70, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(&window, QEvent::MouseButtonRelease, QPoint(70, 30), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(window.pos(), start + QPoint(20, 20));
    sendMouse(&window, QEvent::MouseButtonPress, QPoint(50, 100), Qt::LeftButton, Qt::LeftButton);
    sendMouse(&window, QEvent::MouseMove, QPoint(90, 140), Qt::NoButton, Qt::LeftButton);
    sendMouse(&window, QEvent::MouseButtonRelease, QPoint(90, 140), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(window.pos(), start + QPoint(20, 20));
}

QTEST_MAIN(TestVexaWidgets)
#include "tst_vexawidgets.moc"
