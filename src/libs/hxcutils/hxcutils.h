#pragma once

#include "hxcutils_global.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The number with exactly `decimals` decimals, C locale ("1.5").
HXCUTILS_EXPORT std::string d2s(double value, int decimals);

// True only when a file can really be created in the folder.
HXCUTILS_EXPORT bool folderWritePermission(const std::string& folder);

// Bytes available to the calling user on the file system holding `folder`.
// On failure returns false and sets errorCode to the system error number.
HXCUTILS_EXPORT bool diskFreeSpace(const std::string& folder, std::uint64_t& bytesAvailable, int& errorCode);

// Writes all `size` bytes to the descriptor, again after interruptions;
// false with errno set on failure.
HXCUTILS_EXPORT bool writeFully(int fd, const char* data, std::size_t size);

// fsync, again after interruptions; false with errno set on failure.
HXCUTILS_EXPORT bool syncFully(int fd);

class HXCUTILS_EXPORT NoCacheFile
{
public:
    // Writes `text` to a temporary file beside `path`, flushes it to disk and
    // renames it over `path`: a crash or a full disk leaves the old file or the
    // new one, never a truncated one. A symbolic link is written through, to
    // its target. False on any failure before the rename, with errno set to
    // its cause.
    static bool saveToFile(const std::string& path, const std::string& text);
};
