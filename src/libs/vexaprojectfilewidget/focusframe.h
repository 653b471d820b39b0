#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QWidget;

namespace vexa {
namespace projectfilemgr {

// A frame around the widget with the keyboard focus (in a list, around its
// current tile) while the user works with the keyboard. A mouse press puts it
// away, so a window used with the mouse looks just as it is laid out. The
// frame is a widget named "keyboardFocusFrame" above the window's other
// widgets, drawn by the style sheet alone; mouse events pass through it.
class FocusFrame : public QObject
{
    Q_OBJECT
public:
    explicit FocusFrame(QWidget* window);
    ~FocusFrame() override;

    // Frames `widget` while it has the focus.
    void watch(QWidget* widget);
    // The frame itself; hidden while there is nothing to show.
    QWidget* frame() const { return box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow(QWidget* widget);
    void place();

    QWidget* window;
    QWidget* box;
    QPointer<QWidget> target;
    bool keyboard = false;
    // Coalesces the moves of one turn of the event loop (a key, a scroll, a sort).
    QTimer placeLater;
};

} // namespace projectfilemgr
} // namespace vexa
