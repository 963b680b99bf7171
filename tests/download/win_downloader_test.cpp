// CWinDownloader on the platform's URL service against the loopback server.
#include "download/win_downloader.h"

#include <gtest/gtest.h>

#include <future>

#include "tests/download/download_test_support.h"
#include "tests/support/loopback_http_server.h"
#include "utils/text.h"

namespace {

using Codes = std::vector<int32_t>;

class WinDownloaderTest : public ::testing::Test {
 protected:
  std::unique_ptr<CWinDownloader> MakeEngine(const std::string& url) {
    return std::make_unique<CWinDownloader>(recorder_.Callback(), Utils::ToWide(url, 65001),
                                            folder_.WidePath("pkg.exe"), FastTiming());
  }
  LoopbackHttpServer server_;
  TempFolder folder_;
  CodeRecorder recorder_;
};

TEST_F(WinDownloaderTest, DownloadsTheWholeFileOnceAndIgnoresALaterStart) {
  const std::string body = PatternBody(3 * 1048576 + 5);
  server_.AddFile("/pkg/a b/pkg.exe", body);
  server_.AddRedirect("/software/458", "/pkg/a+b/pkg.exe");
  server_.AddFile("/pkg/a+b/pkg.exe", body);
  auto engine = MakeEngine(server_.Url("/software/458"));
  engine->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_SUCCESS}));
  EXPECT_EQ(recorder_.LastVerdict().text, L"URLDownloadToFile");
  EXPECT_EQ(Md5Hex(ReadFileBytes(folder_.Path("pkg.exe"))), Md5Hex(body));
  for (const auto& e : recorder_.Events())
    if (e.code == DL_CODE_PROGRESS) {
      EXPECT_TRUE(e.value >= 0.0 && e.value <= 1.0);
    }
  engine->Start();  // the worker runs once in the engine's life
  engine.reset();
  EXPECT_EQ(recorder_.Events().back().code, DL_CODE_SUCCESS);
  EXPECT_EQ(server_.CountRequests("GET", "/pkg/a+b/pkg.exe"), 1);
}

TEST_F(WinDownloaderTest, ThreeFailedCallsEndIn1004WithTheServiceResult) {
  server_.AddFile("/missing-elsewhere", "x");
  const struct {
    const char* name;
    std::string url;
    Platform::UrlResult result;
    int gets;
  } cases[] = {{"not found", server_.Url("/nothing"), Platform::kUrlNotFound, 3},
               {"server down", "http://127.0.0.1:1/p", Platform::kUrlCannotConnect, 0}};
  for (const auto& c : cases) {
    CodeRecorder recorder;
    {
      CWinDownloader engine(recorder.Callback(), Utils::ToWide(c.url, 65001), folder_.WidePath("pkg.exe"),
                            FastTiming());
      engine.Start();
      ASSERT_TRUE(recorder.WaitForVerdicts(1)) << c.name;
    }
    EXPECT_EQ(recorder.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_FAIL})) << c.name;
    EXPECT_EQ(recorder.LastVerdict().value, static_cast<double>(c.result)) << c.name;
    EXPECT_EQ(recorder.LastVerdict().text, L"URLDownloadToFile") << c.name;
  }
  EXPECT_EQ(server_.CountRequests("GET", "/nothing"), 3);
}

TEST_F(WinDownloaderTest, DestructionDuringAStalledDownloadEndsItPromptly) {
  server_.AddFile("/p", PatternBody(2 * 1048576));
  LoopbackHttpServer::Faults faults;
  faults.stallAfterBytes = 50000;
  server_.SetFaults("/p", faults);
  auto engine = MakeEngine(server_.Url("/p"));
  engine->Start();
  ASSERT_TRUE(server_.WaitForStall(std::chrono::seconds(30)));
  auto destroyed = std::async(std::launch::async, [&engine] { engine.reset(); });
  ASSERT_EQ(destroyed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START}));
}

}  // namespace
