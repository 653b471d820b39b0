#include "filterbox.h"

#include "translatemanager.h"

#include <QAccessible>
#include <QKeyEvent>

namespace vexa {
namespace projectfilemgr {

FilterBox::FilterBox(QWidget* parent) : vexa::widgets::EditBox(parent)
{
    setObjectName(QStringLiteral("filterEdit"));
    setClearButtonEnabled(true);
    translateLanguage();
}

FilterBox::~FilterBox() = default;

void FilterBox::takeFocus()
{
    setFocus(Qt::ShortcutFocusReason);
    selectAll();
}

void FilterBox::tellMatches(int shown, int listed)
{
    shownCount = shown;
    listedCount = listed;
    const QString told = text().trimmed().isEmpty()
                             ? QString()
                             : trText(QStringLiteral("FilterMatches")).arg(shown).arg(listed);
    if (accessibleDescription() == told)
        return;
    setAccessibleDescription(told);
    // A screen reader speaks a new description of the field it is in.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void FilterBox::translateLanguage()
{
    const QString placeholder = trText(QStringLiteral("FilterPlaceholder"));
    setPlaceholderText(placeholder);
    setAccessibleName(placeholder);
    if (shownCount >= 0)
        tellMatches(shownCount, listedCount);
}

bool FilterBox::takesEscape(const QKeyEvent* event) const
{
    return event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !text().isEmpty();
}

bool FilterBox::event(QEvent* event)
{
    // Claimed ahead of the host's shortcuts (an Escape that leaves the page),
    // so the first Escape only clears the text.
    if (event->type() == QEvent::ShortcutOverride && takesEscape(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return EditBox::event(event);
}

void FilterBox::keyPressEvent(QKeyEvent* event)
{
    if (takesEscape(event)) {
        clear();
        event->accept();
        return;
    }
    EditBox::keyPressEvent(event);
}

} // namespace projectfilemgr
} // namespace vexa
