// Placeholder until the tracker lands: report calls reach only the observer.
#include "analytics/installer_reports.h"

#include <memory>
#include <mutex>

namespace {

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

}  // namespace

void SetReportObserver(ReportObserver observer) {
  std::lock_guard<std::mutex> lock(g_observerMutex);
  g_observer = observer ? std::make_shared<ReportObserver>(std::move(observer)) : nullptr;
}

void ReportTask(const std::wstring& taskName, const std::wstring& reason, float elapsedSeconds,
                const ReportProperties& properties) {
  Observe({ReportCall::Kind::Task, taskName, reason, elapsedSeconds, properties});
}
void ReportClick(const std::wstring& clickName, const ReportProperties& properties) {
  Observe({ReportCall::Kind::Click, clickName, L"", 0.0f, properties});
}
void ReportView(const std::wstring& viewName, const ReportProperties& properties) {
  Observe({ReportCall::Kind::View, viewName, L"", 0.0f, properties});
}
void ReportCrash() { Observe({ReportCall::Kind::Crash, L"", L"", 0.0f, {}}); }
