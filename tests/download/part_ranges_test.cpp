#include "download/part_ranges.h"

#include <gtest/gtest.h>

namespace {

struct RangeCase {
  int64_t length;
  std::vector<PartRange> expected;
};

TEST(PartRangesTest, SplitsAtTwentyMebibytesAndGivesTheRemainderToTheLastPart) {
  const int64_t fiveGiB = 5LL * 1024 * 1024 * 1024;
  const int64_t threeGiBPlusOne = 3LL * 1024 * 1024 * 1024 + 1;
  const RangeCase cases[] = {
      {1, {{0, 0}}},
      {256, {{0, 255}}},
      {20971519, {{0, 20971518}}},
      {20971520, {{0, 10485759}, {10485760, 20971519}}},
      {31457281, {{0, 15728639}, {15728640, 31457280}}},
      // Past 2 GiB the offsets must not wrap.
      {fiveGiB, {{0, 2684354559LL}, {2684354560LL, 5368709119LL}}},
      {threeGiBPlusOne, {{0, 1610612735LL}, {1610612736LL, 3221225472LL}}},
  };
  for (const auto& c : cases) {
    const auto ranges = ComputePartRanges(c.length);
    ASSERT_EQ(ranges.size(), c.expected.size()) << c.length;
    int64_t total = 0;
    for (size_t i = 0; i < ranges.size(); ++i) {
      EXPECT_EQ(ranges[i].start, c.expected[i].start) << c.length << " part " << i;
      EXPECT_EQ(ranges[i].end, c.expected[i].end) << c.length << " part " << i;
      total += ranges[i].Size();
    }
    EXPECT_EQ(total, c.length);
  }
}

}  // namespace
