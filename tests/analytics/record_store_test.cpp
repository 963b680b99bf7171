// The record queue, its encoding and its posts, against a real collector on
// 127.0.0.1, and its data file across a restart.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "analytics/sdk/batch_encoding.h"
#include "analytics/sdk/record_store.h"
#include "analytics/sdk/sdk.h"
#include "tests/analytics/analytics_test_support.h"
#include "tests/support/log_capture.h"
#include "tools/collector/collector_core.h"
#include "tools/collector/collector_server.h"

namespace {

using analytics_sdk::RecordStore;
using analytics_test::ReadFile;
using analytics_test::TempFolder;
using analytics_test::WriteFile;
using testing::ElementsAre;

std::string Rec(int n) { return "{\"n\":" + std::to_string(n) + "}"; }

std::vector<std::string> Recs(int from, int to) {
  std::vector<std::string> out;
  for (int i = from; i < to; ++i) out.push_back(Rec(i));
  return out;
}

std::vector<std::string> AsVector(const std::deque<std::string>& d) { return {d.begin(), d.end()}; }

class CollectorFixture : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(collector_.Start(0)); }
  collector::CollectorServer collector_;
  TempFolder folder_;
};

TEST(BatchEncoding, BodyIsFormOfUrlEncodedBase64GzipAndDecodesBack) {
  const std::string batch = "[" + Rec(1) + "," + "{\"s\":\"\xE5\xB4\xA9 +/=\"}" + "]";
  std::string body;
  ASSERT_TRUE(analytics_sdk::EncodeBatchBody(batch, body));
  EXPECT_EQ(body.rfind("data_list=H4sI", 0), 0u);
  EXPECT_EQ(body.substr(body.size() - 7), "&gzip=1");
  const std::string encoded = body.substr(10, body.size() - 17);
  EXPECT_EQ(encoded.find_first_of("+/="), std::string::npos);

  std::vector<std::string> records;
  std::string error;
  ASSERT_TRUE(collector::DecodePost(body, records, error)) << error;
  EXPECT_THAT(records, ElementsAre(Rec(1), "{\"s\":\"\xE5\xB4\xA9 +/=\"}"));
}

TEST(BatchEncoding, Base64AndUrlEncodingTables) {
  EXPECT_EQ(analytics_sdk::Base64Encode(""), "");
  EXPECT_EQ(analytics_sdk::Base64Encode("f"), "Zg==");
  EXPECT_EQ(analytics_sdk::Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(analytics_sdk::Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(analytics_sdk::Base64Encode("\xFB\xFF"), "+/8=");
  EXPECT_EQ(analytics_sdk::UrlEncodeForm("aZ09-._~+/= \xE5"), "aZ09-._~%2B%2F%3D%20%E5");
}

TEST(RecordQueue, A1025thRecordPushesOutTheOldest) {
  TempFolder folder;
  RecordStore store("", folder.Slash());
  for (int i = 0; i < 1025; ++i) store.Add(Rec(i));
  const auto queued = store.QueuedRecords();
  ASSERT_EQ(queued.size(), 1024u);
  EXPECT_EQ(queued.front(), Rec(1));
  EXPECT_EQ(queued.back(), Rec(1024));
}

TEST_F(CollectorFixture, FlushAllSends65RecordsAs30And30And5InOrder) {
  RecordStore store(collector_.Url(), folder_.Slash());
  for (int i = 0; i < 65; ++i) store.Add(Rec(i));
  EXPECT_TRUE(store.FlushAll());
  EXPECT_THAT(collector_.AcceptedBatches(), ElementsAre(Recs(0, 30), Recs(30, 60), Recs(60, 65)));
  EXPECT_TRUE(store.QueuedRecords().empty());
}

TEST_F(CollectorFixture, AFailedBatchReturnsToTheFrontWithItsMessages) {
  collector_.SetResponseStatus(500);
  LogCapture debugOutput;
  analytics_test::ConsoleCapture console;
  RecordStore store(collector_.Url(), folder_.Slash());
  for (int i = 0; i < 40; ++i) store.Add(Rec(i));
  EXPECT_FALSE(store.FlushAll());
  EXPECT_EQ(AsVector(store.QueuedRecords()), Recs(0, 40));
  EXPECT_EQ(collector_.PostCount(), 1u);  // flush-all stops at the first failed batch
  EXPECT_TRUE(debugOutput.Contains(L"[analytics] Analytics SDK send failed"));
  EXPECT_THAT(console.Err(), ElementsAre("Analytics SDK send failed: refused"));
}

TEST_F(CollectorFixture, OnlyTheNewestOfAFailedBatchReturnWhenRoomIsShort) {
  collector_.SetResponseStatus(500);
  analytics_test::ConsoleCapture quiet;
  LogCapture quietDebug;
  RecordStore store(collector_.Url(), folder_.Slash());
  for (int i = 0; i < 1024; ++i) store.Add(Rec(i));
  // While batch 0..29 is out, 6 more arrive: 1000 wait behind it, room for 24.
  collector_.SetPostHook([&] {
    for (int i = 1024; i < 1030; ++i) store.Add(Rec(i));
  });
  EXPECT_FALSE(store.FlushPart());
  collector_.SetPostHook(nullptr);
  EXPECT_EQ(AsVector(store.QueuedRecords()), Recs(6, 1030));
}

TEST_F(CollectorFixture, DataFileIsMergedAtTheFirstFlushAndWrittenAtClose) {
  const std::string dataFile = folder_.Slash() + RecordStore::kDataFileName;
  WriteFile(dataFile, Rec(1) + "\n\nx\n" + Rec(2) + "\n");
  collector_.SetResponseStatus(500);
  analytics_test::ConsoleCapture quiet;
  LogCapture quietDebug;
  {
    RecordStore store(collector_.Url(), folder_.Slash());
    store.Add(Rec(3));
    EXPECT_FALSE(store.FlushAll());
    EXPECT_THAT(AsVector(store.QueuedRecords()), ElementsAre(Rec(1), Rec(2), Rec(3)));
    EXPECT_EQ(ReadFile(dataFile), "");
    store.Add(Rec(4));
    store.Close();
  }
  EXPECT_EQ(ReadFile(dataFile), Rec(1) + "\n" + Rec(2) + "\n" + Rec(3) + "\n" + Rec(4) + "\n");

  // The next run sends them first, in order.
  collector_.SetResponseStatus(200);
  RecordStore next(collector_.Url(), folder_.Slash());
  next.Add(Rec(5));
  EXPECT_TRUE(next.FlushAll());
  EXPECT_THAT(collector_.Records(), ElementsAre(Rec(1), Rec(2), Rec(3), Rec(4), Rec(5)));
  next.Close();
  EXPECT_EQ(ReadFile(dataFile), "");
}

TEST_F(CollectorFixture, AFullQueueKeepsOnlyTheNewestLinesOfTheDataFile) {
  const std::string dataFile = folder_.Slash() + RecordStore::kDataFileName;
  std::string lines;
  for (int i = 0; i < 10; ++i) lines += Rec(i) + "\n";
  WriteFile(dataFile, lines);
  RecordStore store("", folder_.Slash());
  for (int i = 100; i < 100 + 1020; ++i) store.Add(Rec(i));
  store.Close();  // loads first: room 4 takes the file's last 4 lines
  const std::string written = ReadFile(dataFile);
  EXPECT_EQ(written.rfind(Rec(6) + "\n" + Rec(7) + "\n" + Rec(8) + "\n" + Rec(9) + "\n" + Rec(100) + "\n", 0), 0u);
}

TEST(RecordQueue, AnUnreachableCollectorFailsTheFlushAndKeepsTheRecords) {
  // A closed loopback port: the transfer itself fails (status -1).
  int port = 0;
  {
    collector::CollectorServer probe;
    ASSERT_TRUE(probe.Start(0));
    port = probe.Port();
  }
  TempFolder folder;
  analytics_test::ConsoleCapture console;
  LogCapture quietDebug;
  RecordStore store("http://127.0.0.1:" + std::to_string(port) + "/collect", folder.Slash());
  store.Add(Rec(1));
  EXPECT_FALSE(store.FlushAll());
  EXPECT_THAT(AsVector(store.QueuedRecords()), ElementsAre(Rec(1)));
  ASSERT_FALSE(console.Err().empty());
  EXPECT_EQ(console.Err()[0].rfind("Analytics SDK send failed: ", 0), 0u);
}

}  // namespace
