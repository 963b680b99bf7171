// The record model: checks and their messages, the compact JSON text and
// the five record types byte for byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>

#include "analytics/sdk/properties_node.h"
#include "analytics/sdk/sdk.h"
#include "analytics/sdk/validation.h"
#include "tests/analytics/analytics_test_support.h"

namespace {

using analytics_sdk::PropertiesNode;
using analytics_sdk::Sdk;
using analytics_test::ConsoleCapture;
using testing::ElementsAre;

TEST(AnalyticsChecks, KeysFollowTheVariableNameRuleWithTheirMessages) {
  struct Case {
    std::string key;
    std::string message;  // empty: accepted
  } cases[] = {
      {std::string(100, 'k'), ""},
      {"$os", ""},
      {"_x9", ""},
      {std::string(101, 'k'), "The Property Key is empty or too long, max length is 100"},
      {"", "The Property Key is empty or too long, max length is 100"},
      {"1abc", "The Property Key need to be a valid variable name."},
      {"a-b", "The Property Key need to be a valid variable name."},
      {"caf\xC3\xA9", "The Property Key need to be a valid variable name."},
  };
  for (const auto& c : cases) {
    ConsoleCapture console;
    EXPECT_EQ(analytics_sdk::CheckKey(c.key, "Property Key"), c.message.empty()) << c.key;
    if (c.message.empty()) {
      EXPECT_TRUE(console.Err().empty());
    } else {
      EXPECT_THAT(console.Err(), ElementsAre(c.message)) << c.key;
    }
  }
}

TEST(AnalyticsChecks, IdsAreOneTo255Bytes) {
  ConsoleCapture console;
  EXPECT_TRUE(analytics_sdk::CheckName(std::string(255, 'a'), "Distinct ID"));
  EXPECT_FALSE(analytics_sdk::CheckName("", "Distinct ID"));
  EXPECT_FALSE(analytics_sdk::CheckName(std::string(256, 'a'), "Original ID"));
  EXPECT_THAT(console.Err(), ElementsAre("The Distinct ID is empty.",
                                         "The Original ID is too long, max length is 255."));
}

TEST(AnalyticsChecks, Utf8RuleAcceptsWellFormedTextOnly) {
  struct Case {
    std::string text;
    bool valid;
  } cases[] = {
      {"", true},
      {"tab\there\nline\r", true},
      {"\xC3\xA9", true},                  // 2 bytes
      {"\xE5\xB4\xA9\xE6\xBA\x83", true},  // 3 bytes
      {"\xF0\x9F\x98\x80", true},          // 4 bytes
      {"\x7F", false},
      {"\x01", false},
      {"\x80", false},
      {"\xC0\xAF", false},      // overlong
      {"\xED\xA0\x80", false},  // surrogate
      {"\xF4\x90\x80\x80", false},
      {"\xE5\xB4", false},  // cut short
  };
  for (const auto& c : cases) EXPECT_EQ(analytics_sdk::IsValidUtf8(c.text), c.valid) << testing::PrintToString(c.text);
}

TEST(AnalyticsChecks, StringValuesOver8192BytesOrNotUtf8AreDroppedWithTheirMessage) {
  ConsoleCapture console;
  PropertiesNode node;
  EXPECT_TRUE(node.SetString("a", std::string(8192, 'x')));
  EXPECT_FALSE(node.SetString("b", std::string(8193, 'x')));
  EXPECT_FALSE(node.SetString("c", "bad\x80"));
  EXPECT_TRUE(node.Has("a"));
  EXPECT_FALSE(node.Has("b"));
  EXPECT_FALSE(node.Has("c"));
  ASSERT_EQ(console.Err().size(), 2u);
  EXPECT_EQ(console.Err()[0], "String property 'b' is too long, value: " + std::string(8193, 'x'));
  EXPECT_EQ(console.Err()[1], "String property 'c' is not valid UTF-8 string, value: bad\x80");
}

std::string LocalText(int64_t seconds, int milliseconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  char text[64];
  std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", std::localtime(&t));
  char withMs[80];
  std::snprintf(withMs, sizeof(withMs), "%s.%03d", text, milliseconds);
  return withMs;
}

TEST(AnalyticsJson, KeysInByteOrderSevenEscapesAndStreamNumbers) {
  PropertiesNode node;
  node.SetInt("b", 1);
  node.SetInt("A", 2);
  node.SetInt("_x", -3);
  EXPECT_EQ(analytics_sdk::ToJson(node), R"({"A":2,"_x":-3,"b":1})");

  PropertiesNode values;
  // Set directly: the UTF-8 rule of SetString would refuse backspace and form feed.
  values.Set("s", analytics_sdk::PropertyValue::MakeString(std::string("q\"b\\/\b\f\n\r\t") + "\xE5\xB4\xA9"));
  values.SetNumber("n1", 19.99);
  values.SetNumber("n2", 1234567.0);
  values.SetNumber("n3", 0.1);
  values.SetNumber("n4", 100000000.0);
  values.SetBool("t", true);
  values.SetDateTime("d", 1700000000, 7);
  const std::string expected = std::string("{\"d\":\"") + LocalText(1700000000, 7) +
                               "\",\"n1\":19.99,\"n2\":1.23457e+06,\"n3\":0.1,\"n4\":1e+08,"
                               "\"s\":\"q\\\"b\\\\/\\b\\f\\n\\r\\t\xE5\xB4\xA9\",\"t\":true}";
  EXPECT_EQ(analytics_sdk::ToJson(values), expected);
}

TEST(AnalyticsJson, MergeReplacesAndNestedObjectsCopyDeeply) {
  PropertiesNode inner;
  inner.SetString("k", "v");
  PropertiesNode node;
  node.SetString("a", "old");
  node.Set("o", analytics_sdk::PropertyValue::MakeObject(inner));
  PropertiesNode other;
  other.SetInt("a", 5);
  node.Merge(other);
  inner.SetString("k", "changed");
  EXPECT_EQ(analytics_sdk::ToJson(node), R"({"a":5,"o":{"k":"v"}})");
}

TEST(AnalyticsTrackId, IsTwoPlusThreePlusFourDigitsParsedAsANumber) {
  EXPECT_EQ(Sdk::MakeTrackId(0, 0, 1700000000123LL), 123);  // "00"+"000"+"0123": leading zeros vanish
  EXPECT_EQ(Sdk::MakeTrackId(97, 997, 1700000009999LL), 979979999);
  EXPECT_EQ(Sdk::MakeTrackId(98 + 99 * 5, 998, 9999), 989989999);  // the largest possible
}

// Every record type, byte for byte (the random "_track_id" masked).
class SdkRecords : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Sdk::Init(folder_.Slash(), "", "anon-1", false)); }
  void TearDown() override { Sdk::Shutdown(); }

  std::vector<std::string> Records() {
    std::vector<std::string> masked;
    for (const auto& r : Sdk::QueuedRecords()) masked.push_back(analytics_test::MaskTrackId(r, kNow));
    return masked;
  }

  static constexpr int64_t kNow = 1700000000123LL;
  analytics_test::TempFolder folder_;
  analytics_test::PinnedClock clock_{kNow};
};

TEST_F(SdkRecords, EachRecordTypeHasItsExactText) {
  PropertiesNode props;
  props.SetString("pk_name", "x");
  Sdk::Track("PkEventClick", props);
  Sdk::ProfileSet(props);
  Sdk::ProfileSetOnceNumber("pk_first_visit_date", static_cast<int64_t>(5));
  Sdk::ProfileIncrement("pk_visit_count", static_cast<int64_t>(1));
  Sdk::SignUp("user-1");
  Sdk::Track("After", PropertiesNode());

  const std::string lib = R"("lib":{"$lib":"cpp","$lib_method":"code","$lib_version":"0.9"})";
  EXPECT_THAT(
      Records(),
      ElementsAre(
          R"({"_track_id":ID,"distinct_id":"anon-1","event":"PkEventClick",)" + lib +
              R"(,"properties":{"$lib":"cpp","$lib_version":"0.9","pk_name":"x"},"time":1700000000123,"type":"track"})",
          R"({"_track_id":ID,"distinct_id":"anon-1",)" + lib +
              R"(,"properties":{"pk_name":"x"},"time":1700000000123,"type":"profile_set"})",
          R"({"_track_id":ID,"distinct_id":"anon-1",)" + lib +
              R"(,"properties":{"pk_first_visit_date":5},"time":1700000000123,"type":"profile_set_once"})",
          R"({"_track_id":ID,"distinct_id":"anon-1",)" + lib +
              R"(,"properties":{"pk_visit_count":1},"time":1700000000123,"type":"profile_increment"})",
          R"({"_track_id":ID,"distinct_id":"user-1","event":"$SignUp",)" + lib +
              R"(,"original_id":"anon-1","properties":{"$lib":"cpp","$lib_version":"0.9"},"time":1700000000123,"type":"track_signup"})",
          R"({"_track_id":ID,"distinct_id":"user-1","event":"After",)" + lib +
              R"(,"properties":{"$is_login_id":true,"$lib":"cpp","$lib_version":"0.9"},"time":1700000000123,"type":"track"})"));
}

TEST_F(SdkRecords, TimeAndProjectComeOutOfTheProperties) {
  PropertiesNode props;
  props.SetDateTime("$time", 1700000000, 250);
  props.SetString("$project", "proj");
  Sdk::Track("E", props);
  const auto records = Sdk::QueuedRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_THAT(records[0], testing::HasSubstr(R"("project":"proj","properties":{"$lib":"cpp","$lib_version":"0.9"},"time":1700000000250,"type":"track"})"));
}

TEST_F(SdkRecords, RejectedRecordsAreNotQueued) {
  struct Case {
    std::string event;
    PropertiesNode props;
    std::string message;
  };
  std::vector<Case> cases(4);
  cases[0] = {"E", {}, "The property '$time' should be DateTime type."};
  cases[0].props.SetString("$time", "now");
  cases[1] = {"E", {}, "The property '$project' should be String type."};
  cases[1].props.SetInt("$project", 1);
  cases[2] = {"E", {}, "The Property Key need to be a valid variable name."};
  cases[2].props.SetInt("9lives", 1);
  cases[3] = {"bad-name", {}, "The Event Name need to be a valid variable name."};
  for (const auto& c : cases) {
    ConsoleCapture console;
    Sdk::Track(c.event, c.props);
    EXPECT_THAT(console.Err(), ElementsAre(c.message));
  }
  EXPECT_TRUE(Sdk::QueuedRecords().empty());
}

TEST_F(SdkRecords, SecondInitKeepsTheFirstIdentityAndInvalidIdIsRefused) {
  EXPECT_TRUE(Sdk::Init(folder_.Slash(), "", "other", true));
  EXPECT_EQ(Sdk::CurrentDistinctId(), "anon-1");
  ConsoleCapture console;
  EXPECT_FALSE(Sdk::Init(folder_.Slash(), "", "", false));
}

TEST(SdkLifecycle, OperationsWithoutAnSdkDoNothing) {
  ASSERT_FALSE(Sdk::Exists());
  Sdk::Track("E", PropertiesNode());
  Sdk::SignUp("u");
  Sdk::RegisterSuperProperties(PropertiesNode());
  EXPECT_FALSE(Sdk::Flush());
  Sdk::Shutdown();
  EXPECT_TRUE(Sdk::QueuedRecords().empty());
  EXPECT_EQ(Sdk::CurrentDistinctId(), "");
}

}  // namespace
