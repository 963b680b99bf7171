#include "utils/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "platform/process_info.h"
#include "tests/support/log_capture.h"

namespace {

TEST(Thread, RunsOnceResumedAndLogsBeginAndEnd) {
  LogCapture capture;
  std::atomic<int> calls{0};
  std::atomic<uint32_t> ranOn{0};
  {
    Utils::Thread thread(&calls, L"ABDEF", [&ranOn](void* parameter) {
      static_cast<std::atomic<int>*>(parameter)->fetch_add(1);
      ranOn = Platform::CurrentThreadId();
    });
    ASSERT_TRUE(thread.HasHandle());
    EXPECT_EQ(thread.DebuggerName(), "ABDEF");
    const uint32_t id = thread.Id();
    EXPECT_NE(id, 0xFFFFFFFFu);
    thread.Resume();
    thread.Join();
    EXPECT_EQ(ranOn.load(), id);
    EXPECT_EQ(thread.Id(), 0xFFFFFFFFu);
    EXPECT_FALSE(thread.HasHandle());
    thread.Join();  // a second join does nothing more
  }
  EXPECT_EQ(calls.load(), 1);
  const auto records = capture.Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NE(records[0].find(L"(Utils::Thread::CallBack)"), std::wstring::npos);
  EXPECT_EQ(records[0].substr(records[0].find(L">: ")), L">: THREAD BEGIN\r\n");
  EXPECT_EQ(records[1].substr(records[1].find(L">: ")), L">: THREAD END\r\n");
}

TEST(Thread, EmptyNameBecomesTPlusTheThreadId) {
  Utils::Thread thread(nullptr, L"", [](void*) {});
  ASSERT_TRUE(thread.HasHandle());
  EXPECT_EQ(thread.DebuggerName(), "t" + std::to_string(thread.Id()));
  thread.Resume();
}

TEST(Thread, NeverResumedThreadEndsWithoutRunningItsWork) {
  LogCapture capture;
  bool ran = false;
  {
    Utils::Thread thread(&ran, L"idle", [](void* parameter) { *static_cast<bool*>(parameter) = true; });
    ASSERT_TRUE(thread.HasHandle());
  }  // destruction joins
  EXPECT_FALSE(ran);
  EXPECT_TRUE(capture.Records().empty());
}

}  // namespace
