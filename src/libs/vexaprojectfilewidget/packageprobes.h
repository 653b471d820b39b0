#pragma once

// What the package dialog learns about its target folder before a package:
// the free space and a rough write speed. No widgets, so either can be
// called on any folder.

#include <cstdint>
#include <string>

namespace vexa {
namespace projectfilemgr {

// The free bytes of `folder` through the query setPackageFreeSpaceQuery set,
// else the system's; same contract as diskFreeSpace.
bool queryPackageFreeSpace(const std::string& folder, std::uint64_t& bytes, int& errorCode);

// Bytes per second of ten 1 KiB writes to a probe file in `folder`; 0 when
// no probe file can be made there. The probe file is removed again and is
// never a file that was there before.
double probeWriteSpeed(const std::string& folder);

} // namespace projectfilemgr
} // namespace vexa
