// The engine's file calls on POSIX systems: stat, faccessat with the
// effective identity, open/pread, fcntl(F_GETLK), and anonymous mappings made
// resident with madvise.
#include "platform/file_access.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace uriage::platform {
namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;

// madvise's request to fault every page of a range in at once (Linux 5.14);
// older headers lack its name, and older kernels refuse it.
#ifdef MADV_POPULATE_WRITE
constexpr int kPopulateWrite = MADV_POPULATE_WRITE;
#else
constexpr int kPopulateWrite = 23;
#endif

std::size_t roundUp(std::size_t n, std::size_t unit) { return (n + unit - 1) / unit * unit; }

PathKind kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return PathKind::Directory;
    return S_ISREG(mode) ? PathKind::RegularFile : PathKind::Other;
}

int fdOf(std::intptr_t handle) { return int(handle); }

} // namespace

QByteArray pathBytes(const QString& path) { return QFile::encodeName(path); }

PathStatus pathStatus(const QString& path)
{
    struct stat st {};
    if (stat(pathBytes(path).constData(), &st) != 0)
        return PathStatus{errno == EACCES ? PathKind::AccessDenied : PathKind::Missing, 0, false};
    const uid_t me = geteuid();
    return PathStatus{kindOf(st.st_mode), S_ISREG(st.st_mode) ? (long long)st.st_size : 0,
                      me == 0 || me == st.st_uid};
}

bool mayAccess(const QString& path, unsigned access)
{
    int mode = 0;
    if (access & ReadAccess)
        mode |= R_OK;
    if (access & WriteAccess)
        mode |= W_OK;
    if (access & SearchAccess)
        mode |= X_OK;
    return faccessat(AT_FDCWD, pathBytes(path).constData(), mode ? mode : F_OK, AT_EACCESS) == 0;
}

OpenFile::OpenFile(const QString& path)
{
    // Without O_NONBLOCK a pipe put in the file's place would block the open
    // until some writer came; for a regular file the flag changes nothing.
    const int fd = ::open(pathBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error_ = errno == EACCES ? Error::PermissionDenied : Error::Other;
        return;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error_ = Error::NotAFile;
        return;
    }
    handle_ = fd;
    error_ = Error::None;
}

OpenFile::~OpenFile()
{
    if (handle_ >= 0)
        ::close(fdOf(handle_));
}

long long OpenFile::size() const
{
    struct stat st {};
    if (handle_ < 0 || fstat(fdOf(handle_), &st) != 0)
        return -1;
    return st.st_size;
}

long long OpenFile::readAt(long long offset, unsigned char* into, std::size_t bytes) const
{
    for (;;) {
        const ssize_t got = pread(fdOf(handle_), into, bytes, off_t(offset));
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

long long OpenFile::modifiedNanoseconds() const
{
    struct stat st {};
    if (handle_ < 0 || fstat(fdOf(handle_), &st) != 0)
        return -1;
    return (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
}

FileIdentity OpenFile::identity() const
{
    struct stat st {};
    if (handle_ < 0 || fstat(fdOf(handle_), &st) != 0)
        return {};
    return FileIdentity{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)};
}

LockState OpenFile::lockOn(long long start, long long end) const
{
    if (handle_ < 0 || end <= start)
        return handle_ < 0 ? LockState::Unknown : LockState::Unlocked;
    // Asks whether an exclusive lock could be taken: any other process's lock
    // on the range stands in the way, and the system names the first one.
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = off_t(start);
    probe.l_len = off_t(end - start);
    if (fcntl(fdOf(handle_), F_GETLK, &probe) != 0)
        return LockState::Unknown;
    if (probe.l_type == F_UNLCK)
        return LockState::Unlocked;
    return probe.l_type == F_RDLCK ? LockState::ReadLocked : LockState::WriteLocked;
}

bool lockTestIsSilent() { return true; }

bool openingIsSilent() { return true; }

ResidentMemory::ResidentMemory(std::size_t bytes) : size_(roundUp(bytes ? bytes : 1, kLargePage))
{
    void* memory = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    data_ = static_cast<unsigned char*>(memory);
#ifdef MADV_HUGEPAGE
    madvise(memory, size_, MADV_HUGEPAGE);
#endif
    // Every page resident now: at once where the system can, else by
    // touching each page.
    if (madvise(memory, size_, kPopulateWrite) != 0) {
        const long page = sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096;
        for (std::size_t at = 0; at < size_; at += std::size_t(page))
            data_[at] = 0;
    }
}

ResidentMemory::~ResidentMemory()
{
    if (data_)
        munmap(data_, size_);
}

namespace {

using OpenCall = int (*)(const char*, int, int);
OpenCall originalOpen = nullptr;
bool (*creationRefused)() = nullptr;

int openWithOurRules(const char* path, int flags, int mode)
{
    if (creationRefused())
        flags &= ~(O_CREAT | O_EXCL);
    return originalOpen(path, flags, mode);
}

} // namespace

const char* sqliteOpenCallName() { return "open"; }

SystemCall sqliteOpenReplacement(SystemCall original, bool (*refuseCreation)())
{
    originalOpen = reinterpret_cast<OpenCall>(original);
    creationRefused = refuseCreation;
    return reinterpret_cast<SystemCall>(&openWithOurRules);
}

} // namespace uriage::platform
