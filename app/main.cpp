// velmora-setup: the installer's process entry. For now only the silent
// install runs here; the window arrives with the UI.
#include <curl/curl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "analytics/installer_reports.h"
#include "app/installer_settings.h"
#include "app/silent_install.h"
#include "platform/process_info.h"
#include "utils/argument_map.h"
#include "utils/system_probes.h"

namespace {

// libcurl's global state lives exactly as long as main's scope.
class CurlGlobal {
 public:
  CurlGlobal() : ok_(curl_global_init(CURL_GLOBAL_ALL) == 0) {}
  ~CurlGlobal() { curl_global_cleanup(); }
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};

}  // namespace

int main() {
  CurlGlobal curl;
  if (!curl.Ok()) {
    Settings().libcurlAvailable = false;
    ReportTask(L"libcurl初始化失败", L"", 0.0f, {{L"AB", Settings().AbGroup}});
  }

  Utils::InstanceLock guard(L"Installer_" + Settings().productEnglishName);
  if (!guard.Acquire()) return -1;

  const std::vector<std::wstring> arguments = Platform::ProcessArguments();
  Settings().ApplyArguments(arguments);

  StartInstallerAnalytics(Settings().AnalyticsUrl);

  int exitCode = 2;
  Utils::ArgumentMap options;
  options.ParseTokens(arguments);
  if (options.Has(L"-silent")) {
    exitCode = RunSilentInstall(SilentOptionsFromArguments(options), stdout, stderr);
  } else {
    std::fputs("velmora-setup: the installer window is not available yet; use -silent [-instdir=DIR] "
               "[-downloadurl=URL] [other options]\n",
               stderr);
  }

  StopInstallerAnalytics();  // flushes what is queued; the rest waits in the data file

  return exitCode;
}
