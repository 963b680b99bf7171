// The tracker itself: initialisation (identity, files, Sdk, common
// properties), the fifteen event operations and shutdown (flush, persist).
// Operations throw PkException on invalid records; the wrapper catches.
#pragma once
#include <memory>
#include <string>

#include "analytics/analytics_tracker.h"
#include "analytics/source/src/flush_scheduler.h"
#include "analytics/source/src/tracker_context.h"

namespace analytics_sdk {
class PropertiesNode;
}

namespace pelko {
namespace analytics {

class NativeTrackLogger;

class AnalyticsTrackerImpl : public AnalyticsTracker {
 public:
  explicit AnalyticsTrackerImpl(const TrackerConfig& config);
  ~AnalyticsTrackerImpl() override;  // shutdown

  // Throws PkException (function "init") at the first failure.
  void init();

  void trackActivity(const PkContextProperties& context) override;
  void trackLaunch(const PkContextProperties& context) override;
  void trackLogin(const PkEventLogin& login, bool success, const std::string& reason,
                  const PkContextProperties& context) override;
  void trackClick(const PkEventClick& event, const PkContextProperties& context) override;
  void trackView(const PkEventView& event, const PkContextProperties& context) override;
  void trackCashier(const PkEventCashier& event, const PkContextProperties& context) override;
  void trackShare(const PkEventShare& event, const PkContextProperties& context) override;
  void trackTask(const PkEventTask& event, const PkContextProperties& context) override;
  void trackFile(const PkEventFile& event, const PkContextProperties& context) override;
  void trackOrder(const PkEventOrder& event, const PkContextProperties& context) override;
  void trackPayment(const PkEventPayment& event, const PkContextProperties& context) override;
  void trackUninstall(const std::string& reason, const PkContextProperties& context) override;
  void trackCrash(const std::string& reason) override;
  void trackUpdate(const PkEventUpdate& event, const PkContextProperties& context) override;
  void trackAppOpenNotification(const AppOpenNotification* event, const PkContextProperties& context) override;
  void setLocale(const std::string& locale) override;
  std::string getPrimaryDistinctId() override;
  TrackLogger* getLogger() override;

  TrackerContext& Context() { return *context_; }

 private:
  void RequestFlush(bool sendNow) { scheduler_->RequestFlush(sendNow); }
  std::string CurrentUserId();

  std::string serverUrl_;
  std::string appName_;
  std::string appVersion_;
  std::string appStore_;
  std::string dlAppId_;
  std::string dlAppVersion_;
  std::unique_ptr<NativeTrackLogger> logger_;
  int edition_ = 0;
  std::unique_ptr<TrackerContext> context_;
  std::string baseFolder_;
  std::string executablePath_;
  std::unique_ptr<FlushScheduler> scheduler_;
};

// Text that fails the UTF-8 check is read as ANSI text and converted.
std::string ToUtf8Text(const std::string& text);

}  // namespace analytics
}  // namespace pelko
