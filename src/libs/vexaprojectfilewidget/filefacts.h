#pragma once

// What the recent list needs to know of a project file, and the texts a row
// makes of it. No widgets: the store, the sort and the tiles share these.

#include <QString>
#include <QtGlobal>
#include <string>
#include <system_error>

namespace vexa {
namespace projectfilemgr {

// Whether a file exists, its size and the time of its last modification
// (seconds since the epoch). One stat per file.
struct FileFacts {
    bool exists = false;
    qint64 size = 0;
    qint64 modified = 0;
};

// The facts of the file at the stored bytes of `path`.
FileFacts factsOf(const std::string& path);

// What the file system said when asked about a file. Only "not there" means
// missing: a share that does not answer, or answers with an error, may well
// hold the file and be back later.
enum class FileState { Unknown, Exists, Missing, Unreachable };

struct FileAnswer {
    FileState state = FileState::Unknown;
    FileFacts facts;
    int error = 0; // errno of a failed question
};

// One question about the file at the stored bytes of `path`. It blocks as
// long as the file system does: never on the GUI thread.
FileAnswer askFileSystem(const std::string& path);

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

} // namespace projectfilemgr
} // namespace vexa
