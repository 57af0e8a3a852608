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

    // Reads the first `bytes` bytes of `file`; false when they are not all there.
    bool readFirst(const platform::OpenFile& file, std::size_t bytes);

    // The first `bytes` bytes of the room hold the copy (filled by another reader).
    void setSize(std::size_t bytes) { size_ = bytes; }

private:
    platform::ResidentMemory memory_;
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;
};

// Reads exactly `bytes` bytes of `file` at `offset`; false when fewer arrive.
bool readExactly(const platform::OpenFile& file, long long offset, unsigned char* into, std::size_t bytes);

// The room to reserve for a file of `fileSize` bytes: a little more, so that
// rows a writer adds between the check and the lock still fit.
std::size_t imageCapacityFor(long long fileSize);

} // namespace uriage::data
