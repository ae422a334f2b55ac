#include "platform/memory_limit.h"

#include <algorithm>

namespace ludex {

std::uint64_t WebProcessLimitMb(std::uint64_t physical_bytes, std::uint64_t group_limit_bytes) {
  constexpr std::uint64_t kMb = 1024 * 1024;
  return std::min(kLargestWebProcessLimitMb, std::min(physical_bytes, group_limit_bytes) / kMb / 2);
}

}  // namespace ludex
