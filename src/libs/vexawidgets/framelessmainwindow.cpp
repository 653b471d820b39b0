#include "framelessmainwindow.h"
#include "qtcompat.h"

#include <QEvent>
#include <QMouseEvent>
#include <QShortcut>

#include <algorithm>
#include <vector>

namespace vexa {
namespace widgets {

namespace {

constexpr int kDragStripHeight = 40;

// Live main windows in creation order; touched on the GUI thread only.
std::vector<FramelessMainWindow*>& registry()
{
    static std::vector<FramelessMainWindow*> windows;
    return windows;
}

} // namespace

struct FramelessMainWindow::Private {
    bool activateEnabled = true;
    bool dragging = false;
    QPoint dragOffset;
};

FramelessMainWindow::FramelessMainWindow(QWidget* parent) : QMainWindow(parent), d(std::make_unique<Private>())
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    registry().push_back(this);

    // Application-wide, so the keys also work while another window of the
    // host (for example an embedded start page) has the focus.
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Left), this);
    previous->setContext(Qt::ApplicationShortcut);
    connect(previous, &QShortcut::activated, this, [this] { Q_EMIT signalHookMoveScreen(true); });
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Right), this);
    next->setContext(Qt::ApplicationShortcut);
    connect(next, &QShortcut::activated, this, [this] { Q_EMIT signalHookMoveScreen(false); });
}

FramelessMainWindow::~FramelessMainWindow()
{
    auto& windows = registry();
    windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

FramelessMainWindow* FramelessMainWindow::getMainWindow()
{
    const auto& windows = registry();
    return windows.empty() ? nullptr : windows.front();
}

void FramelessMainWindow::setActivateEnabled(bool enabled)
{
    d->activateEnabled = enabled;
    setAttribute(Qt::WA_ShowWithoutActivating, !enabled);
}

bool FramelessMainWindow::isActivateEnabled() const
{
    return d->activateEnabled;
}

void FramelessMainWindow::activate()
{
    if (!d->activateEnabled)
        return;
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

bool FramelessMainWindow::event(QEvent* event)
{
    // Nothing extra happens on activation: while activation is disabled the
    // window neither raises itself (activate()) nor takes the focus when shown
    // (WA_ShowWithoutActivating), so a plug-in's modal dialog stays on top.
    return QMainWindow::event(event);
}

void FramelessMainWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && event->pos().y() < kDragStripHeight && !isMaximized() &&
        !isFullScreen()) {
        d->dragging = true;
        d->dragOffset = vexa::qtcompat::globalPos(event) - frameGeometry().topLeft();
        event->accept();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void FramelessMainWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (d->dragging && (event->buttons() & Qt::LeftButton)) {
        move(vexa::qtcompat::globalPos(event) - d->dragOffset);
        event->accept();
        return;
    }
    QMainWindow::mouseMoveEvent(event);
}

void FramelessMainWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (d->dragging && event->button() == Qt::LeftButton) {
        d->dragging = false;
        event->accept();
        return;
    }
    QMainWindow::mouseReleaseEvent(event);
}

} // namespace widgets
} // namespace vexa
