#include "install/download_installer.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "app/installer_settings.h"
#include "install/install_codes.h"
#include "platform/file_system.h"
#include "platform/process_info.h"
#include "utils/log.h"
#include "utils/system_probes.h"

namespace {

// The package file of an earlier run of this process, removed by a later
// run's verdict (the user may have chosen another folder in between).
std::mutex previousPackageMutex;
std::wstring previousPackagePath;

std::wstring ParentFolder(const std::wstring& path) {
#ifdef _WIN32
  const size_t last = path.find_last_of(L"\\/");
#else
  const size_t last = path.find_last_of(Platform::kPathSeparator);  // a backslash is part of a POSIX name
#endif
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last);
}

}  // namespace

CDownloadInstaller::CDownloadInstaller(StageCallback windowCallback, std::wstring url, std::wstring oldUninstaller,
                                       std::wstring installDirectory, bool desktopShortcut, bool startMenuShortcut,
                                       bool administratorAccount)
    : url_(std::move(url)),
      oldUninstaller_(std::move(oldUninstaller)),
      installDirectory_(std::move(installDirectory)),
      desktopShortcut_(desktopShortcut),
      startMenuShortcut_(startMenuShortcut),
      administratorAccount_(administratorAccount),
      windowCallback_(std::move(windowCallback)) {}

CDownloadInstaller::~CDownloadInstaller() {
  // Each stage may start the next from its own thread, so they are stopped
  // in the order they chain: uninstaller, engine, package runner.
  uninstaller_.reset();
  engine_.reset();
  installer_.reset();
}

void CDownloadInstaller::SetParams(const std::wstring& url, const std::wstring& oldUninstaller,
                                   const std::wstring& installDirectory, bool desktopShortcut, bool startMenuShortcut,
                                   bool administratorAccount, bool elevated, const std::wstring& language) {
  url_ = url;
  oldUninstaller_ = oldUninstaller;
  installDirectory_ = installDirectory;
  desktopShortcut_ = desktopShortcut;
  startMenuShortcut_ = startMenuShortcut;
  administratorAccount_ = administratorAccount;
  elevated_ = elevated;
  language_ = language;
}

std::wstring CDownloadInstaller::PackagePathFor(const std::wstring& installDirectory) {
  return installDirectory + Platform::kPathSeparator + L"__Package_Velmora.exe";
}

std::wstring CDownloadInstaller::UninstallerCopyPath() {
  const std::wstring temp = Utils::PelkoTempDir();
  if (temp.empty()) return std::wstring();
  const bool endsWithSeparator = temp.back() == Platform::kPathSeparator;
  return temp + (endsWithSeparator ? L"" : std::wstring(1, Platform::kPathSeparator)) + L"Velmora_un_asa.exe";
}

void CDownloadInstaller::Forward(int32_t code, double value, const wchar_t* text) {
  if (windowCallback_) windowCallback_(code, value, text);
}

void CDownloadInstaller::RemovePackageFiles() {
  Platform::DeleteOneFile(packagePath_);
  std::lock_guard<std::mutex> lock(previousPackageMutex);
  if (!previousPackagePath.empty()) Platform::DeleteOneFile(previousPackagePath);
  previousPackagePath = packagePath_;
}

void CDownloadInstaller::Start() {
  packagePath_ = PackagePathFor(installDirectory_);
  LOG_TEXT(L"DL_TYPE=%d\r\n", Settings().DownloadType);

  auto onDownload = [this](int32_t code, double value, const wchar_t* text) {
    Forward(code, value, text);
    switch (code) {
      case DL_CODE_START:
        Utils::CreateDirectories(installDirectory_);
        LOG_TEXT(L"DL_CODE_START\r\n");
        break;
      case DL_CODE_PROGRESS:
        LOG_TEXT(L"DL_CODE_PROGRESS\r\n");
        break;
      case DL_CODE_SUCCESS:
        LOG_TEXT(L"DOWNLOAD_SUCCESS\r\n");
        Platform::MakeExecutableForOwner(downloadTarget_);
        installer_->Start();
        LOG_TEXT(L"DL_CODE_SUCCESS\r\n");
        break;
      case DL_CODE_FAIL:
        RemovePackageFiles();
        LOG_TEXT(L"DL_CODE_FAIL\r\n");
        break;
      case DL_CODE_RETRY:
        LOG_TEXT(L"DL_CODE_RETRY\r\n");
        engine_->Start();
        break;
      default:
        break;
    }
  };
  // Per-run: an uninstaller may still print "State=Success" after its error;
  // the run has already ended then, so that late success starts nothing.
  auto uninstallFailed = std::make_shared<bool>(false);
  auto onUninstall = [this, uninstallFailed](int32_t code, double value, const wchar_t* text) {
    Forward(code, value, text);
    switch (code) {
      case UNIST_CODE_PROGRESS:
        LOG_TEXT(L"UNIST_CODE_PROGRESS\r\n");
        break;
      case UNIST_CODE_SUCCESS:
        LOG_TEXT(L"UNIST_CODE_SUCCESS\r\n");
        if (!*uninstallFailed) engine_->Start();
        break;
      case UNIST_CODE_FAIL:
        *uninstallFailed = true;
        LOG_TEXT(L"UNIST_CODE_FAIL\r\n");
        break;
      case UNIST_CODE_ERROR:
        *uninstallFailed = true;
        LOG_TEXT(L"UNIST_CODE_ERROR\r\n");
        break;
      default:
        break;
    }
  };
  auto onInstall = [this](int32_t code, double value, const wchar_t* text) {
    Forward(code, value, text);
    switch (code) {
      case IST_CODE_START:
        LOG_TEXT(L"IST_CODE_START\r\n");
        break;
      case IST_CODE_SUCCESS:
        RemovePackageFiles();
        LOG_TEXT(L"INSTALL_SUCCESS\r\n");
        break;
      case IST_CODE_FAIL:
        RemovePackageFiles();
        LOG_TEXT(L"IST_CODE_FAIL\r\n");
        break;
      default:
        break;
    }
  };

  if (!engine_) {
    downloadTarget_ = packagePath_;
    engine_ = CreateDownloader(Settings().DownloadType, onDownload, url_, packagePath_, timing_);
  }
  if (!installer_)
    installer_ = std::make_unique<CInstaller>(onInstall, L"\"" + packagePath_ + L"\"", installDirectory_,
                                              desktopShortcut_, startMenuShortcut_, administratorAccount_);
  installer_->SetInstallDirectory(installDirectory_);
  installer_->SetDesktopShortcut(desktopShortcut_);
  installer_->SetStartMenuShortcut(startMenuShortcut_);
  installer_->SetAdministratorAccount(administratorAccount_);
  installer_->SetElevated(elevated_);
  installer_->SetLanguage(language_);

  if (!oldUninstaller_.empty() && Platform::FileExists(oldUninstaller_)) {
    const std::wstring copy = UninstallerCopyPath();
    const std::wstring oldFolder = ParentFolder(oldUninstaller_);
    if (!copy.empty() && Platform::CopyOneFile(oldUninstaller_, copy)) Platform::MakeExecutableForOwner(copy);
    uninstaller_.reset();
    uninstaller_ = std::make_unique<CUninstaller>(onUninstall, copy, oldFolder);
    if (Settings().installNewOverRunning) {
      while (Platform::IsProcessRunning(L"Velmora.exe")) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    uninstaller_->Start();
    return;
  }
  engine_->Start();
}
