// CCurlDownloader against the loopback server: code sequences, transfer
// budgets, resume after a dropped connection, the MD5 step and restarts,
// destruction during a transfer.
#include "download/curl_downloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <future>

#include "tests/download/engine_fixture.h"
#include "tests/support/log_capture.h"
#include "utils/text.h"

namespace {

class CurlDownloaderTest : public EngineFixture<CCurlDownloader> {};

TEST_F(CurlDownloaderTest, MatchingDigestSucceedsWithoutNotice) {
  const std::string body = PatternBody(3 * kMiB);
  Publish(body, Md5Hex(body));
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_SUCCESS}));
  EXPECT_EQ(recorder_.Events().front().value, 1.0);
  EXPECT_EQ(recorder_.LastVerdict().text, L"LibCurl");
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
  for (const auto& e : recorder_.Events())
    if (e.code == DL_CODE_PROGRESS) {
      EXPECT_TRUE(e.value > 0.0 && e.value <= 1.0) << e.value;
    }
}

TEST_F(CurlDownloaderTest, SegmentThatIsNoDigestGivesANoticeAndStillSucceeds) {
  const std::string body = PatternBody(kMiB + 3);
  Publish(body, "notadigest");
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_NOTICE, DL_CODE_SUCCESS}));
  EXPECT_EQ(NoticeText(recorder_), L"curl获取url-md5失败");
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
}

// The digest in the URL is compared exactly: upper case never matches.
TEST_F(CurlDownloaderTest, MismatchAsksForOneRestartThenFailsForGood) {
  const std::string body = PatternBody(kMiB + 5);
  std::string upper = Md5Hex(body);
  for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Publish(body, upper);
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_NOTICE, DL_CODE_RETRY, DL_CODE_START,
                                                     DL_CODE_NOTICE, DL_CODE_FAIL}));
  EXPECT_EQ(NoticeText(recorder_), L"curl文件md5校验失败");
  EXPECT_EQ(recorder_.LastVerdict().value, 0.0);
  // The restarted attempt downloaded afresh and needed no second lookup.
  EXPECT_EQ(server_.CountRequests("GET", "/pkg/" + upper + "/pkg.exe"), 2);
  EXPECT_EQ(server_.BodyBytesSent("/pkg/" + upper + "/pkg.exe"), static_cast<int64_t>(2 * body.size()));
}

TEST_F(CurlDownloaderTest, DroppedConnectionsAreResumedAndFetchAboutTheFileOnce) {
  const std::string body = PatternBody(4 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.closeAfterBytes = 700000;
  faults.faultyGets = 3;
  server_.SetFaults(real, faults);
  LogCapture logs;
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.LastVerdict().code, DL_CODE_SUCCESS);
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
  EXPECT_EQ(server_.CountRequests("GET", real), 4);
  EXPECT_EQ(server_.BodyBytesSent(real), static_cast<int64_t>(body.size()));
  EXPECT_TRUE(logs.Contains(L"CurlDownLoader Code=18"));
}

// A body shorter than announced ends in libcurl's partial-file error and
// is completed by the next transfer.
TEST_F(CurlDownloaderTest, WrongContentLengthIsRecoveredByResuming) {
  const std::string body = PatternBody(2 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.contentLengthDelta = 4096;
  faults.faultyGets = 1;
  server_.SetFaults(real, faults);
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.LastVerdict().code, DL_CODE_SUCCESS);
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
}

struct BudgetCase {
  const char* name;
  LoopbackHttpServer::Faults faults;
  int transfers;
  int32_t code;
};

// 6 transfers when they fail in other ways, 12 when only with error 18.
TEST_F(CurlDownloaderTest, TransferBudgetEndsIn1004WithTheLastResult) {
  LoopbackHttpServer::Faults serverError;
  serverError.getStatus = 500;
  LoopbackHttpServer::Faults dropAtOnce;
  dropAtOnce.closeAfterBytes = 0;
  const BudgetCase cases[] = {{"http 500", serverError, 6, CURLE_HTTP_RETURNED_ERROR},
                              {"partial file", dropAtOnce, 12, CURLE_PARTIAL_FILE}};
  for (const auto& c : cases) {
    LoopbackHttpServer server;
    CodeRecorder recorder;
    const std::string body = PatternBody(kMiB + 1);
    server.AddFile("/p", body);
    server.SetFaults("/p", c.faults);
    LogCapture logs;
    {
      CCurlDownloader engine(recorder.Callback(), Utils::ToWide(server.Url("/p"), 65001),
                             folder_.WidePath(std::string(c.name) + ".exe"), FastTiming());
      engine.Start();
      ASSERT_TRUE(recorder.WaitForVerdicts(1)) << c.name;
    }
    EXPECT_EQ(server.CountRequests("GET", "/p"), c.transfers) << c.name;
    EXPECT_EQ(recorder.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_FAIL})) << c.name;
    EXPECT_EQ(recorder.LastVerdict().value, c.code) << c.name;
    int retryLines = 0;
    for (const auto& r : logs.Records()) retryLines += r.find(L"CCurlDownloader::dlThreadFun") != std::wstring::npos;
    EXPECT_EQ(retryLines, c.transfers - 1) << c.name;
  }
}

TEST_F(CurlDownloaderTest, PackageBelowOneMebibyteFailsWithTheLengthCode) {
  Publish(PatternBody(kMiB - 1), "x");
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.LastVerdict().code, DL_CODE_FAIL);
  EXPECT_EQ(recorder_.LastVerdict().value, CurlClient::kLengthUnknown);
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe.part")));
}

TEST_F(CurlDownloaderTest, UnrenamableFinishedPartFailsInsteadOfSucceeding) {
  const std::string body = PatternBody(kMiB + 7);
  Publish(body, Md5Hex(body));
  std::filesystem::create_directories(folder_.Path("pkg.exe/occupied"));
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_FAIL}));
  EXPECT_EQ(recorder_.LastVerdict().value, CurlClient::kRenameFailed);
}

TEST_F(CurlDownloaderTest, DestructionDuringAStalledTransferAbortsAndJoinsPromptly) {
  const std::string body = PatternBody(2 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.stallAfterBytes = 100000;
  server_.SetFaults(real, faults);
  DownloadTiming timing = FastTiming();
  timing.singleRetryMs = 60000;  // an abort must also cut the pause short
  MakeEngine(timing);
  engine_->Start();
  ASSERT_TRUE(server_.WaitForStall(std::chrono::seconds(30)));
  auto destroyed = std::async(std::launch::async, [this] { engine_.reset(); });
  ASSERT_EQ(destroyed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START}));
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe.part")));
}

}  // namespace
