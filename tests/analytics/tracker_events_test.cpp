// The event operations: the properties each writes, the checks and their
// messages, context properties, profile records and the wrapper's guard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "analytics/pk_exception.h"
#include "analytics/source/src/analytics_tracker_impl.h"
#include "analytics/source/src/analytics_tracker_wrapper.h"
#include "analytics/sdk/validation.h"
#include "analytics/source/src/native_user_tracker.h"
#include "tests/analytics/tracker_fixture.h"

namespace {

using analytics_test::ConsoleCapture;
using namespace pelko::analytics;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

class TrackerEvents : public analytics_test::TrackerFixture {
 protected:
  void SetUp() override {
    TrackerFixture::SetUp();
    tracker_ = std::make_unique<AnalyticsTrackerImpl>(Config());
    tracker_->init();
  }
  void TearDown() override {
    tracker_.reset();
    TrackerFixture::TearDown();
  }
  std::string Last() const {
    const auto q = Queued();
    return q.empty() ? std::string() : q.back();
  }
  std::unique_ptr<AnalyticsTrackerImpl> tracker_;
};

TEST_F(TrackerEvents, ClickWritesItsFieldsAndContextPropertiesWin) {
  PkEventClick click;
  click.name = "install";
  click.clickType = PkClickType::Tutorial;
  click.tabIndex = std::make_shared<int32_t>(2);
  PkContextProperties context;
  context.setProperty("pkc_ab", "IN", {3, 4});
  context.setProperty("pk_name", "from-context", {3});
  tracker_->trackClick(click, context);
  const std::string r = Last();
  EXPECT_THAT(r, HasSubstr("\"event\":\"PkEventClick\""));
  EXPECT_THAT(r, HasSubstr("\"$is_first_time\":true"));
  EXPECT_THAT(r, HasSubstr("\"pk_click_type\":\"Tutorial\""));
  EXPECT_THAT(r, HasSubstr("\"pk_name\":\"from-context\""));
  EXPECT_THAT(r, HasSubstr("\"pk_tab_index\":2"));
  EXPECT_THAT(r, HasSubstr("\"pkc_ab\":\"IN\""));
  EXPECT_THAT(r, Not(HasSubstr("pk_aname")));
}

TEST_F(TrackerEvents, TaskFileAndUpdateWriteOnlyWhatTheRulesAllow) {
  PkEventTask task;
  task.name = "t";
  task.elapsed = std::make_shared<float>(1.5f);
  task.result = std::make_shared<PkResult>(PkResult::Unknown);
  tracker_->trackTask(task, PkContextProperties());
  PkEventFile file;
  file.aname = "a";
  file.io = std::make_shared<int32_t>(1);
  file.size = std::make_shared<float>(0.0f);
  tracker_->trackFile(file, PkContextProperties());
  PkEventUpdate check;
  check.op = static_cast<int>(PkUpdateOp::UpdateCheck);
  tracker_->trackUpdate(check, PkContextProperties());  // asks for a flush: all three go

  const auto records = Delivered(3);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_THAT(records[0], HasSubstr("\"pk_task_elapsed\":1.5,\"pk_task_name\":\"t\""));
  EXPECT_THAT(records[0], Not(HasSubstr("pk_task_result")));
  EXPECT_THAT(records[1], HasSubstr("\"pk_aname\":\"a\","));
  EXPECT_THAT(records[1], HasSubstr("\"pk_io\":\"Output\""));
  EXPECT_THAT(records[1], Not(HasSubstr("pk_size")));
  EXPECT_THAT(records[2], HasSubstr("\"pk_update_op\":\"UpdateCheck\",\"pk_update_result\":\"\""));
}

TEST_F(TrackerEvents, CrashCarriesNoContextProperties) {
  tracker_->trackCrash(u8"崩溃");
  EXPECT_THAT(Last(), HasSubstr(u8"\"app_crashed_reason\":\"崩溃\""));
  EXPECT_THAT(Last(), HasSubstr("\"event\":\"AppCrashed\""));
  EXPECT_THAT(Last(), Not(HasSubstr("$is_first_time")));
}

TEST_F(TrackerEvents, AnAnsiTextIsConvertedToUtf8) {
  PkEventView view;
  view.name = "caf\xE9";  // not UTF-8: read in the system's code page
  tracker_->trackView(view, PkContextProperties());
  ASSERT_EQ(Queued().size(), 1u);
  EXPECT_TRUE(analytics_sdk::IsValidUtf8(Last()));
  EXPECT_THAT(Last(), HasSubstr("\"pk_name\":\"caf"));
}

TEST_F(TrackerEvents, PaymentWritesItsProfileRecords) {
  PkEventPayment pay;
  pay.pkOrderId = "o1";
  pay.paidAmount = 0.0f;
  pay.currency = std::make_shared<int32_t>(1);
  pay.paidPlatform = std::make_shared<int32_t>(2);
  pay.result = std::make_shared<PkResult>(PkResult::Success);
  tracker_->trackPayment(pay, PkContextProperties());  // asks for a flush
  const auto q = Delivered(5);
  ASSERT_EQ(q.size(), 5u);
  EXPECT_THAT(q[0], HasSubstr("\"pk_currency\":\"USD\""));
  EXPECT_THAT(q[0], HasSubstr("\"pk_paid_platform\":\"PayPal\""));
  EXPECT_THAT(q[1], HasSubstr("\"properties\":{\"pk_paid_count\":1}"));
  EXPECT_THAT(q[2], HasSubstr("\"properties\":{\"pk_consumption\":0}"));
  EXPECT_THAT(q[2], HasSubstr("\"type\":\"profile_increment\""));
  EXPECT_THAT(q[3], HasSubstr("\"type\":\"profile_set_once\""));
  EXPECT_THAT(q[4], HasSubstr("pk_last_paid_date"));
  EXPECT_EQ(Ini("Base", "UserVipLevel"), "1");
}

TEST_F(TrackerEvents, PaymentWithoutCurrencyOrPlatformLeavesThemOutInsteadOfCrashing) {
  PkEventPayment pay;
  pay.pkOrderId = "o1";
  pay.result = std::make_shared<PkResult>(PkResult::Fail);
  tracker_->trackPayment(pay, PkContextProperties());
  const auto q = Delivered(5);
  ASSERT_EQ(q.size(), 5u);
  EXPECT_THAT(q[0], Not(HasSubstr("pk_currency")));
  EXPECT_THAT(q[0], HasSubstr("\"pk_result\":\"Fail\""));
}

TEST_F(TrackerEvents, InvalidRecordsAreRefusedWithTheirMessagesAndNothingIsRecorded) {
  struct Case {
    std::string message;
    std::function<void(AnalyticsTracker&)> call;
  };
  const PkContextProperties none;
  auto order = [] {
    PkEventOrder o;
    o.pkSuitId = "s";
    o.pkCurrency = std::make_shared<int32_t>(0);
    o.originalAmount = 1.0f;
    o.paidAmount = 1.0f;
    return o;
  };
  auto payment = [] {
    PkEventPayment p;
    p.pkOrderId = "o";
    p.result = std::make_shared<PkResult>(PkResult::Success);
    return p;
  };
  const Case cases[] = {
      {"pkEventClick.name is empty", [&](AnalyticsTracker& t) { t.trackClick(PkEventClick(), none); }},
      {"pkEventView.name is empty", [&](AnalyticsTracker& t) { t.trackView(PkEventView(), none); }},
      {"pkEventCashier.pk_cashier_name is empty", [&](AnalyticsTracker& t) { t.trackCashier(PkEventCashier(), none); }},
      {"pkEventTask.name is empty", [&](AnalyticsTracker& t) { t.trackTask(PkEventTask(), none); }},
      {"pkEventFile.aname is empty", [&](AnalyticsTracker& t) { t.trackFile(PkEventFile(), none); }},
      {"pkEventOrder.pkSuitId is empty", [&](AnalyticsTracker& t) { t.trackOrder(PkEventOrder(), none); }},
      {"pkEventOrder.pkCurrency is nullptr",
       [&](AnalyticsTracker& t) {
         auto o = order();
         o.pkCurrency.reset();
         t.trackOrder(o, none);
       }},
      {"pkEventOrder.originalAmount is less than zero",
       [&](AnalyticsTracker& t) {
         auto o = order();
         o.paidAmount = 0.0f;
         t.trackOrder(o, none);
       }},
      {"pkEventPayment.pkOrderId is empty", [&](AnalyticsTracker& t) { t.trackPayment(PkEventPayment(), none); }},
      {"paidAmount = -1.500000 is invalid",
       [&](AnalyticsTracker& t) {
         auto p = payment();
         p.paidAmount = -1.5f;
         t.trackPayment(p, none);
       }},
      {"originalAmount = -2.000000 is invalid",
       [&](AnalyticsTracker& t) {
         auto p = payment();
         p.originalAmount = -2.0f;
         t.trackPayment(p, none);
       }},
      {"pkEventPayment.result is invalid",
       [&](AnalyticsTracker& t) {
         auto p = payment();
         p.result = std::make_shared<PkResult>(PkResult::Cancelled);
         t.trackPayment(p, none);
       }},
      {"Unknown PkUpdateOp [7]!",
       [&](AnalyticsTracker& t) {
         PkEventUpdate u;
         u.op = 7;
         t.trackUpdate(u, none);
       }},
      {"Unknown updateResultInfo info",
       [&](AnalyticsTracker& t) {
         PkEventUpdate u;
         u.op = static_cast<int>(PkUpdateOp::DownloadEnd);
         t.trackUpdate(u, none);
       }},
      {"invalid elapsed info",
       [&](AnalyticsTracker& t) {
         PkEventUpdate u;
         u.op = static_cast<int>(PkUpdateOp::DownloadEnd);
         u.result = std::make_shared<int32_t>(0);
         t.trackUpdate(u, none);
       }},
      {"&appOpenNotification is nullptr", [&](AnalyticsTracker& t) { t.trackAppOpenNotification(nullptr, none); }},
      {"planID is emptry",
       [&](AnalyticsTracker& t) {
         AppOpenNotification n;
         t.trackAppOpenNotification(&n, none);
       }},
      {"msgTitle is emptry",
       [&](AnalyticsTracker& t) {
         AppOpenNotification n;
         n.planID = "p";
         n.planType = "t";
         t.trackAppOpenNotification(&n, none);
       }},
      {"Unknown ClickType [9]!",
       [&](AnalyticsTracker& t) {
         PkEventClick c;
         c.name = "n";
         c.clickType = static_cast<PkClickType>(9);
         t.trackClick(c, none);
       }},
      {"Unknown user type [12]!",
       [&](AnalyticsTracker& t) {
         PkEventLogin l;
         l.userType = 12;
         t.trackLogin(l, true, "", none);
       }},
  };
  for (const auto& c : cases) {
    try {
      c.call(*tracker_);
      ADD_FAILURE() << "no exception for " << c.message;
    } catch (const PkException& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
  EXPECT_TRUE(Queued().empty());
}

// A tracker whose every operation throws, behind the published wrapper.
class ThrowingTracker : public AnalyticsTracker {
 public:
  [[noreturn]] static void Throw() { throw std::runtime_error("boom"); }
  void trackActivity(const PkContextProperties&) override { Throw(); }
  void trackLaunch(const PkContextProperties&) override { Throw(); }
  void trackLogin(const PkEventLogin&, bool, const std::string&, const PkContextProperties&) override { Throw(); }
  void trackClick(const PkEventClick&, const PkContextProperties&) override { Throw(); }
  void trackView(const PkEventView&, const PkContextProperties&) override { Throw(); }
  void trackCashier(const PkEventCashier&, const PkContextProperties&) override { Throw(); }
  void trackShare(const PkEventShare&, const PkContextProperties&) override { Throw(); }
  void trackTask(const PkEventTask&, const PkContextProperties&) override { Throw(); }
  void trackFile(const PkEventFile&, const PkContextProperties&) override { Throw(); }
  void trackOrder(const PkEventOrder&, const PkContextProperties&) override { Throw(); }
  void trackPayment(const PkEventPayment&, const PkContextProperties&) override { Throw(); }
  void trackUninstall(const std::string&, const PkContextProperties&) override { Throw(); }
  void trackCrash(const std::string&) override { throw 42; }
  void trackUpdate(const PkEventUpdate&, const PkContextProperties&) override { Throw(); }
  void trackAppOpenNotification(const AppOpenNotification*, const PkContextProperties&) override { Throw(); }
  void setLocale(const std::string&) override {}
  std::string getPrimaryDistinctId() override { return "p"; }
  TrackLogger* getLogger() override { return &logger_; }

 private:
  struct NullLogger : TrackLogger {
    bool readEntries(int, int, std::vector<TrackLogEntry>&) override { return true; }
    bool clear() override { return true; }
  } logger_;
};

TEST(TrackerWrapper, EveryFailingOperationBecomesOneFailedToLine) {
  ConsoleCapture console;
  AnalyticsTrackerWrapper wrapper(std::make_unique<ThrowingTracker>());
  const PkContextProperties c;
  wrapper.trackActivity(c);
  wrapper.trackLaunch(c);
  wrapper.trackLogin(PkEventLogin(), true, "", c);
  wrapper.trackClick(PkEventClick(), c);
  wrapper.trackView(PkEventView(), c);
  wrapper.trackCashier(PkEventCashier(), c);
  wrapper.trackShare(PkEventShare(), c);
  wrapper.trackTask(PkEventTask(), c);
  wrapper.trackFile(PkEventFile(), c);
  wrapper.trackOrder(PkEventOrder(), c);
  wrapper.trackPayment(PkEventPayment(), c);
  wrapper.trackUninstall("", c);
  wrapper.trackCrash("");
  wrapper.trackUpdate(PkEventUpdate(), c);
  wrapper.trackAppOpenNotification(nullptr, c);
  EXPECT_THAT(console.Out(),
              ElementsAre("Failed to trackActivity", "Failed to trackLaunch", "Failed to trackLogin",
                          "Failed to trackClick", "Failed to trackView", "Failed to trackCashier",
                          "Failed to trackShare", "Failed to trackTask", "Failed to trackFile", "Failed to trackOrder",
                          "Failed to trackPayment", "Failed to trackUninstall", "Failed to trackCrash",
                          "Failed to trackUpdate", "Failed to trackAppOpenNotification"));
  EXPECT_EQ(wrapper.getLogger(), nullptr);
  EXPECT_EQ(wrapper.getPrimaryDistinctId(), "p");
  AnalyticsTrackerWrapper empty(nullptr);
  empty.trackCrash("");
  EXPECT_EQ(empty.getPrimaryDistinctId(), "");
}

TEST(ContextProperties, AbValuesAndTheirMessages) {
  struct Case {
    std::string value;
    bool valid;
    std::string message;
  } cases[] = {
      {"", false, ""},
      {"A", true, ""},
      {"AB", true, ""},
      {"Z9", true, ""},
      {"AB1", true, ""},
      {"ab", false, "First char is not in A to Z"},
      {"A-", false, "second char is not in A to Z and 0 to 9"},
      {"AB-", false, "third char is not in A to Z and 0 to 9"},
      {"ABCD", false, "value's length is great than 3."},
  };
  for (const auto& c : cases) {
    if (c.message.empty()) {
      EXPECT_EQ(PkContextProperties::isValidABValue(c.value), c.valid) << c.value;
      continue;
    }
    try {
      PkContextProperties::isValidABValue(c.value);
      ADD_FAILURE() << c.value;
    } catch (const PkException& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
      EXPECT_EQ(e.Function(), "isValidABValue");
      EXPECT_EQ(e.File(), "PkContextProperties");
    }
  }
}

TEST(ContextProperties, KeysAreRegisteredOnceAndEventTypesAreBounded) {
  PkContextProperties context;
  context.setProperty("pkc_ab", "IN", {7, 3});
  ASSERT_EQ(context.getEventProperties(7).size(), 1u);
  EXPECT_EQ(*context.getEventProperties(3)[0].second, "IN");
  EXPECT_TRUE(context.getEventProperties(4).empty());
  try {
    context.setProperty("pkc_ab", "B", {4});
    ADD_FAILURE();
  } catch (const PkException& e) {
    EXPECT_EQ(std::string(e.what()), "Property[pkc_ab] already exist!");
  }
  try {
    context.setProperty("k", "v", {1, 15});
    ADD_FAILURE();
  } catch (const PkException& e) {
    EXPECT_EQ(std::string(e.what()), "PkEvent[15] overflow!");
  }
  EXPECT_EQ(context.getEventProperties(1).size(), 1u);  // added before the bad number
  EXPECT_THROW(context.getEventProperties(-1), PkException);
}

TEST_F(TrackerEvents, UserPropertiesPickTheirOperationByKey) {
  try {
    NativeUserTracker::ProfileUserPropertyString("pk_visit_count", "x");
    ADD_FAILURE();
  } catch (const PkException& e) {
    EXPECT_EQ(std::string(e.what()), "user property [pk_visit_count] is string type value, it cannot be accumulated!");
  }
  try {
    NativeUserTracker::ProfileUserPropertyNumber("nope", 1);
    ADD_FAILURE();
  } catch (const PkException& e) {
    EXPECT_EQ(std::string(e.what()), "Not supported user property [nope]!");
  }
  EXPECT_THROW(NativeUserTracker::ProfileUserPropertyDateTime("pk_paid_count", 1), PkException);
  NativeUserTracker::ProfileUserPropertyDateTime("pk_last_visit_date", 1700000000LL);
  NativeUserTracker::ProfileUserPropertyDateTime("pk_last_visit_date", 1700000000000LL);
  NativeUserTracker::ProfileUserPropertyString("pk_os", "Linux");
  const auto q = Queued();
  ASSERT_EQ(q.size(), 3u);
  const auto props = [](const std::string& r) {
    const size_t start = r.find("\"properties\"");
    return r.substr(start, r.find("\"time\"") - start);
  };
  EXPECT_EQ(props(q[0]), props(q[1]));  // seconds and milliseconds give the same date-time
  EXPECT_THAT(q[2], HasSubstr("\"properties\":{\"pk_os\":\"Linux\"},"));
  EXPECT_THAT(q[2], HasSubstr("\"type\":\"profile_set\""));
}

}  // namespace
