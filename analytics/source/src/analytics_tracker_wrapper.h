// What InitTracker publishes: forwards every operation to the inner tracker
// and turns any exception of operations 1 to 15 into one "Failed to <op>"
// line on standard output (only when the inner tracker has a logger).
#pragma once
#include <memory>

#include "analytics/analytics_tracker.h"

namespace pelko {
namespace analytics {

class AnalyticsTrackerWrapper : public AnalyticsTracker {
 public:
  explicit AnalyticsTrackerWrapper(std::unique_ptr<AnalyticsTracker> inner) : inner_(std::move(inner)) {}

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
  TrackLogger* getLogger() override { return nullptr; }

 private:
  template <typename Call>
  void Guarded(const char* operation, Call&& call);

  std::unique_ptr<AnalyticsTracker> inner_;
};

}  // namespace analytics
}  // namespace pelko
