#include "durablecopy.h"

#include "hxcutils.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexademo {

namespace {

class Fd
{
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now, so an error that surfaces only on close is seen.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Errors with which a file system declines an in-place copy; a plain copy works there.
bool kernelCopyRefused(int error)
{
    return error == EXDEV || error == ENOSYS || error == EOPNOTSUPP || error == EINVAL || error == EPERM ||
           error == ETXTBSY || error == EOVERFLOW;
}

// Starts write-back of a range; with `wait`, returns once it is on the device.
bool flushRange(int fd, std::uint64_t offset, std::uint64_t length, bool wait)
{
    if (length == 0)
        return true;
    const unsigned flags = wait ? SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER
                                : SYNC_FILE_RANGE_WRITE;
    int rc;
    do {
        rc = ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(length), flags);
    } while (rc != 0 && errno == EINTR);
    // Some file systems do not take it; the fsync at the end still covers everything.
    return rc == 0 || errno == EINVAL || errno == ESPIPE || errno == ENOSYS;
}

} // namespace

DurableCopy::DurableCopy(Copied copied, Durable durable, std::uint64_t chunk)
    : copied_(std::move(copied)), durable_(std::move(durable)), chunk_(std::max<std::uint64_t>(chunk, 4096))
{
}

int DurableCopy::fail(int cause, const QString& what)
{
    failure_ = what;
    return cause;
}

int DurableCopy::copy(const QString& source, const QString& target, std::uint64_t limit)
{
    // Not blocking: a FIFO named as media must not hang the package on open.
    Fd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (in.get() < 0)
        return fail(errno, QStringLiteral("cannot read %1").arg(source));
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        return fail(errno, QStringLiteral("cannot read %1").arg(source));
    // A FIFO or a device has no end a package could wait for.
    if (!S_ISREG(info.st_mode))
        return fail(EINVAL, QStringLiteral("%1 is not a regular file").arg(source));
    const std::uint64_t size = std::min<std::uint64_t>(limit, static_cast<std::uint64_t>(info.st_size));

    // O_EXCL: never write over a file this package did not make.
    Fd out(::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return fail(errno, QStringLiteral("cannot write %1").arg(target));

    std::uint64_t offset = 0;
    std::uint64_t durable = 0; // bytes known to be on the device
    while (offset < size) {
        std::uint64_t copied = 0;
        if (const int cause = copyChunk(in.get(), out.get(), offset, std::min(chunk_, size - offset), copied))
            return cause;
        if (copied == 0)
            break; // the file has become shorter since the package started
        const std::uint64_t previous = offset;
        offset += copied;
        if (!flushRange(out.get(), previous, copied, false) || !flushRange(out.get(), durable, previous - durable, true))
            return fail(errno, QStringLiteral("write error in %1").arg(target));
        durable_(previous - durable);
        durable = previous;
        if (!copied_(copied))
            return fail(ECANCELED, QString());
    }
    if (!syncFully(out.get()) || !out.close())
        return fail(errno, QStringLiteral("write error in %1").arg(target));
    durable_(offset - durable);
    return 0;
}

int DurableCopy::copyChunk(int in, int out, std::uint64_t offset, std::uint64_t length, std::uint64_t& copied)
{
    if (kernelCopy_) {
        loff_t from = static_cast<loff_t>(offset);
        loff_t to = static_cast<loff_t>(offset);
        ssize_t n;
        do {
            n = ::copy_file_range(in, &from, out, &to, length, 0);
        } while (n < 0 && errno == EINTR);
        if (n > 0) {
            copied = static_cast<std::uint64_t>(n);
            return 0;
        }
        if (n < 0 && !kernelCopyRefused(errno))
            return fail(errno, QStringLiteral("copy error at byte %1").arg(offset));
        // Refused, or 0 where bytes were expected (some file systems report no
        // data there): the plain copy decides whether the file has ended.
        kernelCopy_ = n < 0 ? false : kernelCopy_;
    }
    buffer_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(chunk_, 1 << 20)));
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer_.size()));
    ssize_t n;
    do {
        n = ::pread(in, buffer_.data(), want, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return fail(errno, QStringLiteral("read error at byte %1").arg(offset));
    if (n > 0 && (::lseek(out, static_cast<off_t>(offset), SEEK_SET) < 0 || !writeFully(out, buffer_.data(), std::size_t(n))))
        return fail(errno, QStringLiteral("write error at byte %1").arg(offset));
    copied = static_cast<std::uint64_t>(n);
    return 0;
}

bool syncFolder(const QString& folder)
{
    Fd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return false;
    // Some file systems cannot sync a folder; their entries are as durable as they get.
    return syncFully(dir.get()) || errno == EINVAL;
}

} // namespace vexademo
