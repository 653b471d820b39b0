#include "hxcutils.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

// Closes the descriptor on every path out of a function.
class FdGuard
{
public:
    explicit FdGuard(int fd = -1) : m_fd(fd) {}
    ~FdGuard() { reset(); }
    FdGuard(const FdGuard&) = delete;
    FdGuard& operator=(const FdGuard&) = delete;
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

bool isDirectory(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string folderOf(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// The process umask without changing it (umask(2) itself is not thread-safe
// to probe); 022 when the kernel does not report it.
mode_t currentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    return 022;
}

} // namespace

bool writeFully(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

namespace {

// The file a path names through any symbolic links, whether or not it exists
// yet: writing there keeps the links a user made. A loop of links is left as
// it is, and the write then fails on it.
std::string linkTarget(std::string path)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        char target[PATH_MAX];
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof target)
            return path;
        const std::string next(target, static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : joinPath(folderOf(path), next);
    }
    return path;
}

} // namespace

bool syncFully(int fd)
{
    int rc;
    do {
        rc = ::fsync(fd);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

std::string d2s(double value, int decimals)
{
    // The exact decimal expansion of a double never needs more digits than this.
    const int precision = std::clamp(decimals, 0, 1100);
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 330);
    // to_chars ignores the process locale, so a host that set LC_NUMERIC
    // still gets a full stop, and it rounds like printf's %.Nf.
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return std::string();
    return std::string(buffer.data(), result.ptr);
}

bool folderWritePermission(const std::string& folder)
{
    if (!isDirectory(folder))
        return false;
    std::string probe = joinPath(folder, ".hxc_write_probe_XXXXXX");
    // mkostemp creates the file with O_CREAT|O_EXCL, so an existing file is never touched.
    const int fd = ::mkostemp(probe.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

bool diskFreeSpace(const std::string& folder, std::uint64_t& bytesAvailable, int& errorCode)
{
    struct statvfs vfs {};
    if (folder.empty()) {
        errorCode = ENOENT;
        return false;
    }
    if (::statvfs(folder.c_str(), &vfs) != 0) {
        errorCode = errno;
        return false;
    }
    bytesAvailable = static_cast<std::uint64_t>(vfs.f_bavail) * static_cast<std::uint64_t>(vfs.f_frsize);
    errorCode = 0;
    return true;
}

bool NoCacheFile::saveToFile(const std::string& path, const std::string& text)
{
    if (path.empty() || path.back() == '/') {
        errno = path.empty() ? ENOENT : EISDIR;
        return false;
    }

    // Writing through a symbolic link replaces the file it points to and keeps the link.
    const std::string target = linkTarget(path);

    const std::string folder = folderOf(target);
    struct stat folderInfo {};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        return false;
    if (!S_ISDIR(folderInfo.st_mode)) {
        errno = ENOTDIR;
        return false;
    }

    mode_t mode = 0666 & ~currentUmask();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            errno = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
            return false;
        }
        mode = existing.st_mode & 07777;
    }

    std::string temp = target + ".tmpXXXXXX";
    FdGuard fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0)
        return false;

    bool ok = ::fchmod(fd.get(), mode) == 0 && writeFully(fd.get(), text.data(), text.size()) && syncFully(fd.get());
    if (ok) {
        // The data is on disk; drop it from the page cache as the name promises.
        ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_DONTNEED);
        ok = ::close(fd.release()) == 0;
    }
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno; // the cause, not the clean-up's outcome
        fd.reset();
        ::unlink(temp.c_str());
        errno = error;
        return false;
    }

    // Make the rename itself durable where the folder can be synced. The new
    // text is in place either way, so that is no failure of the save.
    FdGuard dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        syncFully(dir.get());
    return true;
}
