#include "utils/text.h"

#include <gtest/gtest.h>

#include "platform/command_line.h"
#include "tests/support/scratch_folder.h"
#include "utils/file_md5.h"

namespace {

TEST(CodePages, ConvertBothWaysAndFailToEmpty) {
  const std::string gbk = "\xC4\xE3\xBA\xC3";  // "你好" in code page 936
  EXPECT_EQ(Utils::ToWide(gbk, 936), L"\u4F60\u597D");
  EXPECT_EQ(Utils::ToNarrow(L"\u4F60\u597D", 936), gbk);
  EXPECT_EQ(Utils::ToWide("gr\xC3\xBC\xC3\x9F", 65001), L"gr\u00FC\u00DF");
  EXPECT_EQ(Utils::ToNarrow(L"gr\u00FC\u00DF", 65001), "gr\xC3\xBC\xC3\x9F");
  EXPECT_EQ(Utils::ToWide("", 65001), L"");
  EXPECT_EQ(Utils::ToNarrow(L"text", 12345), "");
  EXPECT_EQ(Utils::ToWide("text", 12345), L"");
  // Like the system converter, the text ends at an embedded zero.
  EXPECT_EQ(Utils::ToWide(std::string("ab\0cd", 5), 65001), L"ab");
}

TEST(CodePages, StrictUtf8) {
  EXPECT_EQ(Utils::Utf8ToWide("\xE4\xB8\xAD" "a\xF0\x9F\x98\x80"), L"\u4E2D" L"a\U0001F600");
  const char* malformed[] = {"ok\xFF", "\xC3", "\xC0\x80", "\xED\xA0\x80", "\xE4\xB8" "a"};
  for (const char* text : malformed) EXPECT_EQ(Utils::Utf8ToWide(text), L"") << text;
}

TEST(TextRoutines, Table) {
  EXPECT_EQ(Utils::UrlEncode(L"a b&c/\u00FC"), L"a+b&c/%C3%BC");
  EXPECT_EQ(Utils::UrlEncode(L"%?=~\t\x7F"), L"%?=~%09%7F");
  EXPECT_EQ(Utils::ReplaceAll(L"x${ROUTE}y${ROUTE}", L"${ROUTE}", L"z"), L"xzyz");
  EXPECT_EQ(Utils::ReplaceAll(L"aXbX", L"X", L"XX"), L"aXbX");  // would never end: left alone
  EXPECT_EQ(Utils::Trim(L" \t value \r\n"), L"value");
  EXPECT_EQ(Utils::Trim(L" \t\n\v\f\r"), L"");
  EXPECT_EQ(Utils::TrimLeft(L"\u3000x "), L"\u3000x ");  // only ASCII white space counts
  EXPECT_EQ(Utils::TrimRight(L" x \f"), L" x");
  EXPECT_TRUE(Utils::StartsWith(L"Progress=50", L"Progress="));
  EXPECT_FALSE(Utils::StartsWith(L"xProgress=", L"Progress="));
  EXPECT_FALSE(Utils::StartsWith(L"Prog", L"Progress="));
  EXPECT_EQ(Utils::ToWideDecimal(18446744073709551615ull), L"18446744073709551615");
}

TEST(TextRoutines, UrlParentSegment) {
  const struct {
    const char* url;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"file.exe", ""},
      {"/file.exe", ""},
      {"a/b/c", "b"},
      {"http://host/pkg/abc123/setup.exe", "abc123"},
      {"http://host/pkg/abc123/", "abc123"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utils::UrlParentSegment(c.url), c.expected) << c.url;
}

TEST(FileMd5, DigestOfFilesAndFailures) {
  ScratchFolder folder;
  EXPECT_EQ(Utils::FileMd5Hex(folder.Write("empty", "").string()), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Utils::FileMd5Hex(folder.Write("abc", "abc").string()), "900150983cd24fb0d6963f7d28e17f72");
  // More than one read chunk.
  EXPECT_EQ(Utils::FileMd5Hex(folder.Write("big", std::string(200000, 'a')).string()),
            "561b1994f6baacd6e5eaf4baaa12849f");
  EXPECT_EQ(Utils::FileMd5Hex((folder / "missing").string()), "");
  EXPECT_EQ(Utils::FileMd5Hex(""), "");
}

TEST(CommandLine, SplitFollowsTheWindowsRules) {
  const struct {
    const wchar_t* line;
    std::vector<std::wstring> args;
  } cases[] = {
      {L"setup.exe -a=1  -b", {L"setup.exe", L"-a=1", L"-b"}},
      {L"\"C:\\Program Files\\setup.exe\" x", {L"C:\\Program Files\\setup.exe", L"x"}},
      {L"p -downloadurl=\"http://h/a b\"", {L"p", L"-downloadurl=http://h/a b"}},
      {L"p a\\\\b \"a\\\"b\" a\\\\\\\"b", {L"p", L"a\\\\b", L"a\"b", L"a\\\"b"}},
      {L"p \"\" \"x\"\"y\"", {L"p", L"", L"x\"y"}},
      {L"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Platform::SplitCommandLine(c.line), c.args) << c.line;
}

TEST(CommandLine, QuotedArgumentsRoundTrip) {
  const std::vector<std::wstring> args = {L"plain",   L"two words", L"",           L"trailing\\",  L"sp ace\\",
                                          L"q\"uote", L"\\\"",      L"tab\there", L"a\\\\b c\\\\", L"\u4E2D \u6587"};
  std::wstring line = L"setup.exe";
  for (const std::wstring& a : args) line += L" " + Platform::QuoteArgument(a);
  std::vector<std::wstring> expected = {L"setup.exe"};
  expected.insert(expected.end(), args.begin(), args.end());
  EXPECT_EQ(Platform::SplitCommandLine(line), expected) << line;
}

}  // namespace
