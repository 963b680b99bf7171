// The process-wide tracker between InitTracker and ReleaseTracker.
#include <mutex>

#include "analytics/analytics_tracker.h"
#include "analytics/source/src/analytics_tracker_impl.h"
#include "analytics/source/src/analytics_tracker_wrapper.h"

namespace pelko {
namespace analytics {
namespace {

std::mutex g_trackerMutex;
std::shared_ptr<AnalyticsTracker> g_tracker;

}  // namespace

void InitTracker(const TrackerConfig& config) {
  std::shared_ptr<AnalyticsTracker> previous;
  try {
    auto impl = std::make_unique<AnalyticsTrackerImpl>(config);
    try {
      impl->init();
    } catch (...) {
      // A half-initialised tracker is still published; its operations do nothing.
    }
    auto wrapper = std::make_shared<AnalyticsTrackerWrapper>(std::move(impl));
    std::lock_guard<std::mutex> lock(g_trackerMutex);
    previous = std::move(g_tracker);
    g_tracker = std::move(wrapper);
  } catch (...) {
  }
  // The previous tracker (if this was its last holder) shuts down here, outside the lock.
  previous.reset();
}

void ReleaseTracker() {
  std::shared_ptr<AnalyticsTracker> released;
  {
    std::lock_guard<std::mutex> lock(g_trackerMutex);
    released = std::move(g_tracker);
  }
  released.reset();
}

std::shared_ptr<AnalyticsTracker> GetTracker() {
  std::lock_guard<std::mutex> lock(g_trackerMutex);
  return g_tracker;
}

}  // namespace analytics
}  // namespace pelko
