// The language table over the skin archive: this system's skin has no
// table; a skin that has one fills the string table for the chosen locale.
#include <gtest/gtest.h>

#include "skin_test_support.h"
#include "skinui/multi_language.h"
#include "skinui/window_host.h"
#include "utils/language/language_table.h"

namespace Utils {
namespace {

using SkinUI::CSkinResources;

class LanguageTable : public ::testing::Test {
 protected:
  void SetUp() override { SkinUI::ClearMultiLanguageTexts(); }
  void TearDown() override {
    SkinUI::ClearMultiLanguageTexts();
    CSkinResources::Reset();
  }
  // An archive with a language table, opened and kept as the skin archive.
  void UseArchiveWithTable(const std::string& json) {
    SkinTest::WriteFile(dir_.Path() / "content" / "language.json", json);
    ASSERT_TRUE(SkinTest::Make7z(dir_.Path() / "content", dir_.Path() / "skin.7z"));
    CSkinResources::Reset();
    CSkinResources::SetResourceDirectory(dir_.WidePath());
    CSkinResources::SetArchiveFile(L"skin.7z", true);
  }
  SkinTest::TempDir dir_;
};

TEST_F(LanguageTable, ThisSkinHasNoTableSoNothingIsLoaded) {
  SkinTest::UseEmbeddedArchive();
  EXPECT_EQ(LoadLanguageTable(9, L"ja-JP"), 0);
  EXPECT_EQ(LoadLanguageTable(3, L""), 0);
  EXPECT_FALSE(MultiLanguageText(104));
  EXPECT_NE(DiskSpaceText().find(L"1 GB"), std::wstring::npos);  // a built-in text when 104 is missing
  CSkinResources::Reset();
  EXPECT_EQ(LoadLanguageTable(5, L"de-DE"), 0);  // no archive at all
}

TEST_F(LanguageTable, FillsTheStringTableForTheChosenLocale) {
  UseArchiveWithTable(
      "[{\"id\":104,\"en-US\":\"Not enough space\",\"ja-JP\":\"\xE5\xAE\xB9\xE9\x87\x8F\xE4\xB8\x8D\xE8\xB6\xB3\"},"
      "{\"id\":\"bad\",\"ja-JP\":\"skipped\"},{\"id\":7,\"ja-JP\":42},17]");
  EXPECT_EQ(LoadLanguageTable(0, L"ja-JP"), 9);
  ASSERT_TRUE(MultiLanguageText(104));
  EXPECT_EQ(*MultiLanguageText(104), L"容量不足");
  EXPECT_EQ(DiskSpaceText(), L"容量不足");
  EXPECT_FALSE(MultiLanguageText(7));

  EXPECT_EQ(LoadLanguageTable(0, L"JA-JP"), 0);  // codes compare exactly: the default index
  EXPECT_EQ(*MultiLanguageText(104), L"Not enough space");
  EXPECT_EQ(LoadLanguageTable(99, L""), 0);      // a default outside the table gives 0
}

TEST_F(LanguageTable, ConfiguredLanguageComesFromConfigIni) {
  UseArchiveWithTable("[{\"id\":1,\"en-US\":\"one\",\"zh-TW\":\"\xE4\xB8\x80\"}]");
  SkinTest::WriteFile(dir_.Path() / "install" / "config.ini", "[Install]\nLanguage=zh-TW\n");
  SkinTest::WriteFile(dir_.Path() / "other" / "config.ini", "[Install]\nPath=x\n");
  SkinUI::CWindowHostUI host;
  host.Init(nullptr);
  EXPECT_EQ(ApplyConfiguredLanguage((dir_.Path() / "install").wstring(), &host), 2);
  EXPECT_EQ(*MultiLanguageText(1), L"一");
  EXPECT_TRUE(host.IsLayoutNeeded());
  EXPECT_EQ(ApplyConfiguredLanguage((dir_.Path() / "other").wstring(), &host), 0);  // no key: "en-US"
  EXPECT_EQ(*MultiLanguageText(1), L"one");
  EXPECT_EQ(ApplyConfiguredLanguage((dir_.Path() / "nowhere").wstring(), nullptr), 0);
}

TEST_F(LanguageTable, EmptyOrBrokenTablesChangeNothing) {
  SkinUI::SetMultiLanguageText(104, L"kept");
  UseArchiveWithTable("{ not json");
  EXPECT_EQ(LoadLanguageTable(1, L""), 1);
  EXPECT_EQ(*MultiLanguageText(104), L"kept");
}

}  // namespace
}  // namespace Utils
