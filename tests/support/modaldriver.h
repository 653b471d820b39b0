#pragma once

// Drives modal dialogs and popup menus without sleeping: an expectation is
// queued before the code under test opens the window; when a matching window
// is shown, the action runs from inside its own modal loop.

#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QFileDialog;
class QMenu;
class QWidget;

namespace vexatest {

// Types each key of `keys` ("Tab Return", "Shift+F10") into whatever has the
// focus in `window` (the window itself when nothing has), as a user would.
void typeKeys(QWidget* window, const QString& keys);

class ModalDriver : public QObject
{
public:
    ModalDriver();
    ~ModalDriver() override;

    using Matcher = std::function<bool(QWidget*)>;
    using Action = std::function<void(QWidget*)>;

    void onNext(const char* description, Matcher match, Action action);

    template <typename T>
    void onNext(const char* description, std::function<void(T*)> action)
    {
        onNext(
            description, [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
            [action](QWidget* w) { action(qobject_cast<T*>(w)); });
    }

    // Answers the next tip dialog with a button code: 1 confirm, 2 cancel,
    // 3 third, 0 close, or EnterKey: Enter, whichever its default is. Its
    // text is recorded in tipTexts().
    static constexpr int EnterKey = 9;
    void answerTip(int buttonCode);
    // Types a file name (or full path) into the next file dialog and accepts it.
    void acceptFileDialog(const QString& name);
    void rejectFileDialog();
    // Picks the action with this text in the next popup menu; empty text dismisses it.
    void chooseMenuAction(const QString& text);
    // Closes the next busy dialog the way the host would not: used only to unblock a test.
    void closeNextWindow(const char* className);

    int pending() const { return static_cast<int>(expectations_.size()); }
    int handled() const { return handled_; }
    QStringList tipTexts() const { return tipTexts_; }
    QStringList fileDialogTitles() const { return fileDialogTitles_; }
    QStringList menuTexts() const { return menuTexts_; }
    // Where each menu showed, its top-left corner on the screen.
    QList<QPoint> menuPositions() const { return menuPositions_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Expectation {
        const char* description;
        Matcher match;
        Action action;
    };
    std::deque<Expectation> expectations_;
    int handled_ = 0;
    QStringList tipTexts_;
    QStringList fileDialogTitles_;
    QStringList menuTexts_;
    QList<QPoint> menuPositions_;
};

} // namespace vexatest
