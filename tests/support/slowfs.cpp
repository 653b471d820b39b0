// A file system for tests of storage that answers late or not at all: it
// shows a folder as it is, but every question about a file below the root
// waits a set time and then fails with a set error, or answers.
//
//   vexa_slowfs BACKING MOUNTPOINT DELAY_MS ERRNO [fuse options...]
//
// ERRNO 0 answers from BACKING. The number of questions asked so far is kept
// in BACKING.questions, for tests that must show that nothing was asked. The process ends when its parent does, and
// the mount goes with it (auto_unmount), so a test that dies leaves nothing.

#define FUSE_USE_VERSION 31

#include <fuse.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string backing;
int delayMs = 0;
int failure = 0;

std::string real(const char* path)
{
    return backing + path;
}

std::mutex mutex;
long questions = 0;
// When each path last finished waiting: the kernel asks twice for one stat
// (lookup, then attributes), and one question should wait once.
std::map<std::string, std::chrono::steady_clock::time_point> waited;

// The root answers at once, so the mount itself can be made and seen.
int stall(const char* path)
{
    if (std::strcmp(path, "/") == 0)
        return 0;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (FILE* counter = std::fopen((backing + ".questions").c_str(), "w")) {
            std::fprintf(counter, "%ld\n", ++questions);
            std::fclose(counter);
        }
    }
    if (delayMs > 0) {
        const auto now = std::chrono::steady_clock::now();
        bool wait = true;
        {
            std::lock_guard<std::mutex> lock(mutex);
            const auto last = waited.find(path);
            wait = last == waited.end() || now - last->second > std::chrono::milliseconds(200);
        }
        if (wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            std::lock_guard<std::mutex> lock(mutex);
            waited[path] = std::chrono::steady_clock::now();
        }
    }
    return failure ? -failure : 0;
}

int getattrOf(const char* path, struct stat* status, struct fuse_file_info*)
{
    if (const int error = stall(path))
        return error;
    return ::lstat(real(path).c_str(), status) == 0 ? 0 : -errno;
}

int readdirOf(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, struct fuse_file_info*,
              enum fuse_readdir_flags)
{
    DIR* folder = ::opendir(real(path).c_str());
    if (!folder)
        return -errno;
    while (const dirent* entry = ::readdir(folder))
        fill(buffer, entry->d_name, nullptr, 0, static_cast<fuse_fill_dir_flags>(0));
    ::closedir(folder);
    return 0;
}

int openOf(const char* path, struct fuse_file_info* info)
{
    if (const int error = stall(path))
        return error;
    const int fd = ::open(real(path).c_str(), info->flags);
    if (fd < 0)
        return -errno;
    info->fh = static_cast<uint64_t>(fd);
    return 0;
}

int readOf(const char*, char* buffer, size_t size, off_t offset, struct fuse_file_info* info)
{
    const ssize_t got = ::pread(static_cast<int>(info->fh), buffer, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
}

int releaseOf(const char*, struct fuse_file_info* info)
{
    ::close(static_cast<int>(info->fh));
    return 0;
}

int statfsOf(const char*, struct statvfs* status)
{
    return ::statvfs(backing.c_str(), status) == 0 ? 0 : -errno;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s BACKING MOUNTPOINT DELAY_MS ERRNO [fuse options...]\n", argv[0]);
        return 2;
    }
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    backing = argv[1];
    delayMs = std::atoi(argv[3]);
    failure = std::atoi(argv[4]);

    fuse_operations operations{};
    operations.getattr = getattrOf;
    operations.readdir = readdirOf;
    operations.open = openOf;
    operations.read = readOf;
    operations.release = releaseOf;
    operations.statfs = statfsOf;

    // Nothing cached by the kernel: every question reaches this process and waits.
    std::vector<char*> args{argv[0], argv[2], const_cast<char*>("-f"), const_cast<char*>("-o"),
                            const_cast<char*>("auto_unmount,attr_timeout=0,entry_timeout=0,negative_timeout=0")};
    for (int i = 5; i < argc; ++i)
        args.push_back(argv[i]);
    return fuse_main(static_cast<int>(args.size()), args.data(), &operations, nullptr);
}
