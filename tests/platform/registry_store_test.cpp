#include "platform/registry_store.h"

#include <gtest/gtest.h>

#include "tests/support/env_override.h"
#include "tests/support/scratch_folder.h"

namespace {

constexpr const wchar_t* kKey = L"Software\\PelkoSoft\\Velmora";

TEST(RegistryStore, ValuesRoundTripExactly) {
  ScratchFolder folder;
  EnvOverride config("XDG_CONFIG_HOME", folder.Path().c_str());
  const std::wstring values[] = {L"C:\\Program Files\\Velmora", L"  padded  ", L"\"quoted\"", L"", L"a=b;c",
                                 L"\u4E2D\u6587"};
  for (const std::wstring& value : values) {
    ASSERT_TRUE(Platform::WriteUserRegistryString(kKey, L"InstallPath", value));
    EXPECT_EQ(Platform::ReadUserRegistryString(kKey, L"installpath"), value);
  }
  ASSERT_TRUE(Platform::WriteUserRegistryString(kKey, L"", L"default"));
  EXPECT_EQ(Platform::ReadUserRegistryString(kKey, L""), L"default");
  EXPECT_EQ(Platform::UserRegistryStorePath(kKey),
            (folder.Path() / "velmora-registry" / "Software" / "PelkoSoft" / "Velmora.ini").wstring());
}

TEST(RegistryStore, MissingAndUnusableKeys) {
  ScratchFolder folder;
  EnvOverride config("XDG_CONFIG_HOME", folder.Path().c_str());
  EXPECT_FALSE(Platform::ReadUserRegistryString(kKey, L"InstallPath").has_value());
  ASSERT_TRUE(Platform::WriteUserRegistryString(kKey, L"Other", L"1"));
  EXPECT_FALSE(Platform::ReadUserRegistryString(kKey, L"InstallPath").has_value());
  EXPECT_FALSE(Platform::WriteUserRegistryString(L"Software\\..\\..\\escape", L"x", L"1"));
  EXPECT_FALSE(Platform::WriteUserRegistryString(kKey, L"x", L"two\nlines"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "escape.ini"));
}

}  // namespace
