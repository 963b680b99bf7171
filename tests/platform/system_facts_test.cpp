// Known folders, files and folders, process lookup, accounts, GUIDs and the
// OS version on the running system.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>

#include "platform/accounts.h"
#include "platform/file_system.h"
#include "platform/guid.h"
#include "platform/known_folders.h"
#include "platform/os_version.h"
#include "platform/process_info.h"
#include "tests/support/env_override.h"
#include "tests/support/scratch_folder.h"

namespace {

using Platform::KnownFolder;
namespace fs = std::filesystem;

TEST(KnownFolders, FollowTheDocumentedMapping) {
  EnvOverride home("HOME", "/home/tester");
  EnvOverride data("XDG_DATA_HOME", nullptr);
  EnvOverride cache("XDG_CACHE_HOME", "relative/ignored");
  EnvOverride docs("XDG_DOCUMENTS_DIR", "/srv/docs/");
  EnvOverride tmp("TMPDIR", "/var/tmp//");
  EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::AppData), L"/home/tester/.local/share");
  EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::LocalAppData), L"/home/tester/.cache");
  EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::CommonDocuments), L"/srv/docs");
  EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::Temp), L"/var/tmp");
  {
    EnvOverride noTmp("TMPDIR", nullptr);
    EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::Temp), L"/tmp");
  }
  EnvOverride data2("XDG_DATA_HOME", "/data");
  EXPECT_EQ(Platform::KnownFolderPath(KnownFolder::ProgramFilesX86),
            Platform::IsProcessUserAdmin() ? L"/opt" : L"/data");
}

TEST(FileSystem, CopyKeepsBytesAndModeAndRefusesItself) {
  ScratchFolder folder;
  const fs::path source = folder.Write("tool", std::string("\x7F" "ELF\0payload", 11));
  fs::permissions(source, fs::perms::owner_all);
  const fs::path target = folder / "copy";
  folder.Write("copy", "older and longer content");
  ASSERT_TRUE(Platform::CopyOneFile(source.wstring(), target.wstring()));
  EXPECT_EQ(ScratchFolder::Read(target), ScratchFolder::Read(source));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_exec, fs::perms::owner_exec);
  EXPECT_FALSE(Platform::CopyOneFile(source.wstring(), source.wstring()));
  EXPECT_EQ(Platform::FileSize(source.wstring()), 11);
  EXPECT_FALSE(Platform::CopyOneFile((folder / "missing").wstring(), target.wstring()));
}

TEST(FileSystem, ExistenceCreationRenameAndDelete) {
  ScratchFolder folder;
  const std::wstring dir = (folder / "d").wstring();
  const std::wstring file = (folder / "f").wstring();
  EXPECT_TRUE(Platform::CreateOneDirectory(dir));
  EXPECT_TRUE(Platform::CreateOneDirectory(dir));  // exists afterwards: fine
  EXPECT_FALSE(Platform::CreateOneDirectory((folder / "x" / "y").wstring()));
  folder.Write("f", "1");
  EXPECT_FALSE(Platform::CreateOneDirectory(file));
  EXPECT_TRUE(Platform::DirectoryExists(dir) && !Platform::FileExists(dir) && Platform::PathExists(dir));
  EXPECT_TRUE(Platform::FileExists(file) && !Platform::DirectoryExists(file));
  EXPECT_EQ(Platform::FileSize(dir), -1);
  ASSERT_TRUE(Platform::RenameFile(file, (folder / "g").wstring()));
  EXPECT_FALSE(Platform::PathExists(file));
  EXPECT_TRUE(Platform::DeleteOneFile((folder / "g").wstring()));
  EXPECT_EQ(Platform::FileSize((folder / "g").wstring()), -1);
  EXPECT_TRUE(Platform::MakeExecutableForOwner(dir));
}

TEST(FileSystem, PrivateDirectoryRefusesFoldersOthersCanWrite) {
  ScratchFolder folder;
  const fs::path mine = folder / "mine";
  EXPECT_TRUE(Platform::CreatePrivateDirectory(mine.wstring()));
  EXPECT_EQ(fs::status(mine).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_TRUE(Platform::CreatePrivateDirectory(mine.wstring()));
  const fs::path open = folder / "open";
  fs::create_directory(open);
  fs::permissions(open, fs::perms::all);
  EXPECT_FALSE(Platform::CreatePrivateDirectory(open.wstring()));
  fs::create_directory_symlink(mine, folder / "link");
  EXPECT_FALSE(Platform::CreatePrivateDirectory((folder / "link").wstring()));
}

TEST(FileSystem, DiskSpaceOfAFolderAndOfNothing) {
  ScratchFolder folder;
  Platform::DiskSpace space;
  long error = -1;
  ASSERT_TRUE(Platform::GetDiskSpace(folder.WidePath(), space, error));
  EXPECT_GT(space.totalBytes, 0u);
  EXPECT_LE(space.freeBytesForCaller, space.totalFreeBytes);
  EXPECT_LE(space.totalFreeBytes, space.totalBytes);
  EXPECT_FALSE(Platform::GetDiskSpace((folder / "missing").wstring(), space, error));
  EXPECT_EQ(error, 2L);  // ENOENT
}

TEST(ProcessLookup, FindsTheRunningTestByNameInAnyCase) {
  std::wstring own = Platform::ExecutablePath();
  own = own.substr(own.rfind(L'/') + 1);
  ASSERT_FALSE(own.empty());
  std::wstring upper = own;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) { return std::towupper(c); });
  EXPECT_TRUE(Platform::IsProcessRunning(own));
  EXPECT_TRUE(Platform::IsProcessRunning(upper));
  EXPECT_FALSE(Platform::IsProcessRunning(L"no-such-program-9f3a.exe"));
  EXPECT_FALSE(Platform::IsProcessRunning(L""));
}

TEST(Accounts, SessionUserAndAdministrators) {
  std::wstring user;
  ASSERT_TRUE(Platform::ConsoleUserName(user));
  EXPECT_FALSE(user.empty());
  EXPECT_TRUE(Platform::IsAccountAdmin(L"root"));
  EXPECT_FALSE(Platform::IsAccountAdmin(L"no-such-user-9f3a"));
  EXPECT_FALSE(Platform::IsAccountAdmin(L""));
}

TEST(Guid, RandomVersionFourWithTheStandardVariant) {
  const Platform::Guid a = Platform::NewGuid();
  const Platform::Guid b = Platform::NewGuid();
  EXPECT_EQ(a.data3 >> 12, 4);
  EXPECT_EQ(a.data4[0] & 0xC0, 0x80);
  EXPECT_FALSE(a.data1 == b.data1 && a.data2 == b.data2 && std::equal(a.data4, a.data4 + 8, b.data4));
}

TEST(OsVersion, LinuxNamesItsKernel) {
  EXPECT_FALSE(Platform::IsWindows());
  EXPECT_EQ(Platform::OsFamilyName(), L"Linux");
  EXPECT_FALSE(Platform::KernelRelease().empty());
  EXPECT_FALSE(Platform::QueryWindowsVersion().available);
}

}  // namespace
