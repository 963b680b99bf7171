// CurlClient against the loopback server: lookups, the 1 MiB floor, resume
// of ".part", the analytics event of a failed length lookup, the rename.
#include "download/curl_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>

#include "analytics/installer_reports.h"
#include "tests/download/download_test_support.h"
#include "tests/support/log_capture.h"
#include "tests/support/loopback_http_server.h"
#include "utils/text.h"

namespace {

constexpr size_t kMiB = 1048576;

class CurlClientTest : public ::testing::Test {
 protected:
  CurlClient MakeClient(const std::string& path) {
    return CurlClient(Utils::ToWide(server_.Url(path), 65001), folder_.WidePath("pkg.exe"), nullptr, nullptr,
                      &AdvancingSeconds);
  }
  LoopbackHttpServer server_;
  TempFolder folder_;
};

TEST_F(CurlClientTest, RedirectedUrlIsLookedUpOnceAndTheFileReplacesAnOldTarget) {
  const std::string body = PatternBody(kMiB + 10);
  server_.AddFile("/pkg/" + Md5Hex(body) + "/pkg.exe", body);
  server_.AddRedirect("/software/458", "/pkg/" + Md5Hex(body) + "/pkg.exe");
  std::ofstream(folder_.Path("pkg.exe")) << "old";
  LogCapture logs;

  CurlClient client = MakeClient("/software/458");
  ASSERT_EQ(client.Start(), 0);
  EXPECT_EQ(Md5Hex(ReadFileBytes(folder_.Path("pkg.exe"))), Md5Hex(body));
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe.part")));
  EXPECT_EQ(client.RealUrl(), server_.Url("/pkg/" + Md5Hex(body) + "/pkg.exe"));
  EXPECT_TRUE(logs.Contains(L"start download"));
  EXPECT_TRUE(logs.Contains(L"error:0:"));
  EXPECT_TRUE(logs.Contains(L"end download"));
  // No content encoding is asked for: the body is written to disk as received.
  for (const auto& r : server_.Requests()) EXPECT_EQ(r.headers.find("Accept-Encoding"), std::string::npos) << r.headers;

  const int headsBefore = server_.CountRequests("HEAD", "/software/458");
  ASSERT_EQ(client.Start(), 0);
  EXPECT_EQ(server_.CountRequests("HEAD", "/software/458"), headsBefore);
  EXPECT_EQ(server_.CountRequests("GET", "/software/458"), 0);  // transfers go to the real URL
}

TEST_F(CurlClientTest, LengthBelowOneMebibyteIsRefusedWithoutAPartFile) {
  server_.AddFile("/small", PatternBody(kMiB - 1));
  CurlClient client = MakeClient("/small");
  EXPECT_EQ(client.Start(), CurlClient::kLengthUnknown);
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe.part")));
  EXPECT_EQ(server_.CountRequests("GET", "/small"), 0);
}

TEST_F(CurlClientTest, APartFileIsResumedFromItsSize) {
  const std::string body = PatternBody(2 * kMiB);
  server_.AddFile("/p", body);
  std::ofstream(folder_.Path("pkg.exe.part"), std::ios::binary) << body.substr(0, 5000);
  CurlClient client = MakeClient("/p");
  ASSERT_EQ(client.Start(), 0);
  EXPECT_EQ(Md5Hex(ReadFileBytes(folder_.Path("pkg.exe"))), Md5Hex(body));
  bool resumed = false;
  for (const auto& r : server_.Requests()) resumed |= r.method == "GET" && r.range == "bytes=5000-";
  EXPECT_TRUE(resumed);
  EXPECT_EQ(server_.BodyBytesSent("/p"), static_cast<int64_t>(body.size() - 5000));
}

TEST_F(CurlClientTest, HeadAnswering404ReportsTheStatusAndLeavesTheLengthUnknown) {
  server_.AddFile("/gone", PatternBody(2 * kMiB));
  LoopbackHttpServer::Faults faults;
  faults.headStatus = 404;
  faults.headContentLength = 0;
  server_.SetFaults("/gone", faults);
  std::mutex mutex;
  std::vector<ReportCall> reports;
  SetReportObserver([&](const ReportCall& call) {
    std::lock_guard<std::mutex> lock(mutex);
    reports.push_back(call);
  });
  CurlClient client = MakeClient("/gone");
  EXPECT_EQ(client.Start(), CurlClient::kLengthUnknown);
  SetReportObserver(nullptr);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports[0].name, L"下载失败原因");
  EXPECT_EQ(reports[0].reason, L"1.获取文件大小的状态码为=404；");
  EXPECT_EQ(reports[0].properties.at(L"AB"), L"IN");
}

// A finished transfer whose ".part" cannot become the target is a failure,
// never a success without a package.
TEST_F(CurlClientTest, FailedRenameOfTheFinishedPartIsReportedAsItsOwnCode) {
  server_.AddFile("/p", PatternBody(kMiB + 1));
  std::filesystem::create_directories(folder_.Path("pkg.exe/occupied"));
  CurlClient client = MakeClient("/p");
  EXPECT_EQ(client.Start(), CurlClient::kRenameFailed);
  EXPECT_EQ(ReadFileBytes(folder_.Path("pkg.exe.part")).size(), kMiB + 1);
  // The complete ".part" is not asked for again; only the rename is retried.
  EXPECT_EQ(client.Start(), CurlClient::kRenameFailed);
  EXPECT_EQ(server_.CountRequests("GET", "/p"), 1);
  std::filesystem::remove_all(folder_.Path("pkg.exe"));
  EXPECT_EQ(client.Start(), 0);
  EXPECT_EQ(ReadFileBytes(folder_.Path("pkg.exe")).size(), kMiB + 1);
}

TEST_F(CurlClientTest, DestructorRemovesThePartFile) {
  server_.AddFile("/p", PatternBody(2 * kMiB));
  LoopbackHttpServer::Faults faults;
  faults.closeAfterBytes = 1000;
  server_.SetFaults("/p", faults);
  {
    CurlClient client = MakeClient("/p");
    EXPECT_EQ(client.Start(), CURLE_PARTIAL_FILE);
    EXPECT_TRUE(FileThere(folder_.Path("pkg.exe.part")));
  }
  EXPECT_FALSE(FileThere(folder_.Path("pkg.exe.part")));
}

}  // namespace
