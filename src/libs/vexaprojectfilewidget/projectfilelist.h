#pragma once

// The document bound to the recent list file, and the JSON bindings of its
// records. Four members of a project reach the file, and the list's own pin.

#include "ajson.h"
#include "projectfiletypes.h"

#include <vector>

namespace vexa {
namespace projectfilemgr {

// An entry of the list file: the project as the host hands it, and what only
// the list keeps of it. The host's record stays as the host was built
// against; readers that do not know a member skip it.
struct ListFileEntry : STProjectFile {
    bool isPinned = false; // kept on top of the list, and not pruned when gone

    ListFileEntry() = default;
    ListFileEntry(const STProjectFile& file) : STProjectFile(file) {} // NOLINT: a host record is an unpinned entry
};

struct STProjectFileList {
    std::vector<ListFileEntry> projects;
};

} // namespace projectfilemgr
} // namespace vexa

AJSON(vexa::projectfilemgr::STProjectFile, strProfileName, strProfilePath, strImagePath, isDamageFile)
AJSON(vexa::projectfilemgr::ListFileEntry, strProfileName, strProfilePath, strImagePath, isDamageFile, isPinned)
AJSON(vexa::projectfilemgr::STProjectFileList, projects)
