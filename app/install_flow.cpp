#include "app/install_flow.h"

#include <cstdint>
#include <fstream>

#include "analytics/installer_reports.h"
#include "app/installer_settings.h"
#include "download/downloader.h"
#include "install/download_installer.h"
#include "install/install_codes.h"
#include "platform/file_system.h"
#include "platform/process_info.h"
#include "utils/language/language_table.h"
#include "utils/system_probes.h"
#include "utils/wide_format.h"

namespace {

ReportProperties AbProperties() { return {{L"AB", Settings().AbGroup}}; }

// Failure-reason texts are cut like the 200-character buffer they are formatted into.
std::wstring CutReason(std::wstring text) {
  if (text.size() > 199) text.resize(199);
  return text;
}

// "可读" when a file can be created at `path` (and removed again), else "无权限".
std::wstring ProbeWritePermission(const std::wstring& path) {
  if (Platform::PathExists(path) && !Platform::DeleteOneFile(path)) return L"无权限";
  {
    std::fstream probe(Platform::ToFileSystemPath(path), std::ios::in | std::ios::out | std::ios::trunc);
    if (!probe.is_open()) return L"无权限";
  }
  Platform::DeleteOneFile(path);
  return L"可读";
}

// A stage value as the integer the reports and fields take (NaN and
// out-of-range values cannot be converted safely, so they are pinned).
int64_t WholeNumber(double value) {
  if (!(value == value)) return 0;
  if (value >= 9.2e18) return INT64_MAX;
  if (value <= -9.2e18) return INT64_MIN;
  return static_cast<int64_t>(value);
}

bool SystemFreeSpace(const std::wstring& folder, uint64_t& freeBytes) {
  Utils::HardDiskManager disk;
  if (!disk.CheckFreeSpace(folder)) return false;
  freeBytes = disk.freeBytesForCaller;
  return true;
}

}  // namespace

InstallFlow::InstallFlow(InstallationRecord& record, CDownloadInstaller& orchestrator)
    : record_(record), orchestrator_(orchestrator), freeSpace_(&SystemFreeSpace) {}

bool InstallFlow::IsUsableFolderText(const std::wstring& folder) {
  if (folder.empty() || folder.size() > InstallationRecord::kMaxFolderChars) return false;
#ifndef _WIN32
  // A quote would end the package's "-instdir=" argument early.
  if (folder.find(L'"') != std::wstring::npos) return false;
#endif
  return true;
}

bool InstallFlow::NetworkUsable() { return (Utils::CheckNetwork() >> 16) == 0; }

std::wstring InstallFlow::RefusalText(Refusal refusal) {
  switch (refusal) {
    case Refusal::ProductRunning:
    case Refusal::UninstallerRunning:
      return L"安装程序检测到Velmora\r\n正在运行，请退出程序后再安装";
    case Refusal::InvalidPath:
      return L"无效路径";
    case Refusal::LowDiskSpace:
      return Utils::DiskSpaceText();
    case Refusal::None:
      break;
  }
  return std::wstring();
}

InstallFlow::Refusal InstallFlow::Prepare(const std::wstring& folder, bool desktopShortcut, bool quickLaunchShortcut,
                                          const std::wstring& language) {
  const bool overRunning = Settings().installNewOverRunning;
  if (!overRunning && Platform::IsProcessRunning(L"Velmora_un_asa.exe")) return Refusal::UninstallerRunning;
  if (!overRunning && Platform::IsProcessRunning(L"Velmora.exe")) return Refusal::ProductRunning;
  if (!IsUsableFolderText(folder) || !Utils::CreateDirectories(folder)) return Refusal::InvalidPath;
  uint64_t freeBytes = 0;
  if (!freeSpace_(folder, freeBytes) || freeBytes < kMinimumFreeBytes) return Refusal::LowDiskSpace;

  record_.chosenFolder = folder;
  const std::wstring oldUninstaller = record_.KeepsOldVersion(folder) ? std::wstring() : record_.oldUninstaller;
  orchestrator_.SetParams(Settings().DownloadUrl, oldUninstaller, folder, desktopShortcut, quickLaunchShortcut,
                          record_.administratorAccount, record_.elevated, language);
  return Refusal::None;
}

void InstallFlow::Begin() {
  ReportView(L"安装中", AbProperties());
  orchestrator_.Start();
}

InstallFlow::Outcome InstallFlow::OnStageEvent(int32_t code, double value, const std::wstring& text) {
  switch (code) {
    case DL_CODE_START:
      if (!downloaderStarted_) {
        downloaderStarted_ = true;
        ReportTask(L"下载器启动", L"", 0.0f, AbProperties());
      }
      downloadStopwatch_.Start();
      ReportTask(L"开始下载大包", L"", 0.0f, AbProperties());
      break;
    case DL_CODE_SUCCESS:
      ReportTask(L"大包下载完毕", L"", downloadStopwatch_.ElapsedSeconds(), AbProperties());
      break;
    case DL_CODE_FAIL:
      ReportDownloadFailure(value, text);
      return Outcome::DownloadFailed;
    case DL_CODE_NOTICE:
      ReportInstallFailure(value, text, true);
      break;
    case IST_CODE_START:
      record_.WriteProductSetIni();
      break;
    case IST_CODE_SUCCESS:
      ReportTask(L"安装成功", L"", 0.0f, AbProperties());
      record_.WriteInstallRecord();
      record_.WriteProductSetIni();
      return Outcome::Succeeded;
    case IST_CODE_FAIL:
      ReportInstallFailure(value, text, false);
      return Outcome::InstallFailed;
    case IST_CODE_INST_PATH:
      record_.chosenFolder = text;
      break;
    case IST_CODE_EXE_PATH:
      productExecutable_ = text;
      break;
    case IST_CODE_UNINST_EP:
      record_.uninstallRecordPath = text;
      break;
    case IST_CODE_START_URL:
      startUrl_ = text;
      break;
    case IST_CODE_STARTUP_STYLE:
      startStyle_ = static_cast<int32_t>(WholeNumber(value));
      break;
    case IST_CODE_TOP_SHOW_DETENTION:
      topShowDelayMs_ = static_cast<uint32_t>(WholeNumber(value));
      break;
    case IST_CODE_FINISH_CLOSE_DETENTION:
      finishCloseDelayMs_ = static_cast<uint32_t>(WholeNumber(value));
      break;
    case UNIST_CODE_FAIL:
    case UNIST_CODE_ERROR:
      return Outcome::UninstallFailed;
    default:
      break;
  }
  return Outcome::Running;
}

void InstallFlow::ReportDownloadFailure(double value, const std::wstring& text) {
  const std::wstring probeFile = orchestrator_.PackagePath();
  const uint32_t serverStatus = Utils::CheckNetwork();
  const std::wstring permission = ProbeWritePermission(probeFile);
  Utils::HardDiskManager disk;
  disk.CheckFreeSpace(probeFile.substr(0, probeFile.find_last_of(Platform::kPathSeparator)));
  const double freeGiB = static_cast<double>(disk.freeBytesForCaller) / 1073741824.0;
  const std::wstring reason =
      Utils::FormatWide(L"1.code=%ld；2.msg=%s；3.缓存磁盘容量=%.2fG；4.缓存读写权限=%s；5.服务器连接状态code=%d",
                        static_cast<long>(WholeNumber(value)), text.c_str(), freeGiB, permission.c_str(),
                        static_cast<int>(serverStatus));
  ReportTask(L"下载失败原因", CutReason(reason), 0.0f, AbProperties());
}

void InstallFlow::ReportInstallFailure(double value, const std::wstring& text, bool download) {
  const std::wstring reason =
      Utils::FormatWide(L":1.code=%ld；2.msg=%s", static_cast<long>(WholeNumber(value)), text.c_str());
  ReportTask(download ? L"下载失败原因" : L"安装失败原因", CutReason(reason), 0.0f, AbProperties());
}
