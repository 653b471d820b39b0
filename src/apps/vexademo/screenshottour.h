#pragma once

// Walks the demo through its main screens and saves a picture of each:
// loading page, start page, new-project dialog, the open project, the
// package dialog while packaging and on a nearly full drive, the question
// about unsaved work, the title with unsaved work and the question a start
// after a crash asks; the start page and the package dialog once more
// as a keyboard user moves through them; and the recent list with a pinned
// project, filtered, and filtered down to nothing. Works under any
// display, Xvfb included.

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class QAbstractButton;
class QLineEdit;
class QWidget;

namespace vexademo {

class DemoHost;

class ScreenshotTour : public QObject
{
    Q_OBJECT
public:
    ScreenshotTour(DemoHost* host, const QString& outputDir, const QString& suffix, QObject* parent = nullptr);

    // Starts the host and the walk; the application quits when it is done.
    void begin();
    QStringList saved() const { return saved_; }
    bool failed() const { return failed_; }

private:
    void waitFor(const char* what, std::function<bool()> condition, std::function<void()> next, int timeoutMs = 20000);
    // Presses the keys, one after the other, where the window's focus is, as a keyboard would.
    void press(QWidget* window, std::initializer_list<Qt::Key> keys, Qt::KeyboardModifiers held = Qt::NoModifier);
    // Types the text, a key for each character, where the window's focus is.
    void type(QWidget* window, const QString& text);
    // A left click in the widget's middle.
    void click(QWidget* widget);
    // Puts the cursor in the recent list's filter with its text selected.
    void findInList(QWidget* page, QLineEdit* filter);
    void after(int ms, std::function<void()> next);
    void save(QWidget* widget, const QString& name);
    void fail(const QString& why);
    void finish();

    void stepLoading();
    void stepStartPage();
    void stepStartPageFocus();
    void stepPin();
    void stepFilter();
    void stepUnpin(QLineEdit* filter);
    void stepNewProject();
    void stepOpenSample();
    void stepPackage();
    void stepPackageFocus(QWidget* dialog, QAbstractButton* start);
    void stepPackaging(QWidget* dialog, QAbstractButton* start);
    void stepNoSpace();
    void stepUnsavedQuestion();
    void stepRecoveryQuestion();

    DemoHost* host_;
    QString outputDir_;
    QString suffix_;
    QTemporaryDir work_;
    QStringList saved_;
    bool failed_ = false;
};

// The visible top-level widget of this class (by meta-object name), or null.
QWidget* findTopLevel(const char* className);

} // namespace vexademo
