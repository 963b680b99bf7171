// Machine facts: the Windows naming table (pure, so checked here too), the
// user agent, locale splitting and distinct id shapes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "analytics/source/src/distinct_id.h"
#include "analytics/source/src/system_properties.h"
#include "tests/analytics/analytics_test_support.h"

namespace {

using namespace pelko::analytics;

TEST(SystemProperties, WindowsVersionNames) {
  struct Case {
    bool available;
    unsigned major, minor, build;
    bool is64, r2;
    std::string name;
  } cases[] = {
      {false, 10, 0, 19045, true, false, "XP-"},
      {true, 5, 0, 2195, false, false, "2K"},
      {true, 5, 1, 2600, false, false, "XP"},
      {true, 5, 2, 3790, true, false, "XP64"},
      {true, 5, 2, 3790, false, true, "Server 2003 R2"},
      {true, 5, 2, 3790, false, false, "Server 2003"},
      {true, 5, 3, 0, false, false, "XP+"},
      {true, 6, 0, 6002, true, false, "Vista64"},
      {true, 6, 0, 6002, false, false, "Vista"},
      {true, 6, 1, 7601, true, false, "7"},
      {true, 6, 1, 7601, false, false, "7-32"},
      {true, 6, 2, 9200, false, false, "8-32"},
      {true, 6, 3, 9600, false, false, "8.1"},
      {true, 6, 4, 0, false, false, "8.1+"},
      {true, 10, 0, 19045, true, false, "10"},
      {true, 10, 0, 22621, true, false, "11"},
      {true, 10, 1, 0, true, false, "11+"},
      {true, 12, 3, 4567, true, false, "12.3.4567"},
      {true, 4, 0, 1381, false, false, "XP-"},
  };
  for (const auto& c : cases) {
    Platform::OsVersionNumbers v;
    v.available = c.available;
    v.major = c.major;
    v.minor = c.minor;
    v.build = c.build;
    v.is64Bit = c.is64;
    v.server2003R2 = c.r2;
    EXPECT_EQ(WindowsOsVersionName(v), c.name) << c.major << "." << c.minor << "." << c.build;
  }
  EXPECT_EQ(WindowsUserAgent("10", true), "Mozilla/5.0(Windows 10; Win64;)");
  EXPECT_EQ(WindowsUserAgent("7-32", false), "Mozilla/5.0(Windows 7-32; Win32;)");
}

TEST(SystemProperties, ThisSystemIsDescribedTruthfully) {
  const OsDescription os = DescribeRunningOs();
  EXPECT_EQ(os.os, "Linux");
  EXPECT_EQ(os.appPlatform, "Linux");
  EXPECT_FALSE(os.osVersion.empty());
  EXPECT_EQ(os.userAgent.rfind("Mozilla/5.0(Linux " + os.osVersion + "; ", 0), 0u);
}

TEST(SystemProperties, LocaleTextIsSplitAtItsFirstUnderscore) {
  const LocaleParts parts = DeriveLocale("en_GB.UTF-8");
  EXPECT_EQ(parts.locale, "en_GB.UTF-8");
  EXPECT_EQ(parts.language, "en");
  EXPECT_EQ(parts.country, "GB.UTF-8");
  const LocaleParts system = DeriveLocale("");
  if (!system.locale.empty()) {
    EXPECT_EQ(system.locale, system.language + "_" + system.country);
  }
}

TEST(SystemProperties, ScreenSizeComesFromTheRegisteredProvider) {
  EXPECT_EQ(QueryScreenSize().width, 0);
  SetScreenSizeProvider([] { return ScreenSize{1920, 1080}; });
  EXPECT_EQ(QueryScreenSize().height, 1080);
  SetScreenSizeProvider(nullptr);
  EXPECT_EQ(QueryScreenSize().height, 0);
}

TEST(DistinctIds, GuidTextAndFallbackShape) {
  Platform::Guid g;
  g.data1 = 0x0123ABCD;
  g.data2 = 0x4567;
  g.data3 = 0x89EF;
  const uint8_t tail[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
  std::copy(tail, tail + 8, g.data4);
  EXPECT_EQ(FormatDistinctId(g), "0123ABCD-4567-89EF-0123-456789ABCDEF");
  EXPECT_TRUE(analytics_test::IsGuidText(GenerateDistinctId()));
  // Fallback: v0v1-v2-4xxx-yxxx-v5v6v7 in lower-case hexadecimal, y one of 8, 9, a, b.
  const std::string fallback = FallbackDistinctId();
  std::vector<std::string> groups;
  std::stringstream split(fallback);
  for (std::string group; std::getline(split, group, '-');) groups.push_back(group);
  ASSERT_EQ(groups.size(), 5u) << fallback;
  EXPECT_EQ(fallback.find_first_not_of("0123456789abcdef-"), std::string::npos) << fallback;
  EXPECT_EQ(groups[2].size(), 4u);
  EXPECT_EQ(groups[2][0], '4');
  EXPECT_EQ(groups[3].size(), 4u);
  EXPECT_NE(std::string("89ab").find(groups[3][0]), std::string::npos) << fallback;
  EXPECT_NE(FallbackDistinctId(), fallback);
}

}  // namespace
