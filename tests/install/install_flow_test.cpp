// The window-free install flow with the real orchestrator, server and demo
// programs: the checks before an attempt, the override switch, the records
// written after success (and not after a failure), the reports, and the
// installation record's folder rules.
#include <gtest/gtest.h>

#include <fstream>
#include <mutex>

#include "analytics/installer_reports.h"
#include "app/install_flow.h"
#include "app/installation_record.h"
#include "install/download_installer.h"
#include "install/install_codes.h"
#include "platform/child_process.h"
#include "platform/private_profile.h"
#include "platform/registry_store.h"
#include "tests/install/install_sandbox.h"
#include "tests/install/package_server.h"

namespace {

std::wstring RegistryValue(const wchar_t* name) {
  return Platform::ReadUserRegistryString(InstallationRecord::kRegistryKey, name).value_or(L"<none>");
}

class InstallFlowTest : public InstallSandbox {
 protected:
  InstallFlowTest() {
    SetReportObserver([this](const ReportCall& call) {
      std::lock_guard<std::mutex> lock(reportsMutex_);
      reports_.push_back(call);
    });
  }
  ~InstallFlowTest() override { SetReportObserver(nullptr); }

  // Prepares and runs one attempt through the flow, feeding it every code
  // in order on this thread (as the window and the silent mode do).
  InstallFlow::Outcome Attempt(InstallationRecord& record, const std::wstring& folder, StageRecorder& recorder) {
    Settings().DownloadUrl = server_.Url();
    CDownloadInstaller orchestrator(recorder.Callback(), L"", L"", L"", true, true, true);
    InstallFlow flow(record, orchestrator);
    flow.SetFreeSpaceProbe(PlentyOfSpace);
    EXPECT_EQ(flow.Prepare(folder, true, true), InstallFlow::Refusal::None);
    flow.Begin();
    EXPECT_TRUE(recorder.WaitForAny({DL_CODE_FAIL, IST_CODE_SUCCESS, IST_CODE_FAIL, UNIST_CODE_FAIL, UNIST_CODE_ERROR},
                                    std::chrono::seconds(60)));
    InstallFlow::Outcome outcome = InstallFlow::Outcome::Running;
    for (const RecordedStage& e : recorder.Events())
      if (outcome == InstallFlow::Outcome::Running) outcome = flow.OnStageEvent(e.code, e.value, e.text);
    return outcome;
  }
  static bool PlentyOfSpace(const std::wstring&, uint64_t& bytes) {
    bytes = 100ull << 30;
    return true;
  }
  std::vector<std::wstring> ReportNames() {
    std::lock_guard<std::mutex> lock(reportsMutex_);
    std::vector<std::wstring> names;
    for (const ReportCall& r : reports_) names.push_back(r.name);
    return names;
  }
  // The reason of the first report `name` whose reason starts with `start`.
  std::wstring ReasonOf(const std::wstring& name, const std::wstring& start = L"") {
    std::lock_guard<std::mutex> lock(reportsMutex_);
    for (const ReportCall& r : reports_)
      if (r.name == name && r.reason.rfind(start, 0) == 0) return r.reason;
    return L"<none>";
  }
  std::wstring Folder() const { return Wide(Root() / "Programs/Velmora"); }

  DemoPackageServer server_;
  std::mutex reportsMutex_;
  std::vector<ReportCall> reports_;
};

TEST_F(InstallFlowTest, SuccessWritesTheRecordsAndSendsTheReports) {
  InstallationRecord record;
  StageRecorder recorder;
  ASSERT_EQ(Attempt(record, Folder(), recorder), InstallFlow::Outcome::Succeeded);

  EXPECT_EQ(RegistryValue(L"InstallPath"), Folder());
  EXPECT_EQ(RegistryValue(L"UnInstallEp"), Folder() + L"/uninst.ep");
  const std::wstring setIni = Folder() + L"/set.ini";
  EXPECT_EQ(Platform::GetProfileString(L"Install", L"AppName", L"", setIni), L"Velmora");
  EXPECT_EQ(Platform::GetProfileString(L"Install", L"DeviceID", L"", setIni).size(), 32u);
  EXPECT_FALSE(Platform::GetProfileString(L"Install", L"APPStore", L"", setIni).empty());
  const std::wstring analyticsIni = Wide(Root() / "home/.local/share/PelkoData/Velmora/DODevuzorOduvarida.ini");
  EXPECT_EQ(Platform::GetProfileString(L"Install", L"DODevuzorOduvaridaIni", L"", setIni), analyticsIni);
  EXPECT_EQ(Platform::GetProfileString(L"Init", L"UpdateTime", L"", analyticsIni).size(), 19u);

  const std::vector<std::wstring> expected{L"安装中", L"下载器启动", L"开始下载大包", L"大包下载完毕", L"安装成功"};
  EXPECT_EQ(ReportNames(), expected);
}

TEST_F(InstallFlowTest, InstallFailureWritesNoRecordAndReportsTheReason) {
  Settings().InstCmd = L"-demoscript=" + Wide(Script("fail.script", "say Error=disk full\n"));
  InstallationRecord record;
  StageRecorder recorder;
  EXPECT_EQ(Attempt(record, Folder(), recorder), InstallFlow::Outcome::InstallFailed);
  EXPECT_EQ(RegistryValue(L"InstallPath"), L"<none>");
  EXPECT_EQ(ReasonOf(L"安装失败原因"), L":1.code=1000；2.msg=disk full");
  EXPECT_EQ(ReasonOf(L"安装成功"), L"<none>");
}

TEST_F(InstallFlowTest, StateFailIsAnInstallFailureToo) {
  Settings().InstCmd = L"-demoscript=" + Wide(Script("fail.script", "say Progress=0.3\nsay State=Fail\n"));
  InstallationRecord record;
  StageRecorder recorder;
  EXPECT_EQ(Attempt(record, Folder(), recorder), InstallFlow::Outcome::InstallFailed);
  EXPECT_EQ(ReasonOf(L"安装失败原因"), L":1.code=0；2.msg=安装包安装失败");
  EXPECT_EQ(RegistryValue(L"InstallPath"), L"<none>");
}

TEST_F(InstallFlowTest, DownloadFailureReportsTheLongReason) {
  InstallationRecord record;
  StageRecorder recorder;
  Settings().DownloadUrl = server_.MissingUrl();
  CDownloadInstaller orchestrator(recorder.Callback(), L"", L"", L"", true, true, true);
  DownloadTiming quick;
  quick.singleRetryMs = 10;
  orchestrator.SetDownloadTiming(quick);
  InstallFlow flow(record, orchestrator);
  flow.SetFreeSpaceProbe(PlentyOfSpace);
  ASSERT_EQ(flow.Prepare(Folder(), true, true), InstallFlow::Refusal::None);
  flow.Begin();
  ASSERT_TRUE(recorder.WaitForAny({DL_CODE_FAIL}, std::chrono::seconds(60)));
  const RecordedStage failure = recorder.First(DL_CODE_FAIL);
  EXPECT_EQ(flow.OnStageEvent(failure.code, failure.value, failure.text), InstallFlow::Outcome::DownloadFailed);
  // (The engine's own length lookup reports under the same name with another text.)
  const std::wstring reason = ReasonOf(L"下载失败原因", L"1.code=");
  EXPECT_NE(reason.find(L"4.缓存读写权限=可读；5.服务器连接状态code="), std::wstring::npos);
  EXPECT_EQ(RegistryValue(L"InstallPath"), L"<none>");
}

TEST_F(InstallFlowTest, IsOverrideFalseKeepsTheOldVersionExactly) {
  const std::pair<std::wstring, bool> cases[] = {{L"false", false}, {L"False", true}, {L"", true}};
  for (const auto& [value, uninstallRuns] : cases) {
    InstallationRecord first;
    StageRecorder install;
    ASSERT_EQ(Attempt(first, Folder(), install), InstallFlow::Outcome::Succeeded);
    if (!value.empty()) Platform::WriteProfileString(L"Uninstall", L"IsOverride", value, Folder() + L"/set.ini");

    InstallationRecord record;
    record.ReadInstallRecord();
    ASSERT_TRUE(record.existingInstallation);
    StageRecorder update;
    EXPECT_EQ(Attempt(record, Folder(), update), InstallFlow::Outcome::Succeeded);
    EXPECT_EQ(update.Has(UNIST_CODE_PROGRESS), uninstallRuns) << std::string(value.begin(), value.end());
  }
}

TEST_F(InstallFlowTest, StartChecksRefuseUnusableFolders) {
  InstallationRecord record;
  CDownloadInstaller orchestrator(nullptr, L"", L"", L"", true, true, true);
  InstallFlow flow(record, orchestrator);
  flow.SetFreeSpaceProbe(PlentyOfSpace);
  root_.Write("plain-file", "x");
  struct Case {
    std::wstring folder;
    InstallFlow::Refusal refusal;
  };
  const Case cases[] = {
      {Wide(Root()) + L"/" + std::wstring(260, L'v'), InstallFlow::Refusal::InvalidPath},
      {Wide(Root()) + L"/say \"hi\"", InstallFlow::Refusal::InvalidPath},
      {Wide(Root() / "plain-file/Velmora"), InstallFlow::Refusal::InvalidPath},
      {L"", InstallFlow::Refusal::InvalidPath},
      {Wide(Root() / "fine/Velmora"), InstallFlow::Refusal::None},
  };
  for (const Case& c : cases)
    EXPECT_EQ(flow.Prepare(c.folder, true, true), c.refusal) << std::string(c.folder.begin(), c.folder.end());
  EXPECT_FALSE(std::filesystem::exists(Root() / "say \"hi\""));

  flow.SetFreeSpaceProbe([](const std::wstring&, uint64_t& bytes) {
    bytes = (1ull << 30) - 1;
    return true;
  });
  EXPECT_EQ(flow.Prepare(Wide(Root() / "fine/Velmora"), true, true), InstallFlow::Refusal::LowDiskSpace);
}

TEST_F(InstallFlowTest, RunningProductRefusesTheStartUnlessInsnew) {
  std::filesystem::create_directories(Root() / "run");
  std::filesystem::copy_file(DemoPackagePath(), Root() / "run/Velmora.exe");
  const std::filesystem::path release = Root() / "release-product";
  Platform::ChildProcess product;
  ASSERT_TRUE(product.Start(L"\"" + Wide(Root() / "run/Velmora.exe") + L"\" --run-until=" + Wide(release)));

  InstallationRecord record;
  CDownloadInstaller orchestrator(nullptr, L"", L"", L"", true, true, true);
  InstallFlow flow(record, orchestrator);
  flow.SetFreeSpaceProbe(PlentyOfSpace);
  EXPECT_EQ(flow.Prepare(Folder(), true, true), InstallFlow::Refusal::ProductRunning);
  Settings().installNewOverRunning = true;
  EXPECT_EQ(flow.Prepare(Folder(), true, true), InstallFlow::Refusal::None);
  std::ofstream(release) << "go";
  product.WaitForExit();
}

TEST_F(InstallFlowTest, RecordGivesTheFoldersToInstallInto) {
  InstallationRecord record;
  record.ReadInstallRecord();
  EXPECT_FALSE(record.existingInstallation);
  const std::wstring fallback = record.GetDefaultInstallPath();
  const std::wstring appData = Wide(Root() / "home/.local/share");
  EXPECT_EQ(fallback.rfind(appData, 0), 0u) << "the default must be a folder this user can create";
  EXPECT_EQ(fallback.substr(fallback.size() - 8), L"/Velmora");

  struct Case {
    std::wstring typed, expected;
  };
  const Case custom[] = {
      {fallback + L"/", fallback},
      {fallback + L"/./", fallback},
      {L"/apps", L"/apps/Velmora"},
      {L"/apps/", L"/apps/Velmora"},
      {L"\\apps\\x", L"/apps/x/Velmora"},
  };
  for (const Case& c : custom) EXPECT_EQ(record.GetCustomInstallPath(c.typed), c.expected);

  // A record with only "InstallPath": the uninstaller is looked for in that folder.
  Platform::WriteUserRegistryString(InstallationRecord::kRegistryKey, L"InstallPath", Folder());
  std::filesystem::create_directories(Root() / "Programs/Velmora");
  record.ReadInstallRecord();
  EXPECT_TRUE(record.existingInstallation);
  EXPECT_EQ(record.oldUninstaller, Folder() + L"/uninst.ep");
  EXPECT_EQ(record.GetDefaultInstallPath(), fallback);  // its uninstaller is gone
  root_.Write("Programs/Velmora/uninst.ep", "x");
  EXPECT_EQ(record.GetDefaultInstallPath(), Folder());
}

}  // namespace
