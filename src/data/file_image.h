#pragma once
// A private copy of a table file's bytes. The memory is reserved and made
// resident before the file is locked (large pages where the system offers
// them), so that the copy made under the read lock is a plain read into memory
// that is already there: the lock is held for as short a time as possible.
#include <QByteArray>
#include <cstddef>
#include <memory>

namespace uriage::data {

class FileImage {
public:
    // Room for `capacity` bytes, resident. Throws std::bad_alloc.
    explicit FileImage(std::size_t capacity);
    ~FileImage();
    FileImage(const FileImage&) = delete;
    FileImage& operator=(const FileImage&) = delete;

    std::size_t capacity() const { return capacity_; }
    std::size_t size() const { return size_; }
    unsigned char* data() { return data_; }
    const unsigned char* data() const { return data_; }

    // Reads the whole file behind the open descriptor `fd` from its first byte.
    // False when it cannot be read or is larger than the room (errno tells).
    bool readFrom(int fd);

private:
    unsigned char* data_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t mapped_ = 0;
    std::size_t size_ = 0;
};

// The room to reserve for a file of `fileSize` bytes: a little more, so that
// rows a writer adds between the check and the lock still fit.
std::size_t imageCapacityFor(long long fileSize);

} // namespace uriage::data
