#include "recentrowmenu.h"

#include "tilelistkeys.h"
#include "tipdialog.h"
#include "translatemanager.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

namespace vexa {
namespace projectfilemgr {

RowChoice chooseFromRowMenu(QWidget* list, bool pinned, const QPoint& globalPos)
{
    QPointer<QMenu> menu = new QMenu(list);
    QAction* pinAction = menu->addAction(trText(pinned ? QStringLiteral("Unpin") : QStringLiteral("PinToTop")));
    // Shown for the user to learn; the list's own key handling does the work.
    pinAction->setShortcut(pinKeys());
    pinAction->setShortcutContext(Qt::WidgetShortcut);
    QAction* clearAction = menu->addAction(trText(QStringLiteral("ClearFile")));
    QAction* deleteAction = menu->addAction(trText(QStringLiteral("DeleteFiles")));

    // An action can also be triggered without the menu returning it (through
    // accessibility, for instance): take whichever the menu reports.
    QAction* chosen = nullptr;
    QObject::connect(menu, &QMenu::triggered, menu, [&chosen](QAction* action) { chosen = action; });
    if (QAction* returned = menu->exec(globalPos))
        chosen = returned;
    // Gone with the list, if the list went while the menu was open.
    if (!menu)
        return RowChoice::None;
    const RowChoice choice = chosen == pinAction      ? RowChoice::Pin
                             : chosen == clearAction  ? RowChoice::Forget
                             : chosen == deleteAction ? RowChoice::Delete
                                                      : RowChoice::None;
    delete menu;
    return choice;
}

bool confirmDelete(const QString& path)
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipQuestion, nullptr);
    tip.setTipText(
        QStringLiteral("%1\n%2").arg(trText(QStringLiteral("DeleteFileTip")), QDir::toNativeSeparators(path)));
    tip.setBtnText(trText(QStringLiteral("OK")), trText(QStringLiteral("Cancel")), QString());
    // Enter keeps the project.
    tip.setDefaultButton(2);
    const int code = tip.run().buttonCode;
    return code != 0 && code != 2;
}

void tellNotDeleted(const QString& path, const QString& reason)
{
    vexa::widgets::TipDialog tip(vexa::widgets::TipWarning, nullptr);
    tip.setTipText(QStringLiteral("%1\n%2\n%3")
                       .arg(trText(QStringLiteral("DeleteFailedTip")), QDir::toNativeSeparators(path), reason));
    tip.run();
}

} // namespace projectfilemgr
} // namespace vexa
