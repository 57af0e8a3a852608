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

FileImage::FileImage(std::size_t capacity) : memory_(capacity), capacity_(capacity) {}

platform::ReadOutcome FileImage::readFrom(const platform::OpenFile& file)
{
    return file.readAll(memory_.data(), capacity_, &size_);
}

bool FileImage::readFirst(const platform::OpenFile& file, std::size_t bytes)
{
    size_ = 0;
    if (bytes > capacity_ || !file.readAt(0, memory_.data(), bytes))
        return false;
    size_ = bytes;
    return true;
}

} // namespace uriage::data
