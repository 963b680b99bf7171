#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch_folder.h"

namespace {

struct ReadCase {
  const char* name;
  std::string file;
  std::wstring section;
  std::wstring key;
  std::wstring defaultValue;
  size_t bufferChars;
  std::wstring expected;
};

TEST(PrivateProfile, ReadsWithTheWindowsRules) {
  const ReadCase cases[] = {
      {"names ignore case, CRLF and blanks around '='", "[Install]\r\nDownloadType = 3 \r\n", L"install",
       L"DOWNLOADTYPE", L"d", 260, L"3"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\nk=v\n", L"S", L"k", L"d", 260, L"v"},
      {"double quotes stripped, inner blanks kept", "[S]\nk=\"  two words  \"\n", L"S", L"k", L"d", 260,
       L"  two words  "},
      {"single quotes stripped", "[S]\nk='x'\n", L"S", L"k", L"d", 260, L"x"},
      {"unmatched quotes kept", "[S]\nk=\"x'\n", L"S", L"k", L"d", 260, L"\"x'"},
      {"a lone quote kept", "[S]\nk=\"\n", L"S", L"k", L"d", 260, L"\""},
      {"value keeps later '='", "[S]\nk=a=b\n", L"S", L"k", L"d", 260, L"a=b"},
      {"empty value is a value", "[S]\nk=\n", L"S", L"k", L"d", 260, L""},
      {"key without '=' reads as missing", "[S]\nk\n", L"S", L"k", L"d", 260, L"d"},
      {"missing key", "[S]\nother=1\n", L"S", L"k", L"d", 260, L"d"},
      {"missing section", "[T]\nk=1\n", L"S", L"k", L"d", 260, L"d"},
      {"key of another section", "[S]\n[T]\nk=1\n", L"S", L"k", L"d", 260, L"d"},
      {"first occurrence wins", "[S]\nk=1\nK=2\n", L"S", L"k", L"d", 260, L"1"},
      {"text after ']' ignored", "  [ S ] ; note\nk=1\n", L"S", L"k", L"d", 260, L"1"},
      {"value cut to buffer - 1", "[S]\nk=abcdef\n", L"S", L"k", L"d", 4, L"abc"},
      {"default cut as well", "", L"S", L"k", L"defaults", 4, L"def"},
      {"trailing blanks of the default dropped", "", L"S", L"k", L"x  ", 260, L"x"},
      {"UTF-8 text", "[S]\nk=gr\xC3\xBC\xC3\x9F\n", L"S", L"k", L"d", 260, L"gr\u00FC\u00DF"},
      {"last line without line end", "[S]\nk=v", L"S", L"k", L"d", 260, L"v"},
  };
  ScratchFolder folder;
  for (const ReadCase& c : cases) {
    const std::wstring path = folder.Write("case.ini", c.file).wstring();
    EXPECT_EQ(Platform::GetProfileString(c.section, c.key, c.defaultValue, path, c.bufferChars), c.expected)
        << c.name;
  }
  EXPECT_EQ(Platform::GetProfileString(L"S", L"k", L"d", (folder / "missing.ini").wstring()), L"d");
}

TEST(PrivateProfile, IntegerReadTakesTheDigitPrefix) {
  const struct {
    const char* value;
    int expected;
  } cases[] = {
      {"12abc", 12}, {"  -7", -7}, {"+5", 5}, {"abc", 0}, {"0x10", 0}, {"", 42}, {"4294967295", -1},
  };
  ScratchFolder folder;
  for (const auto& c : cases) {
    const std::wstring path = folder.Write("int.ini", std::string("[S]\nn=") + c.value + "\n").wstring();
    EXPECT_EQ(Platform::GetProfileInt(L"S", L"n", 42, path), c.expected) << c.value;
  }
  const std::wstring path = folder.Write("int.ini", "[S]\n").wstring();
  EXPECT_EQ(Platform::GetProfileInt(L"S", L"n", 42, path), 42);
}

TEST(PrivateProfile, WritesChangeOnlyTheirLine) {
  const std::string original = "; comment\r\n[Install]\r\nA = 1\r\n\r\n[Other]\r\nB=2";
  const struct {
    const char* name;
    std::wstring section, key, value;
    std::string expected;
  } cases[] = {
      {"existing key keeps its spelling", L"install", L"a", L"9",
       "; comment\r\n[Install]\r\nA=9\r\n\r\n[Other]\r\nB=2"},
      {"new key after the section's last entry", L"Install", L"C", L"3",
       "; comment\r\n[Install]\r\nA = 1\r\nC=3\r\n\r\n[Other]\r\nB=2"},
      {"new key in the last, unterminated section", L"Other", L"E", L"5",
       "; comment\r\n[Install]\r\nA = 1\r\n\r\n[Other]\r\nB=2\r\nE=5\r\n"},
      {"new section at the end", L"New", L"D", L"4",
       "; comment\r\n[Install]\r\nA = 1\r\n\r\n[Other]\r\nB=2\r\n[New]\r\nD=4\r\n"},
  };
  ScratchFolder folder;
  for (const auto& c : cases) {
    const auto file = folder.Write("w.ini", original);
    ASSERT_TRUE(Platform::WriteProfileString(c.section, c.key, c.value, file.wstring())) << c.name;
    EXPECT_EQ(ScratchFolder::Read(file), c.expected) << c.name;
    EXPECT_EQ(Platform::GetProfileString(c.section, c.key, L"", file.wstring()), c.value) << c.name;
  }
}

TEST(PrivateProfile, WriteCreatesTheFileAndRoundTrips) {
  ScratchFolder folder;
  const std::wstring path = (folder / "new.ini").wstring();
  ASSERT_TRUE(Platform::WriteProfileString(L"Install", L"Path", L"/opt/Velm\u00F6ra", path));
  ASSERT_TRUE(Platform::WriteProfileString(L"Install", L"Count", L"7", path));
  EXPECT_EQ(ScratchFolder::Read(folder / "new.ini"), "[Install]\nPath=/opt/Velm\xC3\xB6ra\nCount=7\n");
  EXPECT_EQ(Platform::GetProfileInt(L"install", L"count", 0, path), 7);
  // The rewrite leaves no temporary file behind.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1u);
}

TEST(PrivateProfile, RefusesWritesThatWouldBreakTheFile) {
  ScratchFolder folder;
  const auto file = folder.Write("w.ini", "[S]\nk=1\n");
  const struct {
    std::wstring section, key, value;
  } cases[] = {
      {L"S", L"k", L"1\n[Evil]\nx=y"}, {L"S", L"a=b", L"1"}, {L"S]", L"k", L"1"}, {L"S", L"", L"1"},
      {L"", L"k", L"1"},
  };
  for (const auto& c : cases) EXPECT_FALSE(Platform::WriteProfileString(c.section, c.key, c.value, file.wstring()));
  EXPECT_EQ(ScratchFolder::Read(file), "[S]\nk=1\n");
  EXPECT_FALSE(Platform::WriteProfileString(L"S", L"k", L"1", (folder / "no-such-dir" / "x.ini").wstring()));
}

}  // namespace
