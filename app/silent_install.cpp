#include "app/silent_install.h"

#include <cstdio>

#include "app/install_flow.h"
#include "app/installation_record.h"
#include "app/installer_settings.h"
#include "app/stage_event_queue.h"
#include "install/download_installer.h"
#include "install/install_codes.h"
#include "utils/text.h"

namespace {

bool EndsAttempt(InstallFlow::Outcome outcome) { return outcome != InstallFlow::Outcome::Running; }

}  // namespace

SilentInstallOptions SilentOptionsFromArguments(const Utils::ArgumentMap& arguments) {
  SilentInstallOptions options;
  options.installDirectory = arguments.GetString(L"-instdir");
  return options;
}

std::string SilentStageLine(int32_t code, double value, const std::wstring& text) {
  char number[64];
  std::snprintf(number, sizeof number, "%g", value);
  return std::to_string(code) + "\t" + number + "\t" + Utils::WideToUtf8(text) + "\n";
}

int RunSilentInstall(const SilentInstallOptions& options, std::FILE* out, std::FILE* err) {
  InstallationRecord record;
  record.ReadInstallRecord();
  const std::wstring defaultFolder = record.GetDefaultInstallPath();  // also probes the account flags
  const std::wstring folder = options.installDirectory.empty() ? defaultFolder : options.installDirectory;

  StageEventQueue events;
  CDownloadInstaller orchestrator(events.Callback(), L"", L"", L"", true, true, true);
  orchestrator.SetDownloadTiming(options.timing);
  InstallFlow flow(record, orchestrator);

  const InstallFlow::Refusal refusal = flow.Prepare(folder, true, true);
  if (refusal != InstallFlow::Refusal::None) {
    std::string reason = Utils::WideToUtf8(InstallFlow::RefusalText(refusal));
    for (char& c : reason)
      if (c == '\r' || c == '\n') c = ' ';
    std::fprintf(err, "velmora-setup: %s: %s\n", reason.c_str(), Utils::WideToUtf8(folder).c_str());
    return kSilentFailed;
  }
  if (Settings().IsCheckNet && !InstallFlow::NetworkUsable()) {
    std::fprintf(err, "velmora-setup: %s\n", Utils::WideToUtf8(InstallFlow::kNetworkUnusableText).c_str());
    return kSilentFailed;
  }
  flow.Begin();

  for (;;) {
    const StageEvent event = events.Pop();
    const std::string line = SilentStageLine(event.code, event.value, event.text);
    std::fputs(line.c_str(), out);
    std::fflush(out);
    const InstallFlow::Outcome outcome = flow.OnStageEvent(event.code, event.value, event.text);
    if (EndsAttempt(outcome)) return outcome == InstallFlow::Outcome::Succeeded ? kSilentSucceeded : kSilentFailed;
  }
}
