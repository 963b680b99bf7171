// When queued records are sent. While the last post succeeded, a flush
// request runs on the caller's thread; otherwise it runs on a worker thread
// so that tracking never waits for a failing collector. Flush requests of
// the whole process are serialised. Workers are owned: StopAndJoin lets each
// finish its current post (bounded by the request timeout), skips the rest
// and joins them, so none outlives the Sdk.
#pragma once
#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

namespace Utils {
class Thread;
}

namespace pelko {
namespace analytics {

class FlushScheduler {
 public:
  explicit FlushScheduler(std::atomic<int32_t>& pendingRecordCount);
  ~FlushScheduler();
  FlushScheduler(const FlushScheduler&) = delete;
  FlushScheduler& operator=(const FlushScheduler&) = delete;

  // sendNow false only counts the record; true flushes while records are pending.
  void RequestFlush(bool sendNow);
  void StopAndJoin();

 private:
  struct Worker;
  void RunFlush(bool sendNow);
  void ReapFinishedWorkers();

  std::atomic<int32_t>& pending_;
  std::atomic<bool> stopping_{false};
  std::mutex workersMutex_;
  std::list<std::unique_ptr<Worker>> workers_;
};

}  // namespace analytics
}  // namespace pelko
