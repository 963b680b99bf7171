// The installer's four reports reach the collector with the A/B group, send
// nothing when analytics is off, and never throw into the installer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analytics/installer_reports.h"
#include "app/installer_settings.h"
#include "tests/analytics/tracker_fixture.h"

namespace {

using testing::HasSubstr;

class InstallerReports : public analytics_test::TrackerFixture {
 protected:
  void SetUp() override {
    TrackerFixture::SetUp();
    Settings().IsEnableAppAnalytics = true;
  }
  void TearDown() override {
    TrackerFixture::TearDown();
    Settings().IsEnableAppAnalytics = true;
    SetReportObserver(nullptr);
  }
  const ReportProperties ab_{{L"AB", L"IN"}};
};

TEST_F(InstallerReports, EveryReportCarriesTheAbGroupToTheCollector) {
  pelko::analytics::InitTracker(Config());
  ReportTask(L"下载器启动", L"", 0.0f, ab_);
  ReportTask(L"大包下载完毕", L"r", 2.5f, ab_);
  ReportClick(L"立即安装", ab_);
  ReportView(L"安装中", ab_);
  ReportCrash();
  pelko::analytics::ReleaseTracker();  // flushes what is pending
  ASSERT_TRUE(collector_.WaitForRecords(5, std::chrono::seconds(30)));
  const auto records = collector_.Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_THAT(records[0], HasSubstr(u8"\"pk_task_elapsed\":0,\"pk_task_name\":\"下载器启动\""));
  EXPECT_THAT(records[1], HasSubstr("\"pk_reason\":\"r\","));
  EXPECT_THAT(records[1], HasSubstr(u8"\"pk_task_elapsed\":2.5,\"pk_task_name\":\"大包下载完毕\""));
  EXPECT_THAT(records[2], HasSubstr("\"pk_click_type\":\"Button\","));
  EXPECT_THAT(records[2], HasSubstr(u8"\"pk_name\":\"立即安装\""));
  EXPECT_THAT(records[3], HasSubstr(u8"\"pk_name\":\"安装中\""));
  for (int i = 0; i < 4; ++i) EXPECT_THAT(records[i], HasSubstr("\"pkc_ab\":\"IN\"")) << i;
  EXPECT_THAT(records[4], HasSubstr(u8"\"app_crashed_reason\":\"崩溃\""));
}

TEST_F(InstallerReports, DisabledAnalyticsSendsNothingButTheObserverStillSeesTheCall) {
  pelko::analytics::InitTracker(Config());
  Settings().IsEnableAppAnalytics = false;
  int observed = 0;
  SetReportObserver([&](const ReportCall&) { ++observed; });
  ReportClick(L"立即安装", ab_);
  ReportCrash();
  EXPECT_EQ(observed, 2);
  EXPECT_TRUE(Queued().empty());
  pelko::analytics::ReleaseTracker();
  EXPECT_EQ(collector_.PostCount(), 0u);
}

TEST_F(InstallerReports, ReportsWithoutATrackerOrWithABadGroupNeverThrow) {
  EXPECT_NO_THROW(ReportTask(L"libcurl初始化失败", L"", 0.0f, ab_));
  pelko::analytics::InitTracker(Config());
  EXPECT_NO_THROW(ReportClick(L"x", {{L"AB", L"bad"}}));
  EXPECT_NO_THROW(ReportView(L"", ab_));  // refused by the tracker, swallowed by its wrapper
  SetReportObserver([](const ReportCall&) { throw std::runtime_error("observer"); });
  EXPECT_NO_THROW(ReportCrash());  // skipped: the observer threw
  pelko::analytics::ReleaseTracker();
  const auto records = Delivered(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_THAT(records[0], HasSubstr("PkEventClick"));
  EXPECT_THAT(records[0], testing::Not(HasSubstr("pkc_ab")));
}

TEST_F(InstallerReports, TheInstallerConfigurationComesFromTheSettings) {
  const auto config = InstallerTrackerConfig(L"http://127.0.0.1:9/c");
  EXPECT_EQ(config.appName, "Velmora.downloader");
  EXPECT_EQ(config.appVersion, "1.7.9");
  EXPECT_EQ(config.dlAppId, "Velmora");
  EXPECT_EQ(config.appStore, Utils::WideToUtf8(Settings().installerFileName));
  EXPECT_EQ(config.serverUrl, "http://127.0.0.1:9/c");
  EXPECT_EQ(config.edition, 0);
  Settings().IsEnableAppAnalytics = false;
  StartInstallerAnalytics(L"");
  EXPECT_EQ(pelko::analytics::GetTracker(), nullptr);
}

}  // namespace
