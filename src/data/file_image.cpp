#include "data/file_image.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

namespace uriage::data {
namespace {

constexpr std::size_t kLargePage = std::size_t(2) << 20;

std::size_t roundUp(std::size_t n, std::size_t unit) { return (n + unit - 1) / unit * unit; }

} // namespace

std::size_t imageCapacityFor(long long fileSize)
{
    const std::size_t size = fileSize > 0 ? std::size_t(fileSize) : 0;
    return roundUp(size + size / 16 + 1, kLargePage);
}

FileImage::FileImage(std::size_t capacity) : capacity_(capacity)
{
    mapped_ = roundUp(capacity ? capacity : 1, kLargePage);
    void* memory = mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::bad_alloc();
    data_ = static_cast<unsigned char*>(memory);
#ifdef MADV_HUGEPAGE
    madvise(memory, mapped_, MADV_HUGEPAGE);
#endif
    // Make every page resident now, outside the lock: at once where the system
    // can, else by touching each page.
    bool populated = false;
#ifdef MADV_POPULATE_WRITE
    populated = madvise(memory, mapped_, MADV_POPULATE_WRITE) == 0;
#else
    populated = madvise(memory, mapped_, 23) == 0;
#endif
    if (!populated) {
        const long page = sysconf(_SC_PAGESIZE) > 0 ? sysconf(_SC_PAGESIZE) : 4096;
        for (std::size_t at = 0; at < mapped_; at += std::size_t(page))
            data_[at] = 0;
    }
}

FileImage::~FileImage()
{
    if (data_)
        munmap(data_, mapped_);
}

bool FileImage::readFrom(int fd)
{
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return false;
    if (st.st_size < 0 || std::size_t(st.st_size) > capacity_) {
        errno = EFBIG;
        return false;
    }
    const std::size_t wanted = std::size_t(st.st_size);
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t got = pread(fd, data_ + done, wanted - done, off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    size_ = done;
    return done == wanted;
}

} // namespace uriage::data
