#include "focusframe.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QWidget>

namespace vexa {
namespace projectfilemgr {

namespace {

// The frame lies this far outside what it marks, clear of the widget's own border.
constexpr int kFrameMargin = 3;

QAbstractItemView* itemViewOf(QObject* object)
{
    if (auto* view = qobject_cast<QAbstractItemView*>(object))
        return view;
    // A list's mouse presses arrive at its viewport.
    return object ? qobject_cast<QAbstractItemView*>(object->parent()) : nullptr;
}

} // namespace

FocusFrame::FocusFrame(QWidget* window) : QObject(window), window(window), box(new QWidget(window))
{
    box->setObjectName(QStringLiteral("keyboardFocusFrame"));
    box->setAttribute(Qt::WA_StyledBackground);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    box->hide();
    // Keys that reach the window itself count as well (Tab before anything has the focus).
    window->installEventFilter(this);
    placeLater.setSingleShot(true);
    placeLater.setInterval(0);
    connect(&placeLater, &QTimer::timeout, this, &FocusFrame::place);
}

FocusFrame::~FocusFrame() = default;

void FocusFrame::watch(QWidget* widget)
{
    widget->installEventFilter(this);
    auto* view = qobject_cast<QAbstractItemView*>(widget);
    if (!view)
        return;
    view->viewport()->installEventFilter(this);
    // The current tile moves with the keys, a scroll and a re-sort.
    const auto update = [this] { placeLater.start(); };
    connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, update);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, update);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, update);
    QAbstractItemModel* model = view->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, update);
    connect(model, &QAbstractItemModel::modelReset, this, update);
    connect(model, &QAbstractItemModel::layoutChanged, this, update);
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Tab's own key press has set the mode already: focus that moves on
        // because a clicked button disables the focused input comes as Tab too.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ShortcutFocusReason)
            keyboard = true;
        else if (reason == Qt::MouseFocusReason)
            keyboard = false;
        if (watched != window)
            follow(qobject_cast<QWidget*>(watched));
        break;
    }
    case QEvent::FocusOut:
        // A menu or a box's list opened from here keeps the frame on what it is for.
        if (watched == target && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            follow(nullptr);
        break;
    case QEvent::KeyPress:
        keyboard = true;
        placeLater.start();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        keyboard = false;
        box->hide();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == target || itemViewOf(watched) == target)
            placeLater.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void FocusFrame::follow(QWidget* widget)
{
    target = widget;
    place();
}

void FocusFrame::place()
{
    if (!keyboard || !target || !target->isVisible()) {
        box->hide();
        return;
    }
    QRect marked(target->mapTo(window, QPoint(0, 0)), target->size());
    if (auto* view = qobject_cast<QAbstractItemView*>(target.data())) {
        // The current tile as far as it is in view; the whole list when none is current.
        const QRect area = view->viewport()->rect();
        const QRect tile = view->visualRect(view->currentIndex()).intersected(area);
        if (!tile.isEmpty())
            marked = QRect(view->viewport()->mapTo(window, tile.topLeft()), tile.size());
    }
    box->setGeometry(marked.adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin));
    box->raise();
    box->show();
}

} // namespace projectfilemgr
} // namespace vexa
