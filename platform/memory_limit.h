// How much memory one web process may take, worked out from what there is.
#pragma once

#include <cstdint>

namespace ludex {

inline constexpr std::uint64_t kLargestWebProcessLimitMb = 2048;

// The smaller of kLargestWebProcessLimitMb and half of the memory the program
// may use, in MB: the machine's, or less where its control group (a container,
// a session's slice) is given less. Half, so that one page leaves room for the
// rest of the machine.
std::uint64_t WebProcessLimitMb(std::uint64_t physical_bytes, std::uint64_t group_limit_bytes);

}  // namespace ludex
