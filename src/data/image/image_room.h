#pragma once
// The room a connection keeps for its table file's copy from one read to the
// next: made resident once, instead of a fresh room (and its page faults) at
// every press.
#include "data/snapshot/file_image.h"

#include <cstddef>
#include <memory>

namespace uriage::data {

class ImageRoom {
public:
    // Room for at least `bytes` bytes: the kept one when it is large enough,
    // else a new one. Throws std::bad_alloc.
    std::unique_ptr<FileImage> take(std::size_t bytes)
    {
        if (kept_ && kept_->capacity() >= bytes)
            return std::move(kept_);
        kept_.reset();
        return std::make_unique<FileImage>(imageCapacityFor((long long)bytes));
    }
    // Kept for the next read, once nothing reads it any more.
    void giveBack(std::unique_ptr<FileImage> image)
    {
        if (image)
            kept_ = std::move(image);
    }

private:
    std::unique_ptr<FileImage> kept_;
};

} // namespace uriage::data
