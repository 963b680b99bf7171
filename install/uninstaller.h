// CUninstaller runs a copy of the installed old version's uninstaller
// silently and reports uninstall codes (install_codes.h) from its reduced
// line protocol: "Progress=", "Error=", "State=", "Encode=". Reading goes on
// until the uninstaller has ended; a verdict does not stop it. The runner
// never kills the uninstaller.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "download/downloader.h"
#include "utils/thread.h"

class CUninstaller {
 public:
  CUninstaller(StageCallback callback, std::wstring uninstallerPath, std::wstring oldFolder);
  ~CUninstaller();  // waits for the worker
  CUninstaller(const CUninstaller&) = delete;
  CUninstaller& operator=(const CUninstaller&) = delete;

  // Builds the command line (probing the account rights now) and runs the
  // uninstaller on a new worker. Call once per object.
  void Start();

  // Reports each recognised line of `text`; returns the last verdict seen.
  int32_t Parse(const std::wstring& text);

  // "<path> /S -adminact=<a> -authorizationact=<e> -console=show _?=<folder>"
  static std::wstring BuildCommandLine(const std::wstring& uninstallerPath, const std::wstring& oldFolder,
                                       bool administratorAccount, bool elevated);
  const std::wstring& CommandLine() const { return commandLine_; }

 private:
  static void RunThread(void* self);
  void Run();
  void Emit(int32_t code, double value, const std::wstring& text = std::wstring());

  StageCallback callback_;
  std::wstring commandLine_;
  std::wstring uninstaller_;
  std::wstring oldFolder_;
  unsigned codePage_ = 0;
  std::unique_ptr<Utils::Thread> worker_;
};
