#pragma once

// The document bound to the recent list file, and the JSON bindings of its
// records. Only four members of a project reach the file.

#include "ajson.h"
#include "projectfiletypes.h"

#include <vector>

namespace vexa {
namespace projectfilemgr {

struct STProjectFileList {
    std::vector<STProjectFile> projects;
};

} // namespace projectfilemgr
} // namespace vexa

AJSON(vexa::projectfilemgr::STProjectFile, strProfileName, strProfilePath, strImagePath, isDamageFile)
AJSON(vexa::projectfilemgr::STProjectFileList, projects)
