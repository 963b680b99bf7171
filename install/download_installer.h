// CDownloadInstaller drives one installation through its stages: remove the
// old version (when one is given), download the package, run the package.
// Each stage's codes are forwarded unchanged to the owner's callback first;
// the stages then chain themselves from the threads that report them. No
// timer, no retry policy of its own (it obeys an engine's 1005) and no cancel.
#pragma once
#include <memory>
#include <string>

#include "download/downloader.h"
#include "install/installer.h"
#include "install/uninstaller.h"

class CDownloadInstaller {
 public:
  CDownloadInstaller(StageCallback windowCallback, std::wstring url, std::wstring oldUninstaller,
                     std::wstring installDirectory, bool desktopShortcut, bool startMenuShortcut,
                     bool administratorAccount);
  // Stops a running transfer and waits for every worker.
  ~CDownloadInstaller();
  CDownloadInstaller(const CDownloadInstaller&) = delete;
  CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

  // The owner's choices for the next Start.
  void SetParams(const std::wstring& url, const std::wstring& oldUninstaller, const std::wstring& installDirectory,
                 bool desktopShortcut, bool startMenuShortcut, bool administratorAccount, bool elevated,
                 const std::wstring& language);
  // Pauses and clock handed to the engine when it is created (tests shorten them).
  void SetDownloadTiming(const DownloadTiming& pauses) { timing_ = pauses; }

  // Starts the first stage and returns. With -insnew it first waits for the
  // running product to end (blocking the caller meanwhile).
  void Start();

  const std::wstring& PackagePath() const { return packagePath_; }
  // "<folder>/__Package_Velmora.exe": where the package is downloaded to.
  static std::wstring PackagePathFor(const std::wstring& installDirectory);
  // "<temp>/Velmora_un_asa.exe": where the old uninstaller is copied to
  // (empty when the temporary folder cannot be made).
  static std::wstring UninstallerCopyPath();

 private:
  void Forward(int32_t code, double value, const wchar_t* text);
  void RemovePackageFiles();

  std::unique_ptr<CUninstaller> uninstaller_;
  std::unique_ptr<CDownloader> engine_;
  std::unique_ptr<CInstaller> installer_;
  std::wstring url_;
  std::wstring oldUninstaller_;
  std::wstring installDirectory_;
  std::wstring packagePath_;
  std::wstring downloadTarget_;  // the engine keeps the path it was created with
  std::wstring language_;
  bool desktopShortcut_ = true;
  bool startMenuShortcut_ = true;
  bool administratorAccount_ = true;
  bool elevated_ = true;
  StageCallback windowCallback_;
  DownloadTiming timing_;
};
