#include "utils/stopwatch.h"

#include <gtest/gtest.h>

namespace {

TEST(Stopwatch, ElapsedFromAFakeClockSurvivesOneWrap) {
  uint32_t now = 0xFFFFFC18u;  // 1000 ms before the counter wraps
  Utils::Stopwatch watch([&now] { return now; });
  EXPECT_FALSE(watch.Running());
  EXPECT_EQ(watch.ElapsedSeconds(), 0.0f);
  watch.Start();
  now += 2500;  // wraps past zero
  EXPECT_TRUE(watch.Running());
  EXPECT_FLOAT_EQ(watch.ElapsedSeconds(), 2.5f);
}

}  // namespace
