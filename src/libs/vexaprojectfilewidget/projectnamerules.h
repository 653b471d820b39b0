#pragma once

// The rules a project's file name must meet, as plain functions: the
// extension, the characters, the lengths the host's backups leave room for.

#include <QString>

namespace vexa {
namespace projectfilemgr {

// The file type of projects, the same on every system the host runs on.
extern const char* const kProjectExtension;

// What a save dialog's choice names: the path with the extension added when
// it lacks one, the deepest folder on its way that exists, and the name
// below that folder (which may hold folders still to be made).
struct ProjectSaveName {
    QString path;
    QString folder;
    QString fileName;
};

ProjectSaveName projectSaveName(const QString& chosen);

// Whether a project may be saved under that name: a path and a backup path
// shorter than 260 characters, a name that is not blank, does not start
// with a dot and holds no path separator nor any of ?"<>|.
bool isLegalProjectName(const ProjectSaveName& name, int backupPathLength);

} // namespace projectfilemgr
} // namespace vexa
