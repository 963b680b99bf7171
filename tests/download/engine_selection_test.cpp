#include <gtest/gtest.h>

#include "download/curl_downloader.h"
#include "download/downloader.h"
#include "download/mt_curl_downloader.h"
#include "download/win_downloader.h"

namespace {

TEST(EngineSelectionTest, DownloadTypeTwoAndThreeAreSpecialEverythingElseIsSingleConnection) {
  const struct {
    int type;
    DownloadEngineKind kind;
  } cases[] = {{0, DownloadEngineKind::Curl},      {1, DownloadEngineKind::Curl},
               {4, DownloadEngineKind::Curl},      {-1, DownloadEngineKind::Curl},
               {2, DownloadEngineKind::WinUrl},    {3, DownloadEngineKind::MultiCurl}};
  for (const auto& c : cases) EXPECT_EQ(SelectDownloadEngine(c.type), c.kind) << c.type;
}

TEST(EngineSelectionTest, CreateDownloaderBuildsTheSelectedEngineWithoutStartingIt) {
  int calls = 0;
  StageCallback count = [&calls](int32_t, double, const wchar_t*) { ++calls; };
  const std::wstring path = L"/nonexistent-velmora-dir/package.exe";
  auto curl = CreateDownloader(1, count, L"http://127.0.0.1:1/p", path);
  auto win = CreateDownloader(2, count, L"http://127.0.0.1:1/p", path);
  auto mt = CreateDownloader(3, count, L"http://127.0.0.1:1/p", path);
  EXPECT_NE(dynamic_cast<CCurlDownloader*>(curl.get()), nullptr);
  EXPECT_NE(dynamic_cast<CWinDownloader*>(win.get()), nullptr);
  EXPECT_NE(dynamic_cast<CMTCurlDownloader*>(mt.get()), nullptr);
  curl.reset();
  win.reset();  // its suspended worker is cancelled, not run
  mt.reset();
  EXPECT_EQ(calls, 0);
}

TEST(ServiceAddressTest, EncodesEverythingButFileUrls) {
  EXPECT_EQ(CWinDownloader::ServiceAddress(L"file:///C:/a b/ü.exe"), L"file:///C:/a b/ü.exe");
  EXPECT_EQ(CWinDownloader::ServiceAddress(L"https://h/a b"), L"https://h/a+b");
  EXPECT_EQ(CWinDownloader::ServiceAddress(L"https://h/ü"), L"https://h/%C3%BC");
}

TEST(BindCallbackTest, NoProgressWithoutMaximumAndAbortOnceDestroying) {
  std::vector<double> values;
  CWinDownloader::CBindCallback bind;
  bind.SetCallback([&values](int32_t code, double value, const wchar_t*) {
    if (code == DL_CODE_PROGRESS) values.push_back(value);
  });
  EXPECT_EQ(bind.OnProgress(5, 0, 1, L""), Platform::kUrlOk);
  EXPECT_EQ(bind.OnProgress(1, 4, 5, L""), Platform::kUrlOk);
  bind.Abort();
  EXPECT_EQ(bind.OnProgress(2, 4, 5, L""), Platform::kUrlAborted);
  EXPECT_EQ(values, std::vector<double>{0.25});
}

}  // namespace
