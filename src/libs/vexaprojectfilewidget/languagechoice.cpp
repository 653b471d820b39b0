#include "languagechoice.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

namespace vexa {
namespace projectfilemgr {

LanguageChoice::LanguageChoice(QComboBox* box) : QObject(box), box(box)
{
    box->installEventFilter(this);
    // Connected before anyone else: a change not made by a key (the host's
    // switch, a pick from the list) ends the browsing before others hear of it.
    connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        if (!stepping)
            pending = false;
    });
    // Picking from the list the very item stepped to changes nothing, yet commits it.
    connect(box, QOverload<int>::of(&QComboBox::activated), this, [this] {
        if (pending && !stepping)
            commit();
    });
}

bool LanguageChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box)
        return QObject::eventFilter(watched, event);
    // The box's own list, or another window, takes the focus only for a while.
    const auto reason = event->type() == QEvent::FocusOut ? static_cast<QFocusEvent*>(event)->reason()
                                                            : Qt::OtherFocusReason;
    if (event->type() == QEvent::FocusOut && pending && reason != Qt::PopupFocusReason &&
        reason != Qt::ActiveWindowFocusReason) {
        revert();
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress || box->view()->isVisible())
        return QObject::eventFilter(watched, event);

    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!pending)
            return false;
        commit();
        return true;
    case Qt::Key_Escape:
        if (!pending)
            return false;
        revert();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false; // leaving the box; its focus-out reverts
    default:
        break;
    }
    // The box steps as it always does, with the step marked as no choice.
    if (!pending)
        committedIndex = box->currentIndex();
    stepping = true;
    const bool handled = static_cast<QObject*>(box)->event(event) && event->isAccepted();
    stepping = false;
    pending = box->currentIndex() != committedIndex;
    // A key the box ignores goes on to the page as usual.
    return handled;
}

void LanguageChoice::commit()
{
    pending = false;
    Q_EMIT committed(box->currentIndex());
}

void LanguageChoice::revert()
{
    stepping = true;
    box->setCurrentIndex(committedIndex);
    stepping = false;
    pending = false;
}

} // namespace projectfilemgr
} // namespace vexa
