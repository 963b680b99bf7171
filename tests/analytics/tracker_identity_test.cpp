// The tracker's files and identity across runs: first run, login, collector
// change, "Set.ini" and half-initialised trackers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analytics/source/src/tracker_storage.h"
#include "tests/analytics/tracker_fixture.h"
#include "tests/support/log_capture.h"

namespace {

using analytics_test::ConsoleCapture;
using analytics_test::ReadFile;
using analytics_test::WriteFile;
using pelko::analytics::GetTracker;
using pelko::analytics::InitTracker;
using pelko::analytics::PkContextProperties;
using pelko::analytics::ReleaseTracker;
using testing::HasSubstr;
using testing::Not;

class TrackerIdentity : public analytics_test::TrackerFixture {};

TEST_F(TrackerIdentity, FirstRunCreatesTheFilesAndTheIdentityStaysForTheSameCollector) {
  InitTracker(Config());
  ASSERT_TRUE(analytics_sdk::Sdk::Exists());
  const std::string id = Ini("Base", "DistinctId");
  EXPECT_TRUE(analytics_test::IsGuidText(id)) << id;
  EXPECT_EQ(Ini("Base", "PrimaryDistinctId"), id);
  EXPECT_EQ(Ini("Base", "UserId"), "");
  EXPECT_EQ(Ini("Base", "isLogined"), "NG");
  EXPECT_EQ(Ini("Base", "URL"), collector_.Url());
  EXPECT_EQ(Ini("UninstallInfo", "AppStore"), "setup.exe");
  EXPECT_EQ(Ini("UninstallInfo", "AppName"), "Velmora.downloader");
  EXPECT_EQ(Ini("UninstallInfo", "AppVersion"), "1.7.9");
  EXPECT_TRUE(std::filesystem::exists(AnalyticsFolder() / "Velmora.downloader_PKSLog.txt"));
  EXPECT_EQ(GetTracker()->getPrimaryDistinctId(), id);
  ReleaseTracker();
  EXPECT_FALSE(analytics_sdk::Sdk::Exists());

  InitTracker(Config());
  EXPECT_EQ(Ini("Base", "DistinctId"), id);
  EXPECT_EQ(analytics_sdk::Sdk::CurrentDistinctId(), id);
}

TEST_F(TrackerIdentity, LoginSwitchesTheIdentityUntilTheCollectorChanges) {
  InitTracker(Config());
  const std::string anonymous = Ini("Base", "DistinctId");
  pelko::analytics::PkEventLogin login;
  login.userId = "u1";
  login.userType = 2;
  GetTracker()->trackLogin(login, true, "", PkContextProperties());
  const auto records = Queued();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_THAT(records[0], HasSubstr("\"distinct_id\":\"" + anonymous + "\",\"event\":\"PkEventLogin\""));
  EXPECT_THAT(records[0], HasSubstr("\"pk_login_id\":\"u1\""));
  EXPECT_THAT(records[0], HasSubstr("\"pk_type\":\"email\""));
  EXPECT_THAT(records[1], HasSubstr("\"distinct_id\":\"u1\",\"event\":\"$SignUp\""));
  EXPECT_THAT(records[1], HasSubstr("\"original_id\":\"" + anonymous + "\""));
  EXPECT_EQ(Ini("Base", "UserId"), "u1");
  EXPECT_EQ(Ini("Base", "DistinctId"), "u1");
  EXPECT_EQ(Ini("Base", "isLogined"), "OK");
  ReleaseTracker();

  // The next run starts logged in.
  InitTracker(Config());
  pelko::analytics::PkEventTask task;
  task.name = "t";
  GetTracker()->trackTask(task, PkContextProperties());
  ASSERT_EQ(Queued().size(), 1u);
  EXPECT_THAT(Queued()[0], HasSubstr("\"distinct_id\":\"u1\""));
  EXPECT_THAT(Queued()[0], HasSubstr("\"$is_login_id\":true"));
  EXPECT_THAT(Queued()[0], HasSubstr("\"pk_user_id\":\"u1\""));
  ReleaseTracker();

  // Another collector: anonymous again, with the first anonymous id.
  auto other = Config();
  other.serverUrl = collector_.Url() + "?v=2";
  InitTracker(other);
  EXPECT_EQ(Ini("Base", "UserId"), "");
  EXPECT_EQ(Ini("Base", "isLogined"), "NG");
  EXPECT_EQ(Ini("Base", "DistinctId"), anonymous);
  EXPECT_EQ(Ini("Base", "URL"), other.serverUrl);
  EXPECT_EQ(analytics_sdk::Sdk::CurrentDistinctId(), anonymous);
}

TEST_F(TrackerIdentity, OnlyAnUpperCaseOkMeansLoggedIn) {
  std::filesystem::create_directories(AnalyticsFolder());
  WriteFile(ConfigIni(), "[Base]\nDistinctId=D1\nUserId=u9\nisLogined=ok\nURL=" + collector_.Url() + "\n");
  InitTracker(Config());
  EXPECT_EQ(analytics_sdk::Sdk::CurrentDistinctId(), "D1");
  EXPECT_EQ(GetTracker()->getPrimaryDistinctId(), "D1");  // an empty primary id takes the distinct id
  pelko::analytics::PkEventView view;
  view.name = "v";
  GetTracker()->trackView(view, PkContextProperties());
  ASSERT_EQ(Queued().size(), 1u);
  EXPECT_THAT(Queued()[0], Not(HasSubstr("$is_login_id")));
}

TEST_F(TrackerIdentity, SetIniBesideTheExecutableNamesTheConfigurationFile) {
  const auto dataFolder = folder_.Path() / "data" / "deep";
  // Written with the other separator; the tracker turns it into ours.
  std::string configured = (dataFolder / "x.ini").string();
  for (char& c : configured)
    if (c == '/') c = '\\';
  WriteFile(folder_.Path() / "bin" / "Set.ini", "[Install]\nDODevuzorOduvaridaIni=" + configured + "\n");
  InitTracker(Config());
  EXPECT_TRUE(std::filesystem::exists(dataFolder / "x.ini"));
  EXPECT_TRUE(std::filesystem::exists(dataFolder / "Velmora.downloader_PKSLog.txt"));
  EXPECT_FALSE(std::filesystem::exists(ConfigIni()));
}

TEST_F(TrackerIdentity, ASetIniValueWithoutAFolderFallsBackToTheDefaultPlace) {
  WriteFile(folder_.Path() / "bin" / "Set.ini", "[Install]\nDODevuzorOduvaridaIni=x.ini\n");
  const auto paths = pelko::analytics::ResolveAnalyticsPaths((folder_.Path() / "bin" / "setup").wstring(),
                                                             folder_.Path().wstring(), L"Velmora");
  EXPECT_EQ(paths.configIni, (folder_.Path() / "PKLocal" / "Velmora" / "Velmora_PKSConfigure.ini").wstring());
  EXPECT_EQ(paths.folder, (folder_.Path() / "PKLocal" / "Velmora").wstring() + L"/");
}

TEST_F(TrackerIdentity, WithoutAnAppStoreTheTrackerIsPublishedButSilent) {
  ConsoleCapture console;
  auto config = Config();
  config.appStore = "";
  InitTracker(config);
  ASSERT_NE(GetTracker(), nullptr);
  EXPECT_FALSE(analytics_sdk::Sdk::Exists());
  GetTracker()->trackClick(pelko::analytics::PkEventClick(), PkContextProperties());  // invalid: empty name
  pelko::analytics::PkEventClick click;
  click.name = "c";
  GetTracker()->trackClick(click, PkContextProperties());
  EXPECT_TRUE(console.Out().empty());
  EXPECT_FALSE(std::filesystem::exists(ConfigIni()));
}

TEST_F(TrackerIdentity, AnUnknownEditionRegistersNoCommonPropertiesAndNoUninstallInfo) {
  auto config = Config();
  config.edition = 2;
  InitTracker(config);
  ASSERT_TRUE(analytics_sdk::Sdk::Exists());
  EXPECT_EQ(Ini("UninstallInfo", "AppName"), "<missing>");
  pelko::analytics::PkEventView view;
  view.name = "v";
  GetTracker()->trackView(view, PkContextProperties());
  ASSERT_EQ(Queued().size(), 1u);
  EXPECT_THAT(Queued()[0], Not(HasSubstr("pk_app_id")));
}

TEST_F(TrackerIdentity, CommonPropertiesTellTheTruthAboutThisSystem) {
  InitTracker(Config());
  pelko::analytics::PkEventView view;
  view.name = "v";
  GetTracker()->trackView(view, PkContextProperties());
  ASSERT_EQ(Queued().size(), 1u);
  const std::string record = Queued()[0];
  for (const char* expected :
       {"\"$app_id\":\"Velmora.downloader\"", "\"$app_version\":\"1.7.9\"", "\"$os\":\"Linux\"",
        "\"pk_app_platform\":\"Linux\"", "\"pk_app_store\":\"setup.exe\"", "\"pk_dlapp_id\":\"Velmora\"",
        "\"pk_edition\":\"china\"", "\"pk_sdk\":\"WindowsCPP\"", "\"pk_sdk_version\":\"3.3.8\"",
        "\"pk_track_type\":\"Client\"", "\"$screen_width\":0", "\"$lib\":\"cpp\""})
    EXPECT_THAT(record, HasSubstr(expected));
  EXPECT_THAT(record, Not(HasSubstr("pk_dlapp_version")));
  EXPECT_THAT(record, Not(HasSubstr("\"$os_version\":\"\"")));

  GetTracker()->setLocale("en_GB.UTF-8");
  GetTracker()->trackView(view, PkContextProperties());
  EXPECT_THAT(Queued()[1], HasSubstr("\"pk_l10n_country\":\"GB.UTF-8\",\"pk_l10n_language\":\"en\","
                                     "\"pk_l10n_locale\":\"en_GB.UTF-8\""));
}

TEST_F(TrackerIdentity, AFailedPostSendsTheNextFlushRequestToAnOwnedWorker) {
  collector_.SetResponseStatus(500);
  LogCapture debugOutput;
  ConsoleCapture quiet;
  InitTracker(Config());
  analytics_sdk::SetLastSendSucceeded(true);  // as after an earlier good post
  pelko::analytics::PkEventClick click;
  click.name = "c";
  GetTracker()->trackClick(click, PkContextProperties());  // pending 2, flush later
  GetTracker()->trackCrash("first");                        // flushes here: three attempts fail
  EXPECT_EQ(collector_.PostCount(), 3u);
  EXPECT_TRUE(debugOutput.Contains(L"[analytics] Analytics SDK send failed"));
  EXPECT_FALSE(debugOutput.Contains(L"[Analytics] Sending messages asynchronously"));

  GetTracker()->trackCrash("second");
  EXPECT_TRUE(debugOutput.Contains(L"[Analytics] Sending messages asynchronously"));
  ReleaseTracker();  // joins the worker, then persists the three records
  const std::string data = ReadFile(AnalyticsFolder() / "PKSRecords.txt");
  EXPECT_THAT(data, HasSubstr("PkEventClick"));
  EXPECT_THAT(data, HasSubstr("\"app_crashed_reason\":\"second\""));

  // The next run with a working collector delivers them first.
  collector_.SetResponseStatus(200);
  InitTracker(Config());
  GetTracker()->trackClick(click, PkContextProperties());
  GetTracker()->trackCrash("third");
  ASSERT_TRUE(collector_.WaitForRecords(5, std::chrono::seconds(30)));
  const auto delivered = collector_.Records();
  ASSERT_EQ(delivered.size(), 5u);
  EXPECT_THAT(delivered[0], HasSubstr("PkEventClick"));
  EXPECT_THAT(delivered[1], HasSubstr("\"app_crashed_reason\":\"first\""));
  EXPECT_THAT(delivered[2], HasSubstr("\"app_crashed_reason\":\"second\""));
  EXPECT_THAT(delivered[3], HasSubstr("PkEventClick"));
  EXPECT_THAT(delivered[4], HasSubstr("\"app_crashed_reason\":\"third\""));
}

}  // namespace
