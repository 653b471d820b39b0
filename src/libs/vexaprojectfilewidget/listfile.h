#pragma once

// Reading and writing the recent list file, shared by the start page and by
// the host, which adds entries to the same file.

#include "projectfilelist.h"
#include "vexaprojectfilewidget_global.h"

#include <QString>

#include <string>

namespace vexa {
namespace projectfilemgr {

// Reads the list file into doc, replacing its entries. A file that does not
// parse is kept byte for byte beside it under a new name, and doc gets every
// entry of it that still reads whole, so the caller's next write starts the
// list afresh instead of the damage locking every entry out for good. False,
// with doc emptied, when the file cannot be read or its copy cannot be kept;
// the file must then not be written. `keptCopy`, when given, receives the
// copy's path, or nothing when the file read whole.
VEXAPROJECTFILEWIDGET_EXPORT bool readListFile(const QString& path, STProjectFileList& doc, QString* keptCopy = nullptr);

// Writes text as the list file. A failure is logged as critical with the
// reason; false then.
VEXAPROJECTFILEWIDGET_EXPORT bool saveListFile(const QString& path, const std::string& text);

} // namespace projectfilemgr
} // namespace vexa
