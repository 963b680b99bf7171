// Tracking from several threads while the collector flaps between success
// and failure: every record arrives exactly once and in each thread's order,
// and no flush worker outlives the tracker.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "analytics/installer_reports.h"
#include "tests/analytics/tracker_fixture.h"
#include "tests/support/log_capture.h"

namespace {

class ConcurrentTracking : public analytics_test::TrackerFixture {};

TEST_F(ConcurrentTracking, EightThreadsAgainstAFlappingCollectorLoseNothing) {
  constexpr int kThreads = 8;
  constexpr int kTasksPerThread = 40;
  constexpr int kCrashEvery = 10;  // a crash report asks for a flush
  LogCapture quietDebug;
  analytics_test::ConsoleCapture quietConsole;
  collector_.SetResponsePattern({500, 200, 500, 500, 200});
  pelko::analytics::InitTracker(Config());
  {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([t] {
        auto tracker = pelko::analytics::GetTracker();
        for (int i = 0; i < kTasksPerThread; ++i) {
          pelko::analytics::PkEventTask task;
          task.name = "t" + std::to_string(t) + "-" + std::to_string(i);
          tracker->trackTask(task, pelko::analytics::PkContextProperties());
          if (i % kCrashEvery == kCrashEvery - 1) tracker->trackCrash("c" + std::to_string(t) + "-" + std::to_string(i));
        }
      });
    }
    for (auto& thread : threads) thread.join();
  }
  collector_.SetResponsePattern({});
  pelko::analytics::ReleaseTracker();  // joins the workers, flushes the rest

  const size_t expected = kThreads * (kTasksPerThread + kTasksPerThread / kCrashEvery);
  ASSERT_TRUE(collector_.WaitForRecords(expected, std::chrono::seconds(60)));
  std::map<std::string, int> seen;
  std::map<int, int> lastTaskOfThread;
  for (const auto& record : collector_.Records()) {
    const std::string task = analytics_test::StringProperty(record, "pk_task_name");
    const std::string crash = analytics_test::StringProperty(record, "app_crashed_reason");
    ASSERT_FALSE(task.empty() && crash.empty()) << record;
    ++seen[task.empty() ? crash : task];
    if (!task.empty()) {
      const int thread = std::stoi(task.substr(1));
      const int index = std::stoi(task.substr(task.find('-') + 1));
      auto last = lastTaskOfThread.find(thread);
      if (last != lastTaskOfThread.end()) {
        EXPECT_GT(index, last->second) << "thread " << thread;
      }
      lastTaskOfThread[thread] = index;
    }
  }
  EXPECT_EQ(seen.size(), expected);
  for (const auto& entry : seen) EXPECT_EQ(entry.second, 1) << entry.first;
  EXPECT_FALSE(analytics_sdk::Sdk::Exists());
}

TEST_F(ConcurrentTracking, ReportsFromManyThreadsWhileTheTrackerIsReleased) {
  LogCapture quietDebug;
  analytics_test::ConsoleCapture quietConsole;
  collector_.SetResponseStatus(500);
  pelko::analytics::InitTracker(Config());
  std::mutex mutex;
  std::condition_variable started;
  int running = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 50; ++i) {
        ReportClick(L"立即安装", {{L"AB", L"IN"}});
        ReportCrash();
        if (i == 0) {
          std::lock_guard<std::mutex> lock(mutex);
          ++running;
          started.notify_all();
        }
      }
    });
  }
  {
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(started.wait_for(lock, std::chrono::seconds(30), [&] { return running == 4; }));
  }
  pelko::analytics::ReleaseTracker();  // the last report holding the tracker shuts it down
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(pelko::analytics::GetTracker(), nullptr);
  EXPECT_FALSE(analytics_sdk::Sdk::Exists());
  // What could not be sent waits in the data file.
  const std::string data = analytics_test::ReadFile(AnalyticsFolder() / "PKSRecords.txt");
  EXPECT_THAT(data, testing::HasSubstr("PkEventClick"));
}

TEST_F(ConcurrentTracking, ReleasingWaitsForTheFlushWorkerInsteadOfLeavingItRunning) {
  LogCapture quietDebug;
  analytics_test::ConsoleCapture quietConsole;
  std::mutex mutex;
  std::condition_variable changed;
  bool postArrived = false;
  bool released = false;
  std::vector<std::string> order;
  int posts = 0;
  collector_.SetResponseStatus(500);
  // The worker's post is held until the tracker is released, for at most a
  // second (below the 3-second request timeout): a release that waits for
  // the worker therefore returns only after the post was answered.
  collector_.SetPostHook([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (++posts != 1) return;
    postArrived = true;
    changed.notify_all();
    changed.wait_for(lock, std::chrono::seconds(1), [&] { return released; });
    order.push_back("post answered");
  });
  pelko::analytics::InitTracker(Config());
  pelko::analytics::PkEventClick click;
  click.name = "c";
  pelko::analytics::GetTracker()->trackClick(click, pelko::analytics::PkContextProperties());
  pelko::analytics::GetTracker()->trackCrash("x");  // the last send failed: a worker flushes
  {
    std::unique_lock<std::mutex> lock(mutex);
    ASSERT_TRUE(changed.wait_for(lock, std::chrono::seconds(30), [&] { return postArrived; }));
  }
  pelko::analytics::ReleaseTracker();
  {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
    order.push_back("released");
  }
  changed.notify_all();
  collector_.SetPostHook(nullptr);
  EXPECT_THAT(order, testing::ElementsAre("post answered", "released"));
  EXPECT_FALSE(analytics_sdk::Sdk::Exists());
  EXPECT_THAT(analytics_test::ReadFile(AnalyticsFolder() / "PKSRecords.txt"), testing::HasSubstr("AppCrashed"));
}

}  // namespace
