#include "modaldriver.h"

#include "tipdialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace vexatest {

void typeKeys(QWidget* window, const QString& keys)
{
    // Focus moves, and with it a dialog's default button, only in the active window.
    if (!window->isActiveWindow())
        (void)QTest::qWaitForWindowActive(window);
    for (const QString& token : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QKeySequence sequence(token);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        const Qt::Key key = sequence[0].key();
        const Qt::KeyboardModifiers modifiers = sequence[0].keyboardModifiers();
#else
        const auto key = Qt::Key(sequence[0] & ~Qt::KeyboardModifierMask);
        const auto modifiers = Qt::KeyboardModifiers(sequence[0] & Qt::KeyboardModifierMask);
#endif
        // An open popup (a box's list, a menu) takes the keys, as it grabs them.
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : window;
        QTest::keyClick(target->focusWidget() ? target->focusWidget() : target, key, modifiers);
    }
}

ModalDriver::ModalDriver()
{
    qApp->installEventFilter(this);
}

ModalDriver::~ModalDriver()
{
    qApp->removeEventFilter(this);
}

void ModalDriver::onNext(const char* description, Matcher match, Action action)
{
    expectations_.push_back(Expectation{description, std::move(match), std::move(action)});
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show || expectations_.empty())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->isWindow())
        return false;
    if (!expectations_.front().match(widget))
        return false;
    Expectation expectation = expectations_.front();
    expectations_.pop_front();
    ++handled_;
    QPointer<QWidget> target(widget);
    // Queued, so the action runs inside the window's own modal loop.
    QTimer::singleShot(0, this, [target, expectation] {
        if (target)
            expectation.action(target);
    });
    return false;
}

void ModalDriver::answerTip(int buttonCode)
{
    onNext<vexa::widgets::TipDialog>("tip dialog", [this, buttonCode](vexa::widgets::TipDialog* tip) {
        tipTexts_ << tip->tipText();
        if (buttonCode == EnterKey) {
            typeKeys(tip, QStringLiteral("Return"));
            return;
        }
        const char* name = buttonCode == 1 ? "tipConfirmButton"
                           : buttonCode == 2 ? "tipCancelButton"
                           : buttonCode == 3 ? "tipThirdButton"
                                             : nullptr;
        if (!name) {
            tip->close();
            return;
        }
        if (auto* button = tip->findChild<QAbstractButton*>(QLatin1String(name)))
            button->click();
        else
            tip->close();
    });
}

void ModalDriver::acceptFileDialog(const QString& name)
{
    onNext<QFileDialog>("file dialog", [this, name](QFileDialog* dialog) {
        fileDialogTitles_ << dialog->windowTitle();
        if (auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            edit->setText(name);
        else
            dialog->selectFile(name);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept is protected
    });
}

void ModalDriver::rejectFileDialog()
{
    onNext<QFileDialog>("file dialog", [this](QFileDialog* dialog) {
        fileDialogTitles_ << dialog->windowTitle();
        dialog->reject();
    });
}

void ModalDriver::chooseMenuAction(const QString& text)
{
    onNext<QMenu>("popup menu", [this, text](QMenu* menu) {
        menuPositions_ << menu->pos();
        for (QAction* action : menu->actions())
            menuTexts_ << action->text();
        for (QAction* action : menu->actions()) {
            if (!text.isEmpty() && action->text() == text) {
                menu->setActiveAction(action);
                action->activate(QAction::Trigger);
                menu->close();
                return;
            }
        }
        menu->close();
    });
}

void ModalDriver::closeNextWindow(const char* className)
{
    onNext(
        className, [className](QWidget* w) { return w->inherits(className); }, [](QWidget* w) { w->close(); });
}

} // namespace vexatest
