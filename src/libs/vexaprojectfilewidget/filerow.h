#pragma once

// A row of the recent list as data: what it shows and where it comes from.
// No widgets, so the store and the sort can build rows without a list.

#include <QString>
#include <cstdint>
#include <string>

namespace vexa {
namespace projectfilemgr {

// What one row of the recent list shows.
struct STFileItem {
    QString fileName;
    QString modifyTime;
    QString fileSize;
    QString filePath;
    QString imagePath;
};

// Where a row's project stands with its storage: answered, still being
// asked, on storage that did not answer in time or failed, or gone for sure
// (a pinned project, kept until the user lets it go).
enum class RowStorage { Ready, Checking, Unavailable, Missing };

// One row of the list: what it shows, whether it is damaged, and whether its
// name, time and size are still to be asked of the row texts (see setRowTexts).
struct FileRow {
    static constexpr std::uint32_t kNoSource = 0xffffffffu;

    STFileItem info;
    bool damage = false;
    bool textsPending = false;
    RowStorage storage = RowStorage::Ready;
    bool busy = false; // its project is being looked for
    bool pinned = false;
    // Whatever the caller finds the row's record by (see takeRows); the list never reads it.
    std::uint32_t source = kNoSource;
    // The project's path as the list file holds it, byte for byte, when its
    // text in info.filePath is not (bytes that are no UTF-8 are replaced there).
    std::string storedPath = std::string();

    // What the row opens, forgets and deletes.
    std::string path() const { return storedPath.empty() ? info.filePath.toStdString() : storedPath; }
};

} // namespace projectfilemgr
} // namespace vexa
