// The installer's four analytics report functions. Installer code never talks
// to the tracker directly; it says which event it sends and when. Reports
// never throw and never change the caller's flow; with analytics disabled,
// or with no tracker published, nothing is sent.
#pragma once
#include <functional>
#include <map>
#include <string>

using ReportProperties = std::map<std::wstring, std::wstring>;

void ReportTask(const std::wstring& taskName, const std::wstring& reason, float elapsedSeconds,
                const ReportProperties& properties);
void ReportClick(const std::wstring& clickName, const ReportProperties& properties);
void ReportView(const std::wstring& viewName, const ReportProperties& properties);
void ReportCrash();

// Lets tests see every report call as it is made (before the enabled check).
struct ReportCall {
  enum class Kind { Task, Click, View, Crash } kind = Kind::Task;
  std::wstring name;
  std::wstring reason;
  float elapsedSeconds = 0.0f;
  ReportProperties properties;
};
using ReportObserver = std::function<void(const ReportCall&)>;
void SetReportObserver(ReportObserver observer);

// Starting and stopping analytics for the installer.
namespace pelko {
namespace analytics {
struct TrackerConfig;
}
}  // namespace pelko
// The tracker configuration of this installer from the settings record:
// appName = product name + DlAppNameSuffix, appVersion = installer version,
// appStore = installer file name, dlAppId = product name, dlAppVersion, and
// the collector URL (empty: records wait in the analytics folder).
pelko::analytics::TrackerConfig InstallerTrackerConfig(const std::wstring& collectorUrl);
// InitTracker(InstallerTrackerConfig(url)) when IsEnableAppAnalytics is set.
void StartInstallerAnalytics(const std::wstring& collectorUrl);
// ReleaseTracker() when IsEnableAppAnalytics is set: flushes, then keeps the rest.
void StopInstallerAnalytics();
