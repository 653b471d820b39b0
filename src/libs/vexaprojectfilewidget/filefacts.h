#pragma once

// What the recent list needs to know of a project file, and the texts a row
// makes of it. No widgets: the store, the sort and the tiles share these.

#include <QString>
#include <QtGlobal>
#include <string>
#include <system_error>

namespace vexa {
namespace projectfilemgr {

struct STFileItem;

// Whether a file exists, its size and the time of its last modification
// (seconds since the epoch). One stat per file.
struct FileFacts {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;
};

// The facts of the file at the stored bytes of `path`.
FileFacts factsOf(const std::string& path);

// Existence as the recent list and the open request see it: a file or a
// folder, links followed. A failing check counts as missing.
bool pathExists(const std::string& path, std::error_code& error);

// Qt would ask the system for the time zone again on every local-time
// conversion; the caller reads it once for a batch of rows instead.
void readTimeZone();

// The local time of the modification as "yyyy.MM.dd hh:mm:ss"; empty when
// there is no file.
QString modifyTimeText(const FileFacts& facts);

// The size as a row shows it: kilobytes, or megabytes from 1000 KB on, two decimals.
QString fileSizeText(qint64 bytes);

// Name, time and size of a row, from a fresh look at the file at the stored
// bytes of its path.
void completeRowTexts(STFileItem& item, const std::string& storedPath);

} // namespace projectfilemgr
} // namespace vexa
