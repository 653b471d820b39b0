#pragma once

// Drives modal dialogs without sleeping: the action runs from inside the
// dialog's own event loop as soon as the dialog is the active modal widget.

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace modalhelper {

// Result of one scheduled action: whether the expected dialog ever showed up.
struct Outcome {
    bool found = false;
    bool done = false;
};

// Schedules `action` for the next modal widget of type T. Call it right
// before the code that opens the dialog. When no such dialog opens within
// the wait, every modal widget is closed so the test cannot hang, and the
// outcome stays "not found".
template <typename T>
std::shared_ptr<Outcome> onNextModal(std::function<void(T*)> action, int timeoutMs = 5000)
{
    auto outcome = std::make_shared<Outcome>();
    QTimer::singleShot(0, [outcome, action, timeoutMs] {
        QPointer<T> dialog;
        const bool appeared = QTest::qWaitFor(
            [&dialog] {
                dialog = qobject_cast<T*>(QApplication::activeModalWidget());
                return !dialog.isNull();
            },
            timeoutMs);
        if (appeared && dialog) {
            outcome->found = true;
            action(dialog.data());
        } else {
            while (QWidget* modal = QApplication::activeModalWidget())
                modal->hide(); // hide() ends exec() even when close() is refused
        }
        outcome->done = true;
    });
    return outcome;
}

} // namespace modalhelper
