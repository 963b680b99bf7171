// The window-free half of the install flow: the checks before an attempt
// (running product or uninstaller, a usable folder with 1 GiB free), the
// orchestrator's parameters, and what each stage code means for the records
// and the analytics reports. The main window and the silent install both
// drive one InstallFlow, so they behave the same; prompts, pages and the
// finish actions stay with the window. Use it from one thread (the one that
// receives the stage codes).
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "app/installation_record.h"
#include "utils/stopwatch.h"

class CDownloadInstaller;

class InstallFlow {
 public:
  enum class Refusal { None, ProductRunning, UninstallerRunning, InvalidPath, LowDiskSpace };
  enum class Outcome { Running, Succeeded, DownloadFailed, InstallFailed, UninstallFailed };
  // Free bytes available to the caller on the volume of a folder; false when unknown.
  using FreeSpaceProbe = std::function<bool(const std::wstring& folder, uint64_t& freeBytes)>;

  static constexpr uint64_t kMinimumFreeBytes = 1ull << 30;

  InstallFlow(InstallationRecord& record, CDownloadInstaller& orchestrator);

  // StartInstall without its prompts: refuses, or records the folder and
  // hands the orchestrator its parameters. Nothing has started yet.
  Refusal Prepare(const std::wstring& folder, bool desktopShortcut, bool quickLaunchShortcut,
                  const std::wstring& language = std::wstring());
  // Sets the prepared attempt going (the window does it on "install").
  void Begin();
  // One stage code as the orchestrator forwarded it: updates the record and
  // the finish data, sends the reports, and says whether the attempt ended.
  Outcome OnStageEvent(int32_t code, double value, const std::wstring& text);

  // The network check run before an attempt when IsCheckNet is set: usable
  // when the verdict (the upper 16 bits of the probe) is 0.
  static bool NetworkUsable();
  static constexpr const wchar_t* kNetworkUnusableText = L"当前网络环境较差，请在网络通畅时进行安装";
  // The text shown (or printed) for a refusal.
  static std::wstring RefusalText(Refusal refusal);
  // True for a text that may be used as a folder at all (length, characters).
  static bool IsUsableFolderText(const std::wstring& folder);
  void SetFreeSpaceProbe(FreeSpaceProbe probe) { freeSpace_ = std::move(probe); }

  // Finish data from the package's lines (the window's finish actions use them).
  const std::wstring& ProductExecutable() const { return productExecutable_; }
  const std::wstring& StartUrl() const { return startUrl_; }
  int32_t StartStyle() const { return startStyle_; }
  uint32_t TopShowDelayMs() const { return topShowDelayMs_; }
  uint32_t FinishCloseDelayMs() const { return finishCloseDelayMs_; }

 private:
  void ReportDownloadFailure(double value, const std::wstring& text);
  void ReportInstallFailure(double value, const std::wstring& text, bool download);

  InstallationRecord& record_;
  CDownloadInstaller& orchestrator_;
  FreeSpaceProbe freeSpace_;
  Utils::Stopwatch downloadStopwatch_;
  bool downloaderStarted_ = false;
  std::wstring productExecutable_;
  std::wstring startUrl_ = L"https://www.velmora.example/category/toturial";
  int32_t startStyle_ = 0;
  uint32_t topShowDelayMs_ = 3000;
  uint32_t finishCloseDelayMs_ = 4294967295u;
};
