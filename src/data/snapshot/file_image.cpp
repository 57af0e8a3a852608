#include "data/snapshot/file_image.h"

namespace uriage::data {
namespace {

// Rooms are whole large pages, which the system may back as such.
constexpr std::size_t kLargePage = std::size_t(2) << 20;

std::size_t roundUp(std::size_t n, std::size_t unit) { return (n + unit - 1) / unit * unit; }

} // namespace

std::size_t imageCapacityFor(long long fileSize)
{
    const std::size_t size = fileSize > 0 ? std::size_t(fileSize) : 0;
    return roundUp(size + size / 16 + 1, kLargePage);
}

bool readExactly(const platform::OpenFile& file, long long offset, unsigned char* into, std::size_t bytes)
{
    std::size_t done = 0;
    while (done < bytes) {
        const long long got = file.readAt(offset + static_cast<long long>(done), into + done, bytes - done);
        if (got <= 0)
            return false;
        done += std::size_t(got);
    }
    return true;
}

FileImage::FileImage(std::size_t capacity) : memory_(capacity), capacity_(capacity) {}

FileImage::ReadOutcome FileImage::readFrom(const platform::OpenFile& file)
{
    size_ = 0;
    const long long wanted = file.size();
    if (wanted < 0)
        return ReadOutcome::Failed;
    if (static_cast<unsigned long long>(wanted) > capacity_)
        return ReadOutcome::TooLarge;
    while (size_ < std::size_t(wanted)) {
        const long long got = file.readAt(static_cast<long long>(size_), data() + size_, std::size_t(wanted) - size_);
        if (got <= 0)
            break;
        size_ += std::size_t(got);
    }
    return size_ == std::size_t(wanted) ? ReadOutcome::Complete : ReadOutcome::Failed;
}

} // namespace uriage::data

namespace uriage::data {

bool FileImage::readFirst(const platform::OpenFile& file, std::size_t bytes)
{
    size_ = 0;
    if (bytes > capacity_ || !readExactly(file, 0, data(), bytes))
        return false;
    size_ = bytes;
    return true;
}

} // namespace uriage::data
