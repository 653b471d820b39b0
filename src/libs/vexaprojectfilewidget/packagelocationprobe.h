#pragma once

#include "storagequeue.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace vexa {
namespace projectfilemgr {

// Asks the package location for its free space and its write speed off the
// GUI thread: the location may be a share that sleeps or has gone. A local
// drive answers within a short wait, so the dialog shows it at once.
class PackageLocationProbe
{
public:
    struct Space {
        bool exists = false;
        bool known = false; // the free space could be read
        std::uint64_t freeBytes = 0;
        int errorCode = 0;
    };

    // `answered` runs on the GUI thread, unless another question about the
    // space was asked meanwhile (its answer is the one that counts).
    void askSpace(const QString& location, std::function<void(const Space&)> answered);
    // Bytes per second of a short write to `folder`; 0 when it does not
    // answer within the short wait (the package's reports measure it soon).
    double writeSpeed(const std::string& folder);

private:
    static constexpr std::chrono::milliseconds kQuickWait{50};
    StorageQueue questions;
    std::uint64_t spaceQuestion = 0;
    std::uint64_t speedQuestion = 0;
};

} // namespace projectfilemgr
} // namespace vexa
