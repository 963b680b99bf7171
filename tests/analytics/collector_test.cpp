// The loopback collector: its decoding, its refusal of broken posts, and the
// `collector` program end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "analytics/sdk/http_request.h"
#include "analytics/sdk/record_store.h"
#include "platform/child_process.h"
#include "tests/analytics/analytics_test_support.h"
#include "tools/collector/collector_core.h"
#include "tools/collector/collector_server.h"
#include "utils/text.h"

namespace {

using testing::ElementsAre;

TEST(CollectorDecoding, ArraysSplitAtTheirTopLevelOnly) {
  std::vector<std::string> records;
  EXPECT_TRUE(collector::SplitJsonArray(R"([{"a":"}],{\"x"},{"b":{"c":[1,{}]}}])", records));
  EXPECT_THAT(records, ElementsAre(R"({"a":"}],{\"x"})", R"({"b":{"c":[1,{}]}})"));
  EXPECT_TRUE(collector::SplitJsonArray("[]", records));
  EXPECT_TRUE(records.empty());
  for (const char* broken : {"", "{}", "[{}", "[{},]", "[1]", "[{\"a\":\"}]", "[{}] x"})
    EXPECT_FALSE(collector::SplitJsonArray(broken, records)) << broken;
}

TEST(CollectorDecoding, BrokenPostsAreNamedAndAnsweredWith400) {
  std::vector<std::string> records;
  std::string error;
  EXPECT_FALSE(collector::DecodePost("data_list=%G0&gzip=1", records, error));
  EXPECT_FALSE(collector::DecodePost("gzip=1", records, error));
  EXPECT_EQ(error, "the form body has no data_list");
  EXPECT_FALSE(collector::DecodePost("data_list=Zm9v&gzip=1", records, error));
  EXPECT_EQ(error, "data_list is not a gzip stream");
  EXPECT_TRUE(collector::DecodePost("data_list=%5B%7B%7D%5D", records, error));  // plain, not gzipped
  EXPECT_THAT(records, ElementsAre("{}"));

  collector::CollectorServer server;
  ASSERT_TRUE(server.Start(0));
  analytics_sdk::HttpRequest request(3);
  const auto response = request.Post(server.Url(), "data_list=!!!&gzip=1", "", {});
  EXPECT_EQ(response.status, 400);
  EXPECT_EQ(response.body, "data_list is not Base64");
  EXPECT_TRUE(server.Records().empty());
}

std::wstring CollectorProgram() {
  const char* bin = std::getenv("VELMORA_BIN_DIR");
  return Utils::Utf8ToWide(std::string(bin ? bin : ".") + "/collector");
}

// Reads the child's output until `done` says so or the deadline passes.
template <typename Done>
std::string ReadUntil(Platform::ChildProcess& child, Done done, std::chrono::seconds limit) {
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[512];
  while (!done(output) && std::chrono::steady_clock::now() < deadline) {
    const auto read = child.ReadOutput(buffer, sizeof(buffer), 100);
    if (read.status == Platform::ChildProcess::ReadStatus::Data) output.append(buffer, read.bytes);
    if (read.status == Platform::ChildProcess::ReadStatus::EndOfFile ||
        read.status == Platform::ChildProcess::ReadStatus::Failed)
      break;
  }
  return output;
}

TEST(CollectorProgram, HelpDescribesTheOptions) {
  Platform::ChildProcess child;
  ASSERT_TRUE(child.Start(L"\"" + CollectorProgram() + L"\" --help"));
  const std::string help = ReadUntil(child, [](const std::string&) { return false; }, std::chrono::seconds(30));
  EXPECT_EQ(child.WaitForExit(), 0u);
  for (const char* option : {"--port", "--output", "--status", "--path", "--exit-after", "127.0.0.1"})
    EXPECT_THAT(help, testing::HasSubstr(option));
}

TEST(CollectorProgram, PrintsItsPortAndAppendsEachRecordAsOneLine) {
  analytics_test::TempFolder folder;
  const std::string output = (folder.Path() / "records.jsonl").string();
  Platform::ChildProcess child;
  ASSERT_TRUE(child.Start(L"\"" + CollectorProgram() + L"\" --port 0 --exit-after 3 --output \"" +
                          Utils::Utf8ToWide(output) + L"\""));
  const std::string banner = ReadUntil(
      child, [](const std::string& text) { return text.find('\n') != std::string::npos; }, std::chrono::seconds(30));
  const std::string prefix = "listening on http://127.0.0.1:";
  ASSERT_EQ(banner.rfind(prefix, 0), 0u) << banner;
  const std::string url = banner.substr(13, banner.find('\n') - 13);

  analytics_sdk::RecordStore store(url, folder.Slash());
  store.Add(R"({"n":1})");
  store.Add(R"({"s":"a b\n"})");
  store.Add(R"({"n":3})");
  EXPECT_TRUE(store.FlushAll());
  ReadUntil(child, [](const std::string&) { return false; }, std::chrono::seconds(30));  // to end of output
  EXPECT_EQ(child.WaitForExit(), 0u);
  EXPECT_EQ(analytics_test::ReadFile(output), "{\"n\":1}\n{\"s\":\"a b\\n\"}\n{\"n\":3}\n");
}

}  // namespace
