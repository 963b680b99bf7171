// The package runner against the real demo package: the command line, the
// line protocol (a table through Parse), and whole runs whose output is
// shaped by scripts — split lines, code pages, no verdict, a grandchild
// that keeps the pipe open, a package that cannot start.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "install/install_codes.h"
#include "install/installer.h"
#include "platform/child_process.h"
#include "tests/install/install_sandbox.h"

namespace {

class PackageRunnerTest : public InstallSandbox {
 protected:
  // Runs the demo package with `script` to its end and returns the codes it caused.
  void RunPackage(const std::string& script, std::wstring installDirectory = L"") {
    if (installDirectory.empty()) installDirectory = Wide(Root() / "Velmora");
    Settings().InstCmd = L"-demoscript=" + Wide(Script("package.script", script));
    CInstaller runner(recorder_.Callback(), L"\"" + Wide(DemoPackagePath()) + L"\"", installDirectory, true, true,
                      true);
    runner.Start();
    ASSERT_TRUE(recorder_.WaitForAny({IST_CODE_SUCCESS, IST_CODE_FAIL})) << "the run never ended";
  }  // the runner's destructor waits for its worker: every code is in by now

  StageRecorder recorder_;
};

TEST_F(PackageRunnerTest, CommandLinePiecesComeInOrderAndTheFolderEndsIt) {
  struct Case {
    std::wstring directory, language, instCmd;
    bool desktop, startMenu, admin, elevated;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"/opt/My App", L"", L"", true, false, true, false,
       L"\"/p/pkg.exe\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=false -dsc=true -ssc=false "
       L"-instdir=\"/opt/My App\" /D=/opt/My App"},
      {L"", L"de-DE", L"-x=1 -y", false, true, false, true,
       L"\"/p/pkg.exe\" /S -console=show -version=1.0.0 -adminact=false -authorizationact=true -dsc=false -ssc=true "
       L"-inslang=\"de-DE\" -x=1 -y"},
  };
  for (const Case& c : cases) {
    Settings().InstCmd = c.instCmd;
    CInstaller runner(nullptr, L"\"/p/pkg.exe\"", L"ignored", true, true, true);
    runner.SetInstallDirectory(c.directory);
    runner.SetLanguage(c.language);
    runner.SetDesktopShortcut(c.desktop);
    runner.SetStartMenuShortcut(c.startMenu);
    runner.SetAdministratorAccount(c.admin);
    runner.SetElevated(c.elevated);
    EXPECT_EQ(runner.BuildCommandLine(), c.expected);
  }
}

TEST_F(PackageRunnerTest, ParseReadsTheKeyTable) {
  struct Case {
    std::wstring text;
    std::vector<RecordedStage> expected;
    int32_t verdict;
  };
  const std::wstring tooLong = L"InstPath=" + std::wstring(772, L'x');
  const Case cases[] = {
      {L"Progress=42.5", {{IST_CODE_PROGRESS, 42.5, L""}}, kVerdictNone},
      {L"Progress=abc", {{IST_CODE_PROGRESS, 0.0, L""}}, kVerdictNone},
      {L"InstPath=C:\\V\r\nState=Success\n", {{IST_CODE_INST_PATH, 0.0, L"C:\\V\r"}, {IST_CODE_SUCCESS, 0.0, L""}},
       kVerdictSuccess},
      {L"State=  Success \r", {{IST_CODE_SUCCESS, 0.0, L""}}, kVerdictSuccess},
      {L"State=success", {}, kVerdictNone},
      {L"State=Fail", {{IST_CODE_FAIL, 0.0, L"安装包安装失败"}}, kVerdictFailure},
      {L"Error=disk full", {{IST_CODE_FAIL, 1000.0, L"disk full"}}, kVerdictFailure},
      {L"State=Success\nError=late", {{IST_CODE_SUCCESS, 0.0, L""}, {IST_CODE_FAIL, 1000.0, L"late"}},
       kVerdictFailure},
      {L"ExePath=/o/V.exe\nStartExe=/o/S.exe", {{IST_CODE_EXE_PATH, 0.0, L"/o/V.exe"}, {IST_CODE_EXE_PATH, 0.0, L"/o/S.exe"}},
       kVerdictNone},
      {L"UninstExePath=/a\nUninstExe=/b\nUninstEp=/c",
       {{IST_CODE_UNINST_EXE, 0.0, L"/a"}, {IST_CODE_UNINST_EXE, 0.0, L"/b"}, {IST_CODE_UNINST_EP, 0.0, L"/c"}},
       kVerdictNone},
      {L"TopShowDetention=-1\nFinsihCloseDetention=x", {{IST_CODE_TOP_SHOW_DETENTION, 4294967295.0, L""},
                                                        {IST_CODE_FINISH_CLOSE_DETENTION, 0.0, L""}},
       kVerdictNone},
      {L"StartupStyle= AutoStartup\nStartupStyle=UserStartup\nStartupStyle=Later",
       {{IST_CODE_STARTUP_STYLE, 1.0, L""}, {IST_CODE_STARTUP_STYLE, 2.0, L""}, {IST_CODE_STARTUP_STYLE, 0.0, L""}},
       kVerdictNone},
      {L"StartUrl=https://v.example/x\nMessage=hello", {{IST_CODE_START_URL, 0.0, L"https://v.example/x"},
                                                        {IST_CODE_MESSAGE, 0.0, L"hello"}},
       kVerdictNone},
      {tooLong + L"\nInstPath=", {{IST_CODE_INST_PATH, 0.0, L""}, {IST_CODE_INST_PATH, 0.0, L""}}, kVerdictNone},
      {L"InstallVersion=2.3.4\nprogress=1\nNoise", {}, kVerdictNone},
  };
  for (const Case& c : cases) {
    StageRecorder recorder;
    CInstaller runner(recorder.Callback(), L"\"p\"", L"", true, true, true);
    EXPECT_EQ(runner.Parse(c.text), c.verdict) << std::string(c.text.begin(), c.text.end());
    const std::vector<RecordedStage> got = recorder.Events();
    ASSERT_EQ(got.size(), c.expected.size()) << std::string(c.text.begin(), c.text.end());
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].code, c.expected[i].code);
      EXPECT_DOUBLE_EQ(got[i].value, c.expected[i].value);
      EXPECT_EQ(got[i].text, c.expected[i].text);
    }
  }
}

TEST_F(PackageRunnerTest, EncodeSelectsTheCodePageAndVersionIsKept) {
  CInstaller runner(nullptr, L"\"p\"", L"", true, true, true);
  const std::pair<std::wstring, unsigned> cases[] = {
      {L"Encode=UTF8", 65001}, {L"Encode= 936 ", 936}, {L"Encode=ACP", 0}, {L"Encode=abc", 0}, {L"Encode=99999", 0}};
  for (const auto& [line, codePage] : cases) {
    runner.Parse(line);
    EXPECT_EQ(runner.OutputCodePage(), codePage) << std::string(line.begin(), line.end());
  }
  runner.Parse(L"InstallVersion=2.3.4");
  EXPECT_EQ(runner.InstalledVersion().major, 2);
  EXPECT_EQ(runner.InstalledVersion().minor, 3);
  EXPECT_EQ(runner.InstalledVersion().patch, 4);
}

TEST_F(PackageRunnerTest, StandardPackageInstallsAndReportsItsLines) {
  RunPackage("standard\n");
  const std::wstring folder = Wide(Root() / "Velmora");
  EXPECT_EQ(recorder_.FoldedCodes(),
            (std::vector<int32_t>{2001, 2002, 3000, 3001, 3003, 3004, 3005, 2002, 2003}));
  EXPECT_EQ(recorder_.First(IST_CODE_INST_PATH).text, folder);
  EXPECT_EQ(recorder_.First(IST_CODE_UNINST_EP).text, folder + L"/uninst.ep");
  EXPECT_DOUBLE_EQ(recorder_.First(IST_CODE_SUCCESS).value, 0.0);
  EXPECT_TRUE(std::filesystem::exists(Root() / "Velmora/Velmora.exe"));
  EXPECT_TRUE(std::filesystem::exists(Root() / "Velmora/uninst.ep"));
}

TEST_F(PackageRunnerTest, PackageThatEndsWithoutVerdictIsASuccessWithValueOne) {
  RunPackage("exit 3\n");
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{2001, 2002, 2003}));
  EXPECT_DOUBLE_EQ(recorder_.First(IST_CODE_SUCCESS).value, 1.0);
}

TEST_F(PackageRunnerTest, ErrorLineEndsTheRunAndNothingAfterItIsReported) {
  RunPackage("say Error=disk full\nsleep 300\nsay State=Success\nsay Progress=0.9\n");
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{2001, 2002, 2004}));
  EXPECT_DOUBLE_EQ(recorder_.First(IST_CODE_FAIL).value, 1000.0);
  EXPECT_EQ(recorder_.First(IST_CODE_FAIL).text, L"disk full");
}

TEST_F(PackageRunnerTest, PackageThatWritesOnAfterItsVerdictIsNotBlockedByAFullPipe) {
  const std::filesystem::path finished = Root() / "package-finished";
  RunPackage("say State=Success\nflood 300000\ntouch " + finished.string() + "\n");
  EXPECT_TRUE(std::filesystem::exists(finished));  // it got past its writes and ended
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{2001, 2002, 2003}));
}

// Each piece of the line goes out in its own write, with pauses so that they
// arrive in separate reads.
TEST_F(PackageRunnerTest, VerdictSplitAcrossWritesIsStillReadWhole) {
  RunPackage("write Sta\nsleep 200\nwrite te=Fa\nsleep 200\nwrite il\\n\nsay State=Success\n");
  EXPECT_EQ(recorder_.Codes(), (std::vector<int32_t>{2001, 2002, 2004}));
  EXPECT_EQ(recorder_.First(IST_CODE_FAIL).text, L"安装包安装失败");
}

TEST_F(PackageRunnerTest, AnnouncedCodePagesDecodeTheFollowingLines) {
  struct Case {
    std::string script;
    std::wstring expected;
  };
  const Case cases[] = {
      // UTF-8 with the character cut between two writes.
      {"say Encode=UTF8\nwrite InstPath=/opt/\\xE4\\xB8\nsleep 200\nwrite \\xAD\\xE6\\x96\\x87\\n\nsay State=Success\n",
       L"/opt/中文"},
      // GBK bytes right after the announcement, in the same write.
      {"write Encode=936\\nInstPath=/opt/\\xD6\\xD0\\xCE\\xC4\\nState=Success\\n\n", L"/opt/中文"},
  };
  for (const Case& c : cases) {
    StageRecorder recorder;
    Settings().InstCmd = L"-demoscript=" + Wide(Script("encode.script", c.script));
    {
      CInstaller runner(recorder.Callback(), L"\"" + Wide(DemoPackagePath()) + L"\"", Wide(Root() / "V"), true, true,
                        true);
      runner.Start();
      ASSERT_TRUE(recorder.WaitForAny({IST_CODE_SUCCESS, IST_CODE_FAIL}));
    }
    EXPECT_EQ(recorder.First(IST_CODE_INST_PATH).text, c.expected);
    EXPECT_DOUBLE_EQ(recorder.First(IST_CODE_SUCCESS).value, 0.0);
  }
}

TEST_F(PackageRunnerTest, GrandchildHoldingThePipeDoesNotHoldUpTheEnd) {
  const std::string release = (Root() / "release-grandchild").string();
  RunPackage("grandchild-until " + release + "\nsay Progress=0.5\nwrite InstPath=/last\nexit 0\n");
  std::ofstream(release) << "go";
  EXPECT_EQ(recorder_.FoldedCodes(), (std::vector<int32_t>{2001, 2002, 3000, 2003}));
  EXPECT_EQ(recorder_.First(IST_CODE_INST_PATH).text, L"/last");  // the unfinished last line counts
  EXPECT_DOUBLE_EQ(recorder_.First(IST_CODE_SUCCESS).value, 1.0);
}

TEST_F(PackageRunnerTest, PackageThatCannotStartFailsWithValueTwo) {
  const std::wstring missing = L"\"" + Wide(Root() / "no-such-package.exe") + L"\"";
  const std::wstring tooLongFolder = Wide(Root()) + L"/" + std::wstring(1000, L'v');
  const std::pair<std::wstring, std::wstring> cases[] = {
      {missing, Wide(Root() / "V")},
      {L"\"" + Wide(DemoPackagePath()) + L"\"", tooLongFolder},  // never cut to fit
  };
  for (const auto& [package, folder] : cases) {
    StageRecorder recorder;
    {
      CInstaller runner(recorder.Callback(), package, folder, true, true, true);
      runner.Start();
      ASSERT_TRUE(recorder.WaitForAny({IST_CODE_SUCCESS, IST_CODE_FAIL}));
    }
    EXPECT_EQ(recorder.Codes(), (std::vector<int32_t>{2001, 2002, 2004}));
    EXPECT_DOUBLE_EQ(recorder.First(IST_CODE_FAIL).value, 2.0);
    EXPECT_EQ(recorder.First(IST_CODE_FAIL).text, L"");
  }
  std::error_code tooLong;
  EXPECT_FALSE(std::filesystem::exists(tooLongFolder, tooLong));
}

}  // namespace
