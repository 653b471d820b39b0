#include "accessiblewalk.h"

#include <QAccessibleActionInterface>
#include <QObject>

namespace vexatest {

namespace {

template <typename Visit>
void walk(QAccessibleInterface* node, const Visit& visit)
{
    if (!node || node->state().invisible)
        return;
    QAccessibleActionInterface* actions = node->actionInterface();
    if ((actions && !actions->actionNames().isEmpty()) || node->state().focusable)
        visit(node);
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), visit);
}

QString roleOf(const QAccessibleInterface* node)
{
    return QString::number(node->role(), 16);
}

} // namespace

QStringList actionableObjects(QObject* root)
{
    QStringList found;
    walk(QAccessible::queryAccessibleInterface(root), [&found](QAccessibleInterface* node) {
        found << roleOf(node) + QLatin1Char(' ') + node->text(QAccessible::Name);
    });
    return found;
}

QStringList unnamedActionable(QObject* root)
{
    QStringList found;
    walk(QAccessible::queryAccessibleInterface(root), [&found](QAccessibleInterface* node) {
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            found << roleOf(node) + QLatin1Char(' ') + (node->object() ? node->object()->objectName() : QString());
    });
    return found;
}

} // namespace vexatest
