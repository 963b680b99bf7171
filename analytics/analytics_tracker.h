// The installer's way into analytics: the AnalyticsTracker interface, the
// configuration it is created from, and the process-wide tracker that
// InitTracker publishes and ReleaseTracker drops (releasing flushes queued
// records and keeps the rest in the analytics folder for the next run).
// Every event operation may be called from any thread; the published
// wrapper never lets an exception out of operations 1 to 15.
#pragma once
#include <memory>
#include <string>

#include "analytics/pk_event_records.h"
#include "analytics/source/src/pk_context_properties.h"
#include "analytics/track_logger.h"

namespace pelko {
namespace analytics {

class AnalyticsTracker {
 public:
  virtual ~AnalyticsTracker() = default;
  virtual void trackActivity(const PkContextProperties& context) = 0;
  virtual void trackLaunch(const PkContextProperties& context) = 0;
  virtual void trackLogin(const PkEventLogin& login, bool success, const std::string& reason,
                          const PkContextProperties& context) = 0;
  virtual void trackClick(const PkEventClick& event, const PkContextProperties& context) = 0;
  virtual void trackView(const PkEventView& event, const PkContextProperties& context) = 0;
  virtual void trackCashier(const PkEventCashier& event, const PkContextProperties& context) = 0;
  virtual void trackShare(const PkEventShare& event, const PkContextProperties& context) = 0;
  virtual void trackTask(const PkEventTask& event, const PkContextProperties& context) = 0;
  virtual void trackFile(const PkEventFile& event, const PkContextProperties& context) = 0;
  virtual void trackOrder(const PkEventOrder& event, const PkContextProperties& context) = 0;
  virtual void trackPayment(const PkEventPayment& event, const PkContextProperties& context) = 0;
  virtual void trackUninstall(const std::string& reason, const PkContextProperties& context) = 0;
  virtual void trackCrash(const std::string& reason) = 0;
  virtual void trackUpdate(const PkEventUpdate& event, const PkContextProperties& context) = 0;
  virtual void trackAppOpenNotification(const AppOpenNotification* event, const PkContextProperties& context) = 0;
  virtual void setLocale(const std::string& locale) = 0;
  virtual std::string getPrimaryDistinctId() = 0;
  virtual TrackLogger* getLogger() = 0;
};

// Texts are UTF-8 (ANSI text is converted). Empty `serverUrl`: records are
// kept in the analytics folder until a run that has a collector URL.
struct TrackerConfig {
  std::string appName;
  std::string appVersion;
  std::string appStore;
  std::string dlAppId;
  std::string dlAppVersion;
  std::string reserved;  // accepted and ignored
  std::string logFilePath;
  int edition = 0;  // Edition
  std::string serverUrl;
  // Where the analytics folder is looked for; empty means the system's
  // folders and the running executable (tests and portable runs set them).
  std::string baseFolder;
  std::string executablePath;
};

// Creates, initialises (failures are swallowed) and publishes a tracker,
// releasing any previous one.
void InitTracker(const TrackerConfig& config);
// Drops the published tracker; the last holder's release flushes and persists.
void ReleaseTracker();
// A copy of the published tracker, or null.
std::shared_ptr<AnalyticsTracker> GetTracker();

}  // namespace analytics
}  // namespace pelko
