#pragma once

#include "vexaqutils_global.h"

#include <QString>

namespace vexa {
namespace qutils {

// The host's shared data directory, relative to the application directory
// (for example "/../share/vexademo"): callers append it directly to
// QCoreApplication::applicationDirPath(). Never null.
VEXAQUTILS_EXPORT const char* sharePath();

// Lets the host choose its shared data directory; the same form as sharePath().
VEXAQUTILS_EXPORT void setSharePath(const QString& relativePath);

// Opens a document of the shared data directory with the desktop's viewer.
// location: relative to the shared data directory, without extension (for
// example "license/license_cn"); type: the extension ("pdf", "html");
// explicitPath: when not empty, the file to open instead. Returns false when
// the document does not exist or cannot be opened.
VEXAQUTILS_EXPORT bool openShareDirFile(const QString& location, const QString& type, const QString& explicitPath);

} // namespace qutils
} // namespace vexa
