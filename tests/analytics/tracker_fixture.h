// A tracker run in a temporary base folder with a real collector on
// 127.0.0.1: the installer's configuration, the files it leaves, and a
// clean process-wide state (no tracker, last send failed) around each test.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "analytics/analytics_tracker.h"
#include "analytics/sdk/last_send_status.h"
#include "analytics/sdk/sdk.h"
#include "platform/private_profile.h"
#include "tests/analytics/analytics_test_support.h"
#include "tools/collector/collector_server.h"
#include "utils/text.h"

namespace analytics_test {

class TrackerFixture : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(collector_.Start(0));
    std::filesystem::create_directories(folder_.Path() / "bin");
    analytics_sdk::SetLastSendSucceeded(false);
  }
  void TearDown() override {
    pelko::analytics::ReleaseTracker();
    analytics_sdk::SetLastSendSucceeded(false);
  }

  pelko::analytics::TrackerConfig Config() const {
    pelko::analytics::TrackerConfig config;
    config.appName = "Velmora.downloader";
    config.appVersion = "1.7.9";
    config.appStore = "setup.exe";
    config.dlAppId = "Velmora";
    config.serverUrl = collector_.Url();
    config.baseFolder = folder_.Str();
    config.executablePath = (folder_.Path() / "bin" / "setup").string();
    return config;
  }
  std::filesystem::path AnalyticsFolder() const { return folder_.Path() / "PKLocal" / "Velmora.downloader"; }
  std::filesystem::path ConfigIni() const { return AnalyticsFolder() / "Velmora.downloader_PKSConfigure.ini"; }
  std::string Ini(const std::string& section, const std::string& key) const {
    return Utils::WideToUtf8(Platform::GetProfileString(Utils::Utf8ToWide(section), Utils::Utf8ToWide(key),
                                                        L"<missing>", ConfigIni().wstring()));
  }
  std::vector<std::string> Queued() const {
    const auto q = analytics_sdk::Sdk::QueuedRecords();
    return {q.begin(), q.end()};
  }

  // Records the collector accepted, once there are `count` (bounded wait).
  std::vector<std::string> Delivered(size_t count) const {
    EXPECT_TRUE(collector_.WaitForRecords(count, std::chrono::seconds(30)));
    return collector_.Records();
  }

  TempFolder folder_;
  collector::CollectorServer collector_;
};

}  // namespace analytics_test
