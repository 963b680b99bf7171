#include "utils/system_probes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/env_override.h"
#include "tests/support/log_capture.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

std::wstring Message(const std::wstring& record) { return record.substr(record.find(L">: ") + 3); }

TEST(CheckNetwork, ResultAndLogPerAnswer) {
  Platform::Connectivity unavailable;
  unavailable.managerAvailable = false;
  unavailable.flags = 0x40;
  const struct {
    const char* name;
    Platform::Connectivity answer;
    uint32_t expected;
    std::wstring log;  // empty: nothing logged
  } cases[] = {
      {"no answer at all", unavailable, 0u, L""},
      {"disconnected", {true, 0u, false}, 1u << 16, L"GetConnectivity 0"},
      {"local network only", {true, 0x20u, false}, 0x20u | (2u << 16), L"get_IsConnectedToInternet:0"},
      {"Internet", {true, 0x40u, true}, 0x40u, L""},
  };
  for (const auto& c : cases) {
    LogCapture capture;
    EXPECT_EQ(Utils::CheckNetwork(c.answer), c.expected) << c.name;
    const auto records = capture.Records();
    if (c.log.empty()) {
      EXPECT_TRUE(records.empty()) << c.name;
    } else {
      ASSERT_EQ(records.size(), 1u) << c.name;
      EXPECT_EQ(Message(records[0]), c.log) << c.name;
      EXPECT_NE(records[0].find(L"(Utils::CheckNetwork)"), std::wstring::npos) << c.name;
    }
  }
}

TEST(HardDiskManager, FillsCountsOrLogsTheSystemError) {
  ScratchFolder folder;
  Utils::HardDiskManager disk;
  ASSERT_TRUE(disk.CheckFreeSpace(folder.WidePath()));
  EXPECT_GT(disk.totalBytes, 0u);
  EXPECT_LE(disk.freeBytesForCaller, disk.totalBytes);

  LogCapture capture;
  EXPECT_FALSE(disk.CheckFreeSpace((folder / "missing").wstring()));
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NE(records[0].find(L"(Utils::HardDiskManager::CheckFreeSpace)"), std::wstring::npos);
  EXPECT_EQ(Message(records[0]), L"HardDiskManager::CheckFreeSpace FAIL code=2\r\n");
}

TEST(NewGuidHex, LayoutWithLowercaseThirdPart) {
  const Platform::Guid guid{0x0A1B2C3D, 0x4E5F, 0x6A7B, {0x8C, 0x9D, 0x0E, 0x1F, 0x2A, 0x3B, 0x4C, 0x5D}};
  EXPECT_EQ(Utils::NewGuidHex(guid), L"0A1B2C3D4E5F6a7b8C9D0E1F2A3B4C5D");
  const std::wstring fresh = Utils::NewGuidHex();
  EXPECT_EQ(fresh.size(), 32u);
  EXPECT_EQ(fresh.find_first_not_of(L"0123456789ABCDEFabcdef"), std::wstring::npos);
}

TEST(PelkoTempDir, CreatesThePrivateFolderOnceAndReusesIt) {
  ScratchFolder temp;
  EnvOverride tmpdir("TMPDIR", temp.Path().c_str());
  const std::wstring expected = (temp.Path() / "~PelkoTemp.92482B06FB471E17").wstring() + L"/";
  EXPECT_EQ(Utils::PelkoTempDir(), expected);
  wchar_t buffer[Utils::kMaxPathChars] = L"untouched";
  EXPECT_EQ(Utils::PelkoTempDir(buffer), 0);
  EXPECT_EQ(std::wstring(buffer), expected);
}

TEST(PelkoTempDir, RefusesAFolderOthersCanWrite) {
  ScratchFolder temp;
  EnvOverride tmpdir("TMPDIR", temp.Path().c_str());
  const fs::path planted = temp / "~PelkoTemp.92482B06FB471E17";
  fs::create_directory(planted);
  fs::permissions(planted, fs::perms::all);
  wchar_t buffer[Utils::kMaxPathChars] = L"untouched";
  EXPECT_EQ(Utils::PelkoTempDir(buffer), 1);
  EXPECT_EQ(std::wstring(buffer), L"untouched");
  EXPECT_EQ(Utils::PelkoTempDir(), L"");
}

TEST(CreateDirectories, CreatesEveryLevelAndRespectsTheLimit) {
  ScratchFolder folder;
  const std::wstring root = folder.WidePath();
  EXPECT_TRUE(Utils::CreateDirectories(root + L"/a/b/c"));
  EXPECT_TRUE(fs::is_directory(folder / "a" / "b" / "c"));
  EXPECT_TRUE(Utils::CreateDirectories(root + L"/x/y/"));
  EXPECT_TRUE(fs::is_directory(folder / "x" / "y"));
  EXPECT_TRUE(Utils::CreateDirectories(root + L"/a/b/c"));  // all there already
  folder.Write("file", "");
  EXPECT_FALSE(Utils::CreateDirectories(root + L"/file/sub"));
  std::wstring tooLong = root;
  while (tooLong.size() <= Utils::kMaxPathChars) tooLong += L"/level";
  EXPECT_FALSE(Utils::CreateDirectories(tooLong));
  EXPECT_FALSE(fs::exists(folder / "level"));  // refused before anything was made
  EXPECT_FALSE(Utils::CreateDirectories(L""));
}

TEST(InstanceLock, NameCarriesTheFixedPrefix) {
  ScratchFolder runtime;
  EnvOverride runtimeDir("XDG_RUNTIME_DIR", runtime.Path().c_str());
  Utils::InstanceLock lock(L"Installer_Velmora");
  EXPECT_FALSE(lock.Held());
  ASSERT_TRUE(lock.Acquire());
  EXPECT_TRUE(fs::exists(runtime / "D1A547DB89C0BC61_Installer_Velmora.lock"));
  Utils::InstanceLock second(L"Installer_Velmora");
  EXPECT_FALSE(second.Acquire());
}

}  // namespace
