// The orchestrator with the real download engine, the loopback server and
// the demo programs: the stage order of a fresh install and of an update,
// what an uninstall failure stops, the package file's life, and -insnew.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "install/download_installer.h"
#include "install/install_codes.h"
#include "platform/child_process.h"
#include "platform/process_info.h"
#include "tests/support/log_capture.h"
#include "tests/install/install_sandbox.h"
#include "tests/install/package_server.h"

namespace {

class DownloadInstallerTest : public InstallSandbox {
 protected:
  DownloadTiming QuickTiming() {
    DownloadTiming timing;
    timing.singleRetryMs = timing.partRetryMs = timing.partStaggerMs = timing.waiterPollMs = timing.winRetryMs = 10;
    return timing;
  }
  // One attempt to its terminal code; the orchestrator is gone afterwards,
  // so every worker has ended and every code is recorded.
  void RunAttempt(StageRecorder& recorder, const std::wstring& url, const std::wstring& oldUninstaller,
                  const std::wstring& folder) {
    CDownloadInstaller orchestrator(recorder.Callback(), L"", L"", L"", true, true, true);
    orchestrator.SetDownloadTiming(QuickTiming());
    orchestrator.SetParams(url, oldUninstaller, folder, true, true, true, true, L"");
    orchestrator.Start();
    ASSERT_TRUE(recorder.WaitForAny({DL_CODE_FAIL, IST_CODE_SUCCESS, IST_CODE_FAIL, UNIST_CODE_FAIL, UNIST_CODE_ERROR},
                                    std::chrono::seconds(60)));
  }
  std::wstring Folder() const { return Wide(Root() / "Programs/Velmora"); }

  DemoPackageServer server_;
};

TEST_F(DownloadInstallerTest, FreshInstallDownloadsThenRunsThePackageAndRemovesIt) {
  LogCapture log;
  StageRecorder recorder;
  RunAttempt(recorder, server_.Url(), L"", Folder());
  EXPECT_TRUE(log.Contains(L"(CDownloadInstaller::Start)<"));
  for (const wchar_t* line : {L": DL_TYPE=1\r\n", L": DOWNLOAD_SUCCESS\r\n", L": IST_CODE_START\r\n", L": INSTALL_SUCCESS\r\n"})
    EXPECT_TRUE(log.Contains(line)) << std::wstring(line).size();
  const std::vector<int32_t> codes = recorder.FoldedCodes();
  ASSERT_GE(codes.size(), 5u);
  EXPECT_EQ(codes.front(), DL_CODE_START);
  EXPECT_EQ(codes.back(), IST_CODE_SUCCESS);
  const auto at = [&codes](int32_t code) { return std::find(codes.begin(), codes.end(), code) - codes.begin(); };
  EXPECT_LT(at(DL_CODE_SUCCESS), at(IST_CODE_START));
  EXPECT_FALSE(recorder.Has(UNIST_CODE_PROGRESS));
  EXPECT_FALSE(std::filesystem::exists(CDownloadInstaller::PackagePathFor(Folder())));
  EXPECT_TRUE(std::filesystem::exists(Root() / "Programs/Velmora/Velmora.exe"));
}

TEST_F(DownloadInstallerTest, UpdateRunsACopyOfTheOldUninstallerFirst) {
  StageRecorder first;
  RunAttempt(first, server_.Url(), L"", Folder());
  ASSERT_TRUE(first.Has(IST_CODE_SUCCESS));

  StageRecorder update;
  RunAttempt(update, server_.Url(), Folder() + L"/uninst.ep", Folder());
  const std::vector<int32_t> codes = update.FoldedCodes();
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(std::vector<int32_t>(codes.begin(), codes.begin() + 3),
            (std::vector<int32_t>{UNIST_CODE_PROGRESS, UNIST_CODE_SUCCESS, DL_CODE_START}));
  EXPECT_EQ(codes.back(), IST_CODE_SUCCESS);
  EXPECT_TRUE(std::filesystem::exists(CDownloadInstaller::UninstallerCopyPath()));
  EXPECT_TRUE(std::filesystem::exists(Root() / "Programs/Velmora/Velmora.exe"));  // reinstalled
}

TEST_F(DownloadInstallerTest, UninstallFailureStopsTheRunEvenWhenSuccessFollows) {
  std::filesystem::create_directories(Root() / "Old");
  std::filesystem::copy_file(DemoUninstallerPath(), Root() / "Old/uninst.ep");
  EnvOverride script("VELMORA_DEMO_UNINSTALLER_SCRIPT",
                     Script("fail.script", "say Error=files locked\nsleep 100\nsay State=Success\n").c_str());
  StageRecorder recorder;
  RunAttempt(recorder, server_.Url(), Wide(Root() / "Old/uninst.ep"), Folder());
  EXPECT_EQ(recorder.Codes(), (std::vector<int32_t>{UNIST_CODE_PROGRESS, UNIST_CODE_ERROR, UNIST_CODE_SUCCESS}));
  EXPECT_EQ(recorder.First(UNIST_CODE_ERROR).text, L"files locked");
  EXPECT_EQ(server_.Server().Requests().size(), 0u);
}

TEST_F(DownloadInstallerTest, OldUninstallerThatDoesNotExistMeansNoUninstallStage) {
  StageRecorder recorder;
  RunAttempt(recorder, server_.Url(), Wide(Root() / "gone/uninst.ep"), Folder());
  EXPECT_EQ(recorder.Codes().front(), DL_CODE_START);
  EXPECT_TRUE(recorder.Has(IST_CODE_SUCCESS));
}

TEST_F(DownloadInstallerTest, DownloadFailureLeavesNoPackageFile) {
  StageRecorder recorder;
  RunAttempt(recorder, server_.MissingUrl(), L"", Folder());
  EXPECT_TRUE(recorder.Has(DL_CODE_FAIL));
  EXPECT_FALSE(recorder.Has(IST_CODE_START));
  EXPECT_FALSE(std::filesystem::exists(CDownloadInstaller::PackagePathFor(Folder())));
}

TEST_F(DownloadInstallerTest, InsnewWaitsForTheRunningProductBeforeUninstalling) {
  StageRecorder first;
  RunAttempt(first, server_.Url(), L"", Folder());
  ASSERT_TRUE(first.Has(IST_CODE_SUCCESS));

  // The installed product, running until the test lets it go.
  const std::filesystem::path release = Root() / "release-product";
  Platform::ChildProcess product;
  ASSERT_TRUE(product.Start(L"\"" + Folder() + L"/Velmora.exe\" --run-until=" + Wide(release)));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Platform::IsProcessRunning(L"Velmora.exe") && std::chrono::steady_clock::now() < deadline) {
  }
  ASSERT_TRUE(Platform::IsProcessRunning(L"Velmora.exe"));

  Settings().installNewOverRunning = true;
  StageRecorder update;
  std::atomic<bool> released{false};
  std::atomic<bool> codeBeforeRelease{false};
  StageCallback watch = [&](int32_t code, double value, const wchar_t* text) {
    if (!released) codeBeforeRelease = true;
    update.Callback()(code, value, text);
  };
  CDownloadInstaller orchestrator(watch, L"", L"", L"", true, true, true);
  orchestrator.SetParams(server_.Url(), Folder() + L"/uninst.ep", Folder(), true, true, true, true, L"");
  Utils::Thread starter(&orchestrator, L"starter", [](void* o) { static_cast<CDownloadInstaller*>(o)->Start(); });
  starter.Resume();
  EXPECT_FALSE(update.WaitForAny({UNIST_CODE_PROGRESS}, std::chrono::milliseconds(500)));
  released = true;
  std::ofstream(release) << "go";
  product.WaitForExit();
  ASSERT_TRUE(update.WaitForAny({IST_CODE_SUCCESS, IST_CODE_FAIL, DL_CODE_FAIL}, std::chrono::seconds(60)));
  starter.Join();
  EXPECT_FALSE(codeBeforeRelease);
  EXPECT_EQ(update.Codes().front(), UNIST_CODE_PROGRESS);
  EXPECT_TRUE(update.Has(IST_CODE_SUCCESS));
}

}  // namespace
