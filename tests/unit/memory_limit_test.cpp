#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/memory_limit.h"

namespace ludex {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kNoGroupLimit = std::numeric_limits<std::uint64_t>::max();

TEST(WebProcessLimitMb, HalfOfTheMemoryThereIsUpToTwoGigabytes) {
  struct Row {
    std::uint64_t physical_bytes, group_limit_bytes, limit_mb;
  };
  for (const Row& row : {Row{4 * kGiB, kNoGroupLimit, 2048}, Row{3 * kGiB, kNoGroupLimit, 1536},
                         Row{64 * kGiB, 2 * kGiB, 1024}}) {
    SCOPED_TRACE(testing::Message() << row.physical_bytes << " bytes, group " << row.group_limit_bytes);
    EXPECT_EQ(WebProcessLimitMb(row.physical_bytes, row.group_limit_bytes), row.limit_mb);
  }
}

}  // namespace
}  // namespace ludex
