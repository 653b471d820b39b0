#pragma once

// Moving a recent project's file to the trash, by the path as the list file
// stores it, byte for byte.

#include <QString>
#include <string>

namespace vexa {
namespace projectfilemgr {

// Moves the project file to the trash, where the system has one, so a wrong
// click can be undone. True when no file is left at the path; `reason` says
// what went wrong otherwise, or why there was nothing to remove.
bool moveProjectToTrash(const std::string& path, QString* reason);

} // namespace projectfilemgr
} // namespace vexa
