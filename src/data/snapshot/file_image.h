#pragma once
// A private copy of a table file's bytes. The memory is reserved and made
// resident before the file is locked, so that the copy made under the read
// lock is a plain read into memory that is already there: the lock is held
// for as short a time as possible.
#include "platform/file_access.h"

#include <cstddef>

namespace uriage::data {

class FileImage {
public:
    // Room for `capacity` bytes, resident. Throws std::bad_alloc.
    explicit FileImage(std::size_t capacity);

    std::size_t capacity() const { return capacity_; }
    std::size_t size() const { return size_; }
    unsigned char* data() { return memory_.data(); }
    const unsigned char* data() const { return memory_.data(); }

    enum class ReadOutcome {
        Complete,
        TooLarge,   // the file holds more bytes than the room
        Failed,
    };

    // Reads the whole of `file` from its first byte.
    ReadOutcome readFrom(const platform::OpenFile& file);

private:
    platform::ResidentMemory memory_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// The room to reserve for a file of `fileSize` bytes: a little more, so that
// rows a writer adds between the check and the lock still fit.
std::size_t imageCapacityFor(long long fileSize);

} // namespace uriage::data
