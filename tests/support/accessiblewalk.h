#pragma once

#include <QAccessible>
#include <QStringList>

class QObject;

namespace vexatest {

// Every object under `root` a screen reader user can act on (one with an
// action, or that takes the focus) and can see, as "role name", depth first.
QStringList actionableObjects(QObject* root);
// Those of them without a name, as "role" and the object's name in the code.
QStringList unnamedActionable(QObject* root);

} // namespace vexatest
