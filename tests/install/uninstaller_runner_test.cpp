// The old-version uninstaller runner against the real demo uninstaller:
// its command line, its reduced protocol, and whole runs.
#include <gtest/gtest.h>

#include <fstream>

#include "install/install_codes.h"
#include "install/uninstaller.h"
#include "tests/install/install_sandbox.h"

namespace {

class UninstallerRunnerTest : public InstallSandbox {
 protected:
  // Runs the demo uninstaller with `script` for the old folder to its end.
  void RunUninstaller(const std::string& script, const std::wstring& program = L"") { Run(recorder_, script, program); }
  void Run(StageRecorder& recorder, const std::string& script, const std::wstring& program = L"") {
    EnvOverride scriptVariable("VELMORA_DEMO_UNINSTALLER_SCRIPT",
                               script.empty() ? nullptr : Script("uninstall.script", script).c_str());
    CUninstaller runner(recorder.Callback(), program.empty() ? Wide(DemoUninstallerPath()) : program,
                        Wide(Root() / "old version"));
    runner.Start();
    ASSERT_TRUE(recorder.WaitForAny({UNIST_CODE_SUCCESS, UNIST_CODE_FAIL, UNIST_CODE_ERROR}));
  }  // the destructor waits for the worker, so later codes are in as well

  StageRecorder recorder_;
};

TEST_F(UninstallerRunnerTest, CommandLineLeavesPathsUnquotedWithTheFolderLast) {
  EXPECT_EQ(CUninstaller::BuildCommandLine(L"C:\\Tmp\\Velmora_un_asa.exe", L"C:\\Program Files\\Velmora", true, true),
            L"C:\\Tmp\\Velmora_un_asa.exe /S -adminact=true -authorizationact=true -console=show "
            L"_?=C:\\Program Files\\Velmora");
  EXPECT_EQ(CUninstaller::BuildCommandLine(L"/t/u", L"/o", false, false),
            L"/t/u /S -adminact=false -authorizationact=false -console=show _?=/o");
}

TEST_F(UninstallerRunnerTest, ParseReadsOnlyTheReducedTable) {
  StageRecorder recorder;
  CUninstaller runner(recorder.Callback(), L"u", L"f");
  EXPECT_EQ(runner.Parse(L"Progress=0.25\nInstPath=/x\nMessage=m\nState=Fail"), kVerdictFailure);
  EXPECT_EQ(runner.Parse(L"Error=locked\nState= Success "), kVerdictSuccess);
  const std::vector<RecordedStage> got = recorder.Events();
  ASSERT_EQ(got.size(), 4u);
  EXPECT_DOUBLE_EQ(got[0].value, 0.25);
  EXPECT_EQ(got[1].text, L"安装包卸载失败");
  EXPECT_EQ(got[2].code, UNIST_CODE_ERROR);
  EXPECT_EQ(got[2].text, L"locked");
  EXPECT_EQ(got[3].code, UNIST_CODE_SUCCESS);
}

TEST_F(UninstallerRunnerTest, RunsReportProgressAndOneVerdict) {
  struct Case {
    std::string script;
    std::vector<int32_t> codes;
    double successValue;
  };
  const Case cases[] = {
      {"exit 0\n", {5002, 5003}, 1.0},                                      // silent uninstaller
      {"say Progress=0.5\nsay State=Success\nsleep 200\n", {5002, 5002, 5003}, 0.0},
      {"say Error=files locked\nsleep 200\nsay State=Success\n", {5002, 5005, 5003}, 0.0},  // reads on to the end
  };
  for (const Case& c : cases) {
    StageRecorder recorder;
    Run(recorder, c.script);
    EXPECT_EQ(recorder.Codes(), c.codes) << c.script;
    EXPECT_DOUBLE_EQ(recorder.First(UNIST_CODE_SUCCESS).value, c.successValue) << c.script;
  }
}

TEST_F(UninstallerRunnerTest, MissingCopyFailsWithValueOne) {
  RunUninstaller("", Wide(Root() / "Velmora_un_asa.exe"));
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{5004}));
  EXPECT_DOUBLE_EQ(recorder_.First(UNIST_CODE_FAIL).value, 1.0);
  EXPECT_EQ(recorder_.First(UNIST_CODE_FAIL).text, L"可执行卸载文件不存在");
}

TEST_F(UninstallerRunnerTest, GrandchildHoldingThePipeDoesNotHoldUpTheEnd) {
  const std::string release = (Root() / "release-grandchild").string();
  RunUninstaller("grandchild-until " + release + "\nsay State=Success\nexit 0\n");
  std::ofstream(release) << "go";
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{5002, 5003}));
}

}  // namespace
