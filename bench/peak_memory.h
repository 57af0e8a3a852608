#pragma once
// The process's peak resident size so far (VmHWM), in bytes; 0 when unknown.
#include <cstdint>

namespace uriage::bench {

std::uint64_t peakResidentBytes();

} // namespace uriage::bench
