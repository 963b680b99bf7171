#include "utils/log.h"

#include <gtest/gtest.h>

#include <mutex>
#include <regex>
#include <thread>
#include <vector>

#include "platform/debug_output.h"
#include "tests/support/log_capture.h"

namespace {

struct Probe {
  void Member() { LOG_LINE(L"member %d %s", 7, L"wide"); }
  static void Static() { LOG_TEXT(L"no line end"); }
};

TEST(Log, RecordHasPrefixFunctionNameLineAndLineEnd) {
  LogCapture capture;
  Probe().Member();
  Probe::Static();
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 2u);
  const std::wregex prefix(
      LR"(<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(([^)]*)\)<(\d{4,})>: ([\s\S]*))");
  std::wsmatch m;
  ASSERT_TRUE(std::regex_match(records[0], m, prefix)) << records[0].c_str();
  EXPECT_EQ(m[1].str(), L"{anonymous}::Probe::Member");
  EXPECT_EQ(m[3].str(), L"member 7 wide\r\n");
  ASSERT_TRUE(std::regex_match(records[1], m, prefix));
  EXPECT_EQ(m[1].str(), L"{anonymous}::Probe::Static");
  EXPECT_EQ(m[3].str(), L"no line end");
}

TEST(Log, LineFormsAndPercent) {
  LogCapture capture;
  LOG_LINE(L"");
  LOG_TEXT(L"100%% done\n");
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_TRUE(records[0].size() > 2 && records[0].substr(records[0].size() - 5) == L">: \r\n");
  EXPECT_EQ(records[1].substr(records[1].find(L">: ") + 3), L"100% done\n");
}

TEST(Log, ConcurrentRecordsStayWhole) {
  LogCapture capture;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 200; ++i) LOG_LINE(L"thread %d record %d end", t, i);
    });
  for (auto& th : threads) th.join();
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 800u);
  const std::wregex whole(LR"(<P\d+><T\d+><[^>]+>\([^)]+\)<\d+>: thread \d record \d+ end\r\n)");
  for (const auto& r : records) ASSERT_TRUE(std::regex_match(r, whole));
}

TEST(QualifiedFunctionName, StripsReturnTypeArgumentsAndQualifiers) {
  struct Case {
    const char* pretty;
    const wchar_t* expected;
  } cases[] = {
      {"void CDownloadInstaller::Start(const std::wstring&, int)", L"CDownloadInstaller::Start"},
      {"static void Utils::Thread::CallBack(Utils::Thread*)", L"Utils::Thread::CallBack"},
      {"std::map<int, int> A::B() const", L"A::B"},
      {"int f(T) [with T = int]", L"f"},
      {"CDownloadInstaller::Start(const std::wstring&)::<lambda(int, double, const wchar_t*)>",
       L"CDownloadInstaller::Start::<lambda>"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utils::QualifiedFunctionName(c.pretty), c.expected) << c.pretty;
}

}  // namespace
