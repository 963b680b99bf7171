#include "analytics/source/src/analytics_tracker_wrapper.h"

#include "analytics/sdk/sdk_console.h"

namespace pelko {
namespace analytics {

template <typename Call>
void AnalyticsTrackerWrapper::Guarded(const char* operation, Call&& call) {
  if (!inner_) return;
  try {
    call(*inner_);
  } catch (...) {
    try {
      if (inner_->getLogger()) analytics_sdk::WriteOutput(std::string("Failed to ") + operation);
    } catch (...) {
    }
  }
}

void AnalyticsTrackerWrapper::trackActivity(const PkContextProperties& c) {
  Guarded("trackActivity", [&](AnalyticsTracker& t) { t.trackActivity(c); });
}
void AnalyticsTrackerWrapper::trackLaunch(const PkContextProperties& c) {
  Guarded("trackLaunch", [&](AnalyticsTracker& t) { t.trackLaunch(c); });
}
void AnalyticsTrackerWrapper::trackLogin(const PkEventLogin& login, bool success, const std::string& reason,
                                         const PkContextProperties& c) {
  Guarded("trackLogin", [&](AnalyticsTracker& t) { t.trackLogin(login, success, reason, c); });
}
void AnalyticsTrackerWrapper::trackClick(const PkEventClick& e, const PkContextProperties& c) {
  Guarded("trackClick", [&](AnalyticsTracker& t) { t.trackClick(e, c); });
}
void AnalyticsTrackerWrapper::trackView(const PkEventView& e, const PkContextProperties& c) {
  Guarded("trackView", [&](AnalyticsTracker& t) { t.trackView(e, c); });
}
void AnalyticsTrackerWrapper::trackCashier(const PkEventCashier& e, const PkContextProperties& c) {
  Guarded("trackCashier", [&](AnalyticsTracker& t) { t.trackCashier(e, c); });
}
void AnalyticsTrackerWrapper::trackShare(const PkEventShare& e, const PkContextProperties& c) {
  Guarded("trackShare", [&](AnalyticsTracker& t) { t.trackShare(e, c); });
}
void AnalyticsTrackerWrapper::trackTask(const PkEventTask& e, const PkContextProperties& c) {
  Guarded("trackTask", [&](AnalyticsTracker& t) { t.trackTask(e, c); });
}
void AnalyticsTrackerWrapper::trackFile(const PkEventFile& e, const PkContextProperties& c) {
  Guarded("trackFile", [&](AnalyticsTracker& t) { t.trackFile(e, c); });
}
void AnalyticsTrackerWrapper::trackOrder(const PkEventOrder& e, const PkContextProperties& c) {
  Guarded("trackOrder", [&](AnalyticsTracker& t) { t.trackOrder(e, c); });
}
void AnalyticsTrackerWrapper::trackPayment(const PkEventPayment& e, const PkContextProperties& c) {
  Guarded("trackPayment", [&](AnalyticsTracker& t) { t.trackPayment(e, c); });
}
void AnalyticsTrackerWrapper::trackUninstall(const std::string& reason, const PkContextProperties& c) {
  Guarded("trackUninstall", [&](AnalyticsTracker& t) { t.trackUninstall(reason, c); });
}
void AnalyticsTrackerWrapper::trackCrash(const std::string& reason) {
  Guarded("trackCrash", [&](AnalyticsTracker& t) { t.trackCrash(reason); });
}
void AnalyticsTrackerWrapper::trackUpdate(const PkEventUpdate& e, const PkContextProperties& c) {
  Guarded("trackUpdate", [&](AnalyticsTracker& t) { t.trackUpdate(e, c); });
}
void AnalyticsTrackerWrapper::trackAppOpenNotification(const AppOpenNotification* e, const PkContextProperties& c) {
  Guarded("trackAppOpenNotification", [&](AnalyticsTracker& t) { t.trackAppOpenNotification(e, c); });
}

void AnalyticsTrackerWrapper::setLocale(const std::string& locale) {
  if (inner_) inner_->setLocale(locale);
}

std::string AnalyticsTrackerWrapper::getPrimaryDistinctId() {
  return inner_ ? inner_->getPrimaryDistinctId() : std::string();
}

}  // namespace analytics
}  // namespace pelko
