#include "analytics/sdk/last_send_status.h"

#include <mutex>

namespace analytics_sdk {
namespace {

std::mutex g_mutex;
bool g_lastSendSucceeded = false;

}  // namespace

bool LastSendSucceeded() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_lastSendSucceeded;
}

void SetLastSendSucceeded(bool succeeded) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_lastSendSucceeded = succeeded;
}

}  // namespace analytics_sdk
