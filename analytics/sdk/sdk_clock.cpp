#include "analytics/sdk/sdk_clock.h"

#include <chrono>
#include <memory>
#include <mutex>

namespace analytics_sdk {
namespace {

std::mutex g_mutex;
std::shared_ptr<std::function<int64_t()>> g_source;

}  // namespace

int64_t NowMilliseconds() {
  std::shared_ptr<std::function<int64_t()>> source;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    source = g_source;
  }
  if (source) return (*source)();
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void SetClockForTesting(std::function<int64_t()> nowMilliseconds) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_source = nowMilliseconds ? std::make_shared<std::function<int64_t()>>(std::move(nowMilliseconds)) : nullptr;
}

}  // namespace analytics_sdk
