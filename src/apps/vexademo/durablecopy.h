#pragma once

// Copies one regular file into a new file and puts the copy on the device
// before it says so. The kernel copies in place where the file systems let
// it (copy_file_range), else through a buffer; write-back of each chunk is
// started at once and waited for one chunk later, so the device works while
// the next chunk is copied and the progress counts only bytes on the device.

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace vexademo {

class DurableCopy
{
public:
    // Bytes newly copied (not yet on the device); false stops the copy.
    using Copied = std::function<bool(std::uint64_t bytes)>;
    // Bytes that reached the device since the last call.
    using Durable = std::function<void(std::uint64_t bytes)>;

    DurableCopy(Copied copied, Durable durable, std::uint64_t chunk);

    // Copies at most `limit` bytes of `source` (the size it had when the
    // package started) into `target`, which must not exist. 0 on success,
    // else the errno value of the failure; a stop is ECANCELED.
    int copy(const QString& source, const QString& target, std::uint64_t limit);
    // What failed, for the log.
    QString failure() const { return failure_; }

private:
    int copyChunk(int in, int out, std::uint64_t offset, std::uint64_t length, std::uint64_t& copied);
    int fail(int cause, const QString& what);

    Copied copied_;
    Durable durable_;
    std::uint64_t chunk_;
    bool kernelCopy_ = true; // false once a file system refused copy_file_range
    std::vector<char> buffer_;
    QString failure_;
};

// Flushes a folder's entries (new files, renames) to the device.
bool syncFolder(const QString& folder);

} // namespace vexademo
