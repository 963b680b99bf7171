// "velmora-setup -silent" as a user runs it: a real process against the
// loopback package server and the demo package, in a sandboxed HOME. Pins
// the output lines, the exit codes and what the update path does.
#include <gtest/gtest.h>

#include <fstream>

#include "app/installation_record.h"
#include "platform/child_process.h"
#include "platform/registry_store.h"
#include "tests/install/install_sandbox.h"
#include "tests/install/package_server.h"
#include "tests/support/spawned_child.h"
#include "utils/system_probes.h"

namespace {

struct SilentRun {
  std::vector<std::string> lines;
  int exitCode = -2;
};

class SilentInstallTest : public InstallSandbox {
 protected:
  std::string Setup() const { return BinDir() + "/velmora-setup"; }
  // Runs velmora-setup with `args` (standard error joined to the output when
  // asked) and collects its lines until it ends.
  SilentRun Run(std::vector<std::string> args, bool withErrors = false) {
    std::unique_ptr<SpawnedChild> child;
    if (withErrors) {
      args.insert(args.begin(), {"-c", "exec \"$0\" \"$@\" 2>&1", Setup()});
      child = std::make_unique<SpawnedChild>("/bin/sh", args);
    } else {
      child = std::make_unique<SpawnedChild>(Setup(), args);
    }
    SilentRun run;
    EXPECT_TRUE(child->Started());
    for (std::string line; !(line = child->ReadLine(std::chrono::seconds(60))).empty();)
      if (line.rfind("<P", 0) != 0) run.lines.push_back(line);  // log records are not output lines
    run.exitCode = child->Wait();
    return run;
  }
  std::string FolderArg() const { return "-instdir=" + (Root() / "Programs/Velmora").string(); }
  std::string UrlArg() { return "-downloadurl=" + Narrow(server_.Url()); }
  static std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

  // "<4 digits>\t<number>\t<text without tabs>"
  static bool IsStageLine(const std::string& line) {
    const size_t first = line.find('\t');
    const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (first != 4 || second == std::string::npos || second == first + 1) return false;
    if (line.find_first_not_of("0123456789") != 4) return false;
    if (line.substr(first + 1, second - first - 1).find_first_not_of("-0123456789.e+") != std::string::npos)
      return false;
    return line.find('\t', second + 1) == std::string::npos;
  }
  static std::vector<int> Codes(const SilentRun& run) {
    std::vector<int> codes;
    for (const std::string& line : run.lines) codes.push_back(std::atoi(line.c_str()));
    return codes;
  }

  DemoPackageServer server_;
};

TEST_F(SilentInstallTest, InstallsThenUpdatesWithTheOldUninstallerFirst) {
  const SilentRun fresh = Run({"-silent", UrlArg(), FolderArg()});
  EXPECT_EQ(fresh.exitCode, 0);
  ASSERT_FALSE(fresh.lines.empty());
  for (const std::string& line : fresh.lines) EXPECT_TRUE(IsStageLine(line)) << line;
  EXPECT_EQ(fresh.lines.front(), "1001\t1\t");
  EXPECT_EQ(fresh.lines.back(), "2003\t0\t");
  const std::string folder = (Root() / "Programs/Velmora").string();
  EXPECT_NE(std::find(fresh.lines.begin(), fresh.lines.end(), "3000\t0\t" + folder), fresh.lines.end());
  EXPECT_EQ(Platform::ReadUserRegistryString(InstallationRecord::kRegistryKey, L"InstallPath"), Wide(folder));

  // The second run finds the record and removes the old version first.
  const SilentRun update = Run({"-silent", UrlArg(), FolderArg()});
  EXPECT_EQ(update.exitCode, 0);
  const std::vector<int> codes = Codes(update);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(update.lines.front(), "5002\t0\t");
  EXPECT_LT(std::find(codes.begin(), codes.end(), 5003), std::find(codes.begin(), codes.end(), 1001));
  EXPECT_EQ(update.lines.back(), "2003\t0\t");
  EXPECT_TRUE(std::filesystem::exists(Root() / "Programs/Velmora/Velmora.exe"));
}

TEST_F(SilentInstallTest, DefaultFolderIsUsedWithoutInstdir) {
  const SilentRun run = Run({"-silent", UrlArg()});
  EXPECT_EQ(run.exitCode, 0);
  const auto installed = Platform::ReadUserRegistryString(InstallationRecord::kRegistryKey, L"InstallPath");
  ASSERT_TRUE(installed.has_value());
  EXPECT_EQ(installed->rfind(Wide(Root() / "home/.local/share"), 0), 0u);
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(*installed) / "Velmora.exe"));
}

TEST_F(SilentInstallTest, TerminalFailuresExitWithOne) {
  const std::string failing = Script("fail.script", "say Progress=0.2\nsay Error=disk full\n");
  struct Case {
    std::vector<std::string> args;
    std::string lastLinePrefix;
  };
  const Case cases[] = {
      {{"-silent", UrlArg(), FolderArg(), "-instcmd=-demoscript=" + failing}, "2004\t1000\tdisk full"},
      {{"-silent", "-downloadurl=" + Narrow(server_.MissingUrl()),
        FolderArg()},
       "1004\t"},
  };
  for (const Case& c : cases) {
    const SilentRun run = Run(c.args);
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back().rfind(c.lastLinePrefix, 0), 0u) << run.lines.back();
  }
  EXPECT_FALSE(Platform::ReadUserRegistryString(InstallationRecord::kRegistryKey, L"InstallPath").has_value());
}

TEST_F(SilentInstallTest, RefusedStartsSayWhyAndExitWithOne) {
  // An invalid folder.
  SilentRun run = Run({"-silent", UrlArg(), "-instdir=" + (Root() / "a\"b").string()}, true);
  EXPECT_EQ(run.exitCode, 1);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_NE(run.lines.back().find("无效路径"), std::string::npos) << run.lines.back();

  // A running product.
  std::filesystem::create_directories(Root() / "run");
  std::filesystem::copy_file(DemoPackagePath(), Root() / "run/Velmora.exe");
  const std::filesystem::path release = Root() / "release-product";
  Platform::ChildProcess product;
  ASSERT_TRUE(product.Start(L"\"" + Wide(Root() / "run/Velmora.exe") + L"\" --run-until=" + Wide(release)));
  run = Run({"-silent", UrlArg(), FolderArg()}, true);
  std::ofstream(release) << "go";
  product.WaitForExit();
  EXPECT_EQ(run.exitCode, 1);
  ASSERT_FALSE(run.lines.empty());
  EXPECT_NE(run.lines.back().find("正在运行"), std::string::npos) << run.lines.back();
  EXPECT_FALSE(std::filesystem::exists(Root() / "Programs/Velmora"));
}

TEST_F(SilentInstallTest, SecondInstanceAndMissingSilentHaveTheirOwnExitCodes) {
  {
    Utils::InstanceLock guard(L"Installer_Velmora");
    ASSERT_TRUE(guard.Acquire());
    EXPECT_EQ(Run({"-silent", UrlArg(), FolderArg()}).exitCode, 255);  // -1
  }
  const SilentRun windowless = Run({UrlArg()}, true);
  EXPECT_EQ(windowless.exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(Root() / "Programs/Velmora"));
}

}  // namespace
