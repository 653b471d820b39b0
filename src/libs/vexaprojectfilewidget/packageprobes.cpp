#include "packageprobes.h"

#include "hxcutils.h"
#include "packagemath.h"

#include <QDebug>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace vexa {
namespace projectfilemgr {

namespace {

std::atomic<FreeSpaceQuery> gFreeSpaceQuery{nullptr};

bool writeBlock(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Creates a probe file that did not exist before: "tempfile.bin" when the
// name is free, else a unique sibling. Never opens a file the user had.
int createProbeFile(const std::string& folder, std::string& path)
{
    if (folder.empty()) {
        errno = ENOENT; // never fall back to the file-system root
        return -1;
    }
    path = folder + "/tempfile.bin";
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST)
        return fd;
    path = folder + "/tempfile-XXXXXX.bin";
    fd = ::mkostemps(&path[0], 4, O_CLOEXEC);
    return fd;
}

} // namespace

FreeSpaceQuery setPackageFreeSpaceQuery(FreeSpaceQuery query)
{
    return gFreeSpaceQuery.exchange(query);
}

bool queryPackageFreeSpace(const std::string& folder, std::uint64_t& bytes, int& errorCode)
{
    const FreeSpaceQuery query = gFreeSpaceQuery.load();
    return query ? query(folder, bytes, errorCode) : diskFreeSpace(folder, bytes, errorCode);
}

double probeWriteSpeed(const std::string& folder)
{
    std::string path;
    const int fd = createProbeFile(folder, path);
    if (fd < 0)
        return 0.0;

    std::vector<char> buffer(1024, static_cast<char>(0xFF));
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        if (!writeBlock(fd, buffer.data(), buffer.size()))
            break;
    }
    const auto end = std::chrono::steady_clock::now();
    ::close(fd);
    if (::unlink(path.c_str()) != 0)
        qWarning() << "delete tmp file failure!";

    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(end - begin).count();
    return probeSpeed(static_cast<std::int64_t>(micros));
}

} // namespace projectfilemgr
} // namespace vexa
