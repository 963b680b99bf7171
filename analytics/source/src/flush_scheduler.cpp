#include "analytics/source/src/flush_scheduler.h"

#include <chrono>
#include <thread>

#include "analytics/sdk/last_send_status.h"
#include "analytics/sdk/sdk.h"
#include "platform/debug_output.h"
#include "utils/thread.h"

namespace pelko {
namespace analytics {
namespace {

// One flush request at a time in the whole process; workers queue behind it.
std::mutex g_flushRequestMutex;

}  // namespace

struct FlushScheduler::Worker {
  std::atomic<bool> finished{false};
  std::unique_ptr<Utils::Thread> thread;
};

FlushScheduler::FlushScheduler(std::atomic<int32_t>& pendingRecordCount) : pending_(pendingRecordCount) {}

FlushScheduler::~FlushScheduler() { StopAndJoin(); }

void FlushScheduler::RunFlush(bool sendNow) {
  std::lock_guard<std::mutex> lock(g_flushRequestMutex);
  if (!sendNow) {
    if (!stopping_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    pending_.fetch_add(1);
    return;
  }
  for (int attempt = 0; attempt < 3 && pending_.load() > 0; ++attempt) {
    if (stopping_.load()) return;  // shutdown flushes on its own
    if (analytics_sdk::Sdk::Exists() && analytics_sdk::Sdk::Flush()) {
      pending_.store(0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void FlushScheduler::RequestFlush(bool sendNow) {
  if (stopping_.load()) return;
  ReapFinishedWorkers();
  if (analytics_sdk::LastSendSucceeded()) {
    RunFlush(sendNow);
    return;
  }
  Platform::DebugOutput(L"[Analytics] Sending messages asynchronously");
  auto worker = std::make_unique<Worker>();
  Worker* raw = worker.get();
  worker->thread = std::make_unique<Utils::Thread>(nullptr, L"analytics-flush", [this, raw, sendNow](void*) {
    RunFlush(sendNow);
    raw->finished.store(true);
  });
  std::lock_guard<std::mutex> lock(workersMutex_);
  if (stopping_.load()) return;  // the unstarted thread is cancelled by its destructor
  worker->thread->Resume();
  workers_.push_back(std::move(worker));
}

void FlushScheduler::ReapFinishedWorkers() {
  std::list<std::unique_ptr<Worker>> finished;
  {
    std::lock_guard<std::mutex> lock(workersMutex_);
    for (auto it = workers_.begin(); it != workers_.end();) {
      if ((*it)->finished.load()) {
        finished.push_back(std::move(*it));
        it = workers_.erase(it);
      } else {
        ++it;
      }
    }
  }
  // Joined here, outside the lock: each has already left its flush.
}

void FlushScheduler::StopAndJoin() {
  std::list<std::unique_ptr<Worker>> all;
  {
    std::lock_guard<std::mutex> lock(workersMutex_);
    stopping_.store(true);
    all.swap(workers_);
  }
  all.clear();  // each Utils::Thread joins in its destructor
}

}  // namespace analytics
}  // namespace pelko
