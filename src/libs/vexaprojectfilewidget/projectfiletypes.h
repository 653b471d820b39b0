#pragma once

// Records and enumerations exchanged between the start page and the host.
// The host includes this header too, so field order, types and defaults are
// part of the contract and must not change.

#include <cstdint>
#include <string>
#include <vector>

namespace vexa {
namespace projectfilemgr {

// Outcome of an open request. Any value other than FileDamage counts as success.
enum EnProjectOpenStatus : std::int32_t {
    Success = 0,
    FileDamage = 1,
};

// Scene template of a new project.
enum TemplateType : std::int32_t {
    BlankTemplate = 1,
    TwoScreenTemplate = 2,
    ThreeScreenTemplate = 3,
};

// Mode of a load request; the page always passes 1, other values are the host's.
enum unserializeType : std::int32_t {
    unserializeDefault = 1,
};

struct STPluginConfig {
    int timeInterval = 5;
    int maxSaveCounts = 5;
    bool autoSave = false;
    bool openDefaultPlay = false;
    bool autoOpenCurrentProject = false;
    bool isCloseTip = false;
    std::string autoSavePath; // UTF-8
};

// Media information the host sends when it agrees to package.
struct STPackageInfo {
    std::uint64_t allMediasSize = 0;
    std::uint64_t usedMediasSize = 0;
    std::vector<std::int64_t> mediaList;
};

// The user's package choice and, once the folders exist, their paths (UTF-8).
struct STPackage {
    std::string packagePath;
    std::string resPath;
    std::string imagePath;
    std::string optimizatedPath;
    std::vector<std::int64_t> mediaList;
    bool allMedias = false;
};

// One project: an entry of the recent list and the record handed to writeProject.
struct STProjectFile {
    std::string strProfileName; // UTF-8
    std::string strProfilePath; // UTF-8, the identity of a recent entry
    std::string strImagePath;   // UTF-8
    std::string hostText;       // carried for the host, never read by the page
    bool hostFlag = false;      // carried for the host, never read by the page
    STPackage packageData;
    bool isPackage = false;
    std::int32_t hostMode = 5;  // carried for the host, never read by the page
    bool isDamageFile = false;
};

} // namespace projectfilemgr
} // namespace vexa
