// CInstaller runs the downloaded package silently as a hidden child process,
// reads its "Key=value" output lines and reports them as install codes
// (install_codes.h) through a StageCallback. It never kills the package: once
// started, the package is waited for however long it takes.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "download/downloader.h"
#include "utils/thread.h"

class CInstaller {
 public:
  struct Version {
    int32_t major = 0, minor = 0, patch = 0;
  };

  CInstaller(StageCallback callback, std::wstring quotedPackage, std::wstring installDirectory,
             bool desktopShortcut, bool startMenuShortcut, bool administratorAccount);
  ~CInstaller();  // waits for a running package's worker
  CInstaller(const CInstaller&) = delete;
  CInstaller& operator=(const CInstaller&) = delete;

  // Choices for the next Start (set before it; the worker only reads them).
  void SetInstallDirectory(const std::wstring& directory) { installDirectory_ = directory; }
  void SetDesktopShortcut(bool on) { desktopShortcut_ = on; }
  void SetStartMenuShortcut(bool on) { startMenuShortcut_ = on; }
  void SetAdministratorAccount(bool on) { administratorAccount_ = on; }
  void SetElevated(bool on) { elevated_ = on; }
  void SetLanguage(const std::wstring& language) { language_ = language; }

  // Builds the command line, waits for the previous worker and runs the
  // package on a new one. Emits 2001, 2002, ... and exactly one of 2003/2004.
  void Start();

  // Reports each recognised line of `text`; returns the last verdict seen.
  int32_t Parse(const std::wstring& text);

  // The package's command line from the current choices and InstCmd.
  std::wstring BuildCommandLine() const;
  const std::wstring& CommandLine() const { return commandLine_; }
  // Valid once a run has ended.
  Version InstalledVersion() const { return version_; }
  unsigned OutputCodePage() const { return codePage_; }

 private:
  static void RunThread(void* self);
  void Run();
  void Emit(int32_t code, double value, const std::wstring& text = std::wstring());

  StageCallback callback_;
  std::wstring package_;
  std::wstring installDirectory_;
  std::wstring commandLine_;
  bool startMenuShortcut_ = true;
  bool desktopShortcut_ = true;
  unsigned codePage_ = 0;  // persists across runs: the package announces it once
  std::unique_ptr<Utils::Thread> worker_;
  Version version_;
  bool administratorAccount_ = true;
  bool elevated_ = true;
  std::wstring language_;
};
