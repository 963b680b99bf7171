// The installer's four report functions over the published tracker. A report
// made while no tracker is published is dropped.
#include "analytics/installer_reports.h"

#include <memory>
#include <mutex>

#include "analytics/analytics_tracker.h"
#include "app/installer_settings.h"
#include "utils/text.h"

namespace {

using pelko::analytics::PkContextProperties;

std::mutex g_observerMutex;
std::shared_ptr<ReportObserver> g_observer;

void Observe(const ReportCall& call) {
  std::shared_ptr<ReportObserver> observer;
  {
    std::lock_guard<std::mutex> lock(g_observerMutex);
    observer = g_observer;
  }
  if (observer) (*observer)(call);
}

// The tracker to report to, or null when analytics is off or not started.
std::shared_ptr<pelko::analytics::AnalyticsTracker> ReportTarget() {
  if (!Settings().IsEnableAppAnalytics) return nullptr;
  return pelko::analytics::GetTracker();
}

// "AB" becomes "pkc_ab" for the event type when it passes the A/B check; an
// invalid value is left out rather than stopping the report.
void AddAbGroup(PkContextProperties& context, const ReportProperties& properties, int eventType) {
  auto ab = properties.find(L"AB");
  if (ab == properties.end()) return;
  const std::string value = Utils::WideToUtf8(ab->second);
  try {
    if (PkContextProperties::isValidABValue(value))
      context.setProperty(PkContextProperties::kAbKey, value, {eventType});
  } catch (...) {
  }
}

template <typename Report>
void Guarded(Report&& report) {
  try {
    report();
  } catch (...) {
    // A report never disturbs the installer.
  }
}

}  // namespace

void SetReportObserver(ReportObserver observer) {
  std::lock_guard<std::mutex> lock(g_observerMutex);
  g_observer = observer ? std::make_shared<ReportObserver>(std::move(observer)) : nullptr;
}

void ReportTask(const std::wstring& taskName, const std::wstring& reason, float elapsedSeconds,
                const ReportProperties& properties) {
  Guarded([&] {
    Observe({ReportCall::Kind::Task, taskName, reason, elapsedSeconds, properties});
    auto tracker = ReportTarget();
    if (!tracker) return;
    PkContextProperties context;
    AddAbGroup(context, properties, static_cast<int>(pelko::analytics::PkEventType::Task));
    pelko::analytics::PkEventTask event;
    event.name = Utils::WideToUtf8(taskName);
    event.reason = Utils::WideToUtf8(reason);
    event.elapsed = std::make_shared<float>(elapsedSeconds);
    tracker->trackTask(event, context);
  });
}

void ReportClick(const std::wstring& clickName, const ReportProperties& properties) {
  Guarded([&] {
    Observe({ReportCall::Kind::Click, clickName, L"", 0.0f, properties});
    auto tracker = ReportTarget();
    if (!tracker) return;
    PkContextProperties context;
    AddAbGroup(context, properties, static_cast<int>(pelko::analytics::PkEventType::Click));
    pelko::analytics::PkEventClick event;
    event.name = Utils::WideToUtf8(clickName);
    event.clickType = pelko::analytics::PkClickType::Button;
    tracker->trackClick(event, context);
  });
}

void ReportView(const std::wstring& viewName, const ReportProperties& properties) {
  Guarded([&] {
    Observe({ReportCall::Kind::View, viewName, L"", 0.0f, properties});
    auto tracker = ReportTarget();
    if (!tracker) return;
    PkContextProperties context;
    AddAbGroup(context, properties, static_cast<int>(pelko::analytics::PkEventType::View));
    pelko::analytics::PkEventView event;
    event.name = Utils::WideToUtf8(viewName);
    tracker->trackView(event, context);
  });
}

void ReportCrash() {
  Guarded([&] {
    Observe({ReportCall::Kind::Crash, L"", L"", 0.0f, {}});
    auto tracker = ReportTarget();
    if (!tracker) return;
    tracker->trackCrash(u8"崩溃");
  });
}

pelko::analytics::TrackerConfig InstallerTrackerConfig(const std::wstring& collectorUrl) {
  const InstallerSettings& s = Settings();
  pelko::analytics::TrackerConfig config;
  config.appName = Utils::WideToUtf8(s.productEnglishName + s.DlAppNameSuffix);
  config.appVersion = Utils::WideToUtf8(s.installerVersion);
  config.appStore = Utils::WideToUtf8(s.installerFileName);
  config.dlAppId = Utils::WideToUtf8(s.productEnglishName);
  config.dlAppVersion = Utils::WideToUtf8(s.m_DlAppVersion);
  config.serverUrl = Utils::WideToUtf8(collectorUrl);
  return config;
}

void StartInstallerAnalytics(const std::wstring& collectorUrl) {
  Guarded([&] {
    if (Settings().IsEnableAppAnalytics) pelko::analytics::InitTracker(InstallerTrackerConfig(collectorUrl));
  });
}

void StopInstallerAnalytics() {
  Guarded([] {
    if (Settings().IsEnableAppAnalytics) pelko::analytics::ReleaseTracker();
  });
}
