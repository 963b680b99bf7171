// CMTCurlDownloader against the loopback server: the ranges it asks for,
// part resume within and across attempts, the MD5 step, the restart budget,
// answers that do not fit the range, destruction during a transfer.
#include "download/mt_curl_downloader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <set>

#include "tests/download/engine_fixture.h"
#include "tests/support/log_capture.h"
#include "utils/text.h"

namespace {

class MtCurlDownloaderTest : public EngineFixture<CMTCurlDownloader> {
 protected:
  std::set<std::string> Ranges(const std::string& path) const {
    std::set<std::string> ranges;
    for (const auto& r : server_.Requests())
      if (r.method == "GET" && r.path == path) ranges.insert(r.range);
    return ranges;
  }
  bool NoPartFiles() const { return !FileThere(folder_.Path("pkg.exe_0")) && !FileThere(folder_.Path("pkg.exe_1")); }
};

TEST_F(MtCurlDownloaderTest, TwoRangesAreFetchedJoinedAndVerified) {
  const std::string body = PatternBody(20971520);
  const std::string real = Publish(body, Md5Hex(body));
  LogCapture logs;
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_SUCCESS}));
  EXPECT_EQ(Ranges(real), (std::set<std::string>{"bytes=0-10485759", "bytes=10485760-20971519"}));
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
  EXPECT_TRUE(NoPartFiles());
  EXPECT_TRUE(logs.Contains(L"Download File Length 20971520"));
  EXPECT_TRUE(logs.Contains(L"finish recv"));
  double last = 0.0;
  for (const auto& e : recorder_.Events())
    if (e.code == DL_CODE_PROGRESS) {
      EXPECT_GE(e.value - last, 0.01);
      last = e.value;
    }
}

TEST_F(MtCurlDownloaderTest, LengthFloorIs256Bytes) {
  for (size_t size : {size_t{255}, size_t{256}}) {
    LoopbackHttpServer server;
    CodeRecorder recorder;
    const std::string body = PatternBody(size);
    server.AddFile("/pkg/x/a.exe", body);
    const std::string name = "floor" + std::to_string(size);
    {
      CMTCurlDownloader engine(recorder.Callback(), Utils::ToWide(server.Url("/pkg/x/a.exe"), 65001),
                               folder_.WidePath(name), FastTiming());
      engine.Start();
      ASSERT_TRUE(recorder.WaitForVerdicts(1));
    }
    if (size == 255) {
      EXPECT_EQ(recorder.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_FAIL}));
      EXPECT_EQ(recorder.LastVerdict().value, 0.0);
      EXPECT_EQ(server.CountRequests("GET", "/pkg/x/a.exe"), 0);
    } else {
      EXPECT_EQ(recorder.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_NOTICE, DL_CODE_SUCCESS}));
      EXPECT_EQ(NoticeText(recorder), L"mtcurl获取url-md5失败");
      EXPECT_EQ(Md5Hex(ReadFileBytes(folder_.Path(name))), Md5Hex(body));
    }
  }
}

TEST_F(MtCurlDownloaderTest, DroppedPartIsResumedWithinTheAttempt) {
  const std::string body = PatternBody(24 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.closeAfterBytes = 1000000;
  faults.faultyGets = 3;
  server_.SetFaults(real, faults);
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(1));
  EXPECT_EQ(recorder_.LastVerdict().code, DL_CODE_SUCCESS);
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
  EXPECT_EQ(server_.BodyBytesSent(real), static_cast<int64_t>(body.size()));
  EXPECT_EQ(Ranges(real).count("bytes=1000000-12582911"), 1u);
}

// A first attempt that made progress keeps its part file; the restart resumes it.
TEST_F(MtCurlDownloaderTest, FailedAttemptWithProgressIsResumedAfterTheRestart) {
  const std::string body = PatternBody(2 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.closeAfterBytes = 100000;
  faults.faultyGets = 13;  // every attempt of the first round fails with 18
  server_.SetFaults(real, faults);
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(recorder_.CodesWithoutProgress(),
            (Codes{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_SUCCESS}));
  EXPECT_EQ(recorder_.Events().size() > 4, true);  // progress was reported
  EXPECT_EQ(server_.CountRequests("GET", real), 14);
  EXPECT_EQ(Md5Hex(Package()), Md5Hex(body));
  EXPECT_EQ(server_.BodyBytesSent(real), static_cast<int64_t>(body.size()));
}

struct BudgetCase {
  const char* name;
  LoopbackHttpServer::Faults faults;
  int attemptsPerRound;
  int32_t code;
};

// 7 attempts per part (13 when they only fail with 18); no progress, so the
// restart starts from scratch; the second failure is final.
TEST_F(MtCurlDownloaderTest, PartBudgetThenOneRestartThenFinalFailure) {
  LoopbackHttpServer::Faults serverError;
  serverError.getStatus = 500;
  LoopbackHttpServer::Faults dropAtOnce;
  dropAtOnce.closeAfterBytes = 0;
  const BudgetCase cases[] = {{"http 500", serverError, 7, CURLE_HTTP_RETURNED_ERROR},
                              {"partial file", dropAtOnce, 13, CURLE_PARTIAL_FILE}};
  for (const auto& c : cases) {
    LoopbackHttpServer server;
    CodeRecorder recorder;
    server.AddFile("/p", PatternBody(kMiB));
    server.SetFaults("/p", c.faults);
    std::unique_ptr<CMTCurlDownloader> engine;
    engine = std::make_unique<CMTCurlDownloader>(recorder.Callback([&engine](const StageEvent& e) {
                                                   if (e.code == DL_CODE_RETRY) engine->Start();
                                                 }),
                                                 Utils::ToWide(server.Url("/p"), 65001),
                                                 folder_.WidePath(c.name), FastTiming());
    engine->Start();
    ASSERT_TRUE(recorder.WaitForVerdicts(2)) << c.name;
    engine.reset();
    EXPECT_EQ(recorder.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}))
        << c.name;
    EXPECT_EQ(recorder.LastVerdict().value, c.code) << c.name;
    EXPECT_EQ(server.CountRequests("GET", "/p"), 2 * c.attemptsPerRound) << c.name;
    EXPECT_EQ(server.CountRequests("HEAD", "/p"), 1) << c.name;
  }
}

TEST_F(MtCurlDownloaderTest, TwoDigestMismatchesEndInFailure) {
  const std::string body = PatternBody(kMiB);
  Publish(body, std::string(32, 'a'));
  LogCapture logs;
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_NOTICE, DL_CODE_RETRY, DL_CODE_START,
                                                     DL_CODE_NOTICE, DL_CODE_FAIL}));
  EXPECT_EQ(NoticeText(recorder_), L"mtcurl文件md5校验失败");
  EXPECT_TRUE(logs.Contains(L"finish recv, md5 chaek failed retry once."));
  EXPECT_TRUE(logs.Contains(L"finish recv, md5 chaek failed and retry failed."));
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe")));
  EXPECT_TRUE(NoPartFiles());
}

// Answers that do not match the asked range: a surplus is cut off and the
// part completes; a short answer is completed by a retry; a server that
// ignores the range cannot fill the second part at all.
TEST_F(MtCurlDownloaderTest, AnswersThatDoNotFitTheRange) {
  const std::string body = PatternBody(20971520 + 77);
  LoopbackHttpServer::Faults surplus;
  surplus.extraBytes = 5000;
  surplus.faultyGets = 2;
  LoopbackHttpServer::Faults shortAnswer;
  shortAnswer.contentLengthDelta = -300000;
  shortAnswer.faultyGets = 2;
  LoopbackHttpServer::Faults noRanges;
  noRanges.ignoreRange = true;
  const struct {
    const char* name;
    LoopbackHttpServer::Faults faults;
    bool intact;
  } cases[] = {{"surplus", surplus, true}, {"short", shortAnswer, true}, {"no ranges", noRanges, false}};
  for (const auto& c : cases) {
    LoopbackHttpServer server;
    CodeRecorder recorder;
    const std::string real = "/pkg/" + Md5Hex(body) + "/a.exe";
    server.AddFile(real, body);
    server.SetFaults(real, c.faults);
    {
      CMTCurlDownloader engine(recorder.Callback(), Utils::ToWide(server.Url(real), 65001), folder_.WidePath(c.name),
                               FastTiming());
      engine.Start();
      ASSERT_TRUE(recorder.WaitForVerdicts(1)) << c.name;
    }
    if (c.intact) {
      EXPECT_EQ(recorder.LastVerdict().code, DL_CODE_SUCCESS) << c.name;
      EXPECT_EQ(Md5Hex(ReadFileBytes(folder_.Path(c.name))), Md5Hex(body)) << c.name;
    } else {
      EXPECT_EQ(recorder.LastVerdict().code, DL_CODE_RETRY) << c.name;
      EXPECT_EQ(recorder.LastVerdict().value, CURLE_WRITE_ERROR) << c.name;
      EXPECT_FALSE(FileThere(folder_.Path(c.name))) << c.name;
    }
  }
}

// A length past 2 GiB is split with 64-bit offsets (checked on the wire
// without downloading gigabytes: the body itself is small).
TEST_F(MtCurlDownloaderTest, FiveGibibytePackageIsAskedForWith64BitRanges) {
  const std::string real = Publish(PatternBody(4096), "x");
  LoopbackHttpServer::Faults faults;
  faults.headContentLength = 5LL * 1024 * 1024 * 1024;
  server_.SetFaults(real, faults);
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(Ranges(real), (std::set<std::string>{"bytes=0-2684354559", "bytes=2684354560-5368709119",
                                                 "bytes=4096-2684354559"}));
  EXPECT_EQ(recorder_.LastVerdict().code, DL_CODE_FAIL);
}

TEST_F(MtCurlDownloaderTest, UnrenamableJoinedFileFailsInsteadOfSucceeding) {
  const std::string body = PatternBody(kMiB);
  Publish(body, Md5Hex(body));
  std::filesystem::create_directories(folder_.Path("pkg.exe/occupied"));
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}));
  EXPECT_EQ(recorder_.LastVerdict().value, CMTCurlDownloader::kJoinRenameFailed);
  EXPECT_TRUE(NoPartFiles());
}

TEST_F(MtCurlDownloaderTest, PartFileThatCannotBeOpenedFailsTheAttemptWithMinusTwo) {
  const std::string body = PatternBody(kMiB);
  Publish(body, Md5Hex(body));
  std::filesystem::create_directories(folder_.Path("pkg.exe_0/occupied"));
  MakeEngine();
  engine_->Start();
  ASSERT_TRUE(recorder_.WaitForVerdicts(2));
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START, DL_CODE_RETRY, DL_CODE_START, DL_CODE_FAIL}));
  EXPECT_EQ(recorder_.LastVerdict().value, CMTCurlDownloader::kPartUnopened);
  EXPECT_EQ(server_.CountRequests("GET", "/pkg/" + Md5Hex(body) + "/pkg.exe"), 0);
}

TEST_F(MtCurlDownloaderTest, DestructionDuringAStalledTransferJoinsEveryThreadPromptly) {
  const std::string body = PatternBody(24 * kMiB);
  const std::string real = Publish(body, Md5Hex(body));
  LoopbackHttpServer::Faults faults;
  faults.stallAfterBytes = 100000;
  server_.SetFaults(real, faults);
  DownloadTiming timing = FastTiming();
  timing.waiterPollMs = 60000;  // the abort must cut the waiter's poll short
  MakeEngine(timing);
  engine_->Start();
  ASSERT_TRUE(server_.WaitForStall(std::chrono::seconds(30)));
  auto destroyed = std::async(std::launch::async, [this] { engine_.reset(); });
  ASSERT_EQ(destroyed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(recorder_.CodesWithoutProgress(), (Codes{DL_CODE_START}));
}

}  // namespace
