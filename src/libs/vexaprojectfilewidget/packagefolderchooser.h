#pragma once

// The package dialog's folder chooser.

#include <QString>

namespace vexa {
namespace projectfilemgr {

// Lets the user pick the folder a package goes into, starting at `location`
// (the desktop when that is no folder). Empty when nothing usable was
// picked; a folder the user cannot write to is refused with a tip.
QString choosePackageFolder(const QString& location);

} // namespace projectfilemgr
} // namespace vexa
