#include "app/installation_record.h"

#include <cwctype>
#include <vector>

#include "app/installer_settings.h"
#include "platform/file_system.h"
#include "platform/known_folders.h"
#include "platform/private_profile.h"
#include "platform/process_info.h"
#include "platform/registry_store.h"
#include "utils/log.h"
#include "utils/system_probes.h"
#include "utils/wide_format.h"

namespace {

std::wstring ReadRegistry(const wchar_t* name) {
  return Platform::ReadUserRegistryString(InstallationRecord::kRegistryKey, name).value_or(std::wstring());
}

bool IsSeparator(wchar_t c) { return c == Platform::kPathSeparator || c == Platform::kOtherSeparator; }

// The folder's steps, with empty and "." steps dropped; case matters on
// POSIX and not on Windows, like the file systems themselves.
std::vector<std::wstring> FolderSteps(const std::wstring& folder) {
  std::vector<std::wstring> steps;
  std::wstring step;
  for (size_t i = 0; i <= folder.size(); ++i) {
    if (i == folder.size() || IsSeparator(folder[i])) {
      if (!step.empty() && step != L".") steps.push_back(step);
      step.clear();
    } else {
#ifdef _WIN32
      step += static_cast<wchar_t>(towlower(folder[i]));
#else
      step += folder[i];
#endif
    }
  }
  return steps;
}

}  // namespace

bool InstallationRecord::SameFolder(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return false;
  const bool aRooted = IsSeparator(a[0]), bRooted = IsSeparator(b[0]);
  return aRooted == bRooted && FolderSteps(a) == FolderSteps(b);
}

std::wstring InstallationRecord::Join(const std::wstring& folder, const std::wstring& name) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
  return folder + Platform::kPathSeparator + name;
}

std::wstring InstallationRecord::AppDataFolder() {
  const std::wstring appData = Platform::KnownFolderPath(Platform::KnownFolder::AppData);
  return appData.empty() ? Platform::KnownFolderPath(Platform::KnownFolder::CommonDocuments) : appData;
}

std::wstring InstallationRecord::ProductAnalyticsIniPath() {
  return Join(Join(Join(AppDataFolder(), L"PelkoData"), L"Velmora"), L"DODevuzorOduvarida.ini");
}

void InstallationRecord::ReadInstallRecord() {
  existingFolder = ReadRegistry(L"InstallPath");
  oldUninstaller = ReadRegistry(L"UnInstallEp");
  if (oldUninstaller.empty() && !existingFolder.empty()) oldUninstaller = Join(existingFolder, L"uninst.ep");
  existingInstallation = !existingFolder.empty() && Platform::DirectoryExists(existingFolder);
}

void InstallationRecord::WriteInstallRecord() const {
  Platform::WriteUserRegistryString(kRegistryKey, L"InstallPath", chosenFolder);
  const std::wstring uninstaller = uninstallRecordPath.empty() ? Join(chosenFolder, L"uninst.ep") : uninstallRecordPath;
  if (Platform::FileExists(uninstaller)) Platform::WriteUserRegistryString(kRegistryKey, L"UnInstallEp", uninstaller);
}

std::wstring InstallationRecord::GetDefaultInstallPath() {
  std::wstring user;
  administratorAccount = Utils::ConsoleUserName(user) && Utils::IsAccountAdmin(user);
  elevated = Utils::IsUserAdmin();
  if (!existingFolder.empty() && Platform::FileExists(oldUninstaller)) return existingFolder;

  std::wstring root;
  if (administratorAccount && elevated) {
    const std::wstring appData = Platform::KnownFolderPath(Platform::KnownFolder::AppData);
    if (!appData.empty()) root = Join(appData, L"pelko");
  }
  if (root.empty()) root = Platform::KnownFolderPath(Platform::KnownFolder::ProgramFilesX86);
  return Join(root, L"Velmora");
}

std::wstring InstallationRecord::GetCustomInstallPath(const std::wstring& typed) {
  const std::wstring defaultFolder = GetDefaultInstallPath();
  if (SameFolder(defaultFolder, typed)) return defaultFolder;
  std::wstring folder = typed;
  for (wchar_t& c : folder)
    if (c == Platform::kOtherSeparator) c = Platform::kPathSeparator;
  return Join(folder, L"Velmora");
}

bool InstallationRecord::KeepsOldVersion(const std::wstring& targetFolder) const {
  if (!SameFolder(existingFolder, targetFolder)) return false;
  return Platform::GetProfileString(L"Uninstall", L"IsOverride", L"true", Join(targetFolder, L"set.ini"), 20) ==
         L"false";
}

void InstallationRecord::WriteProductSetIni() const {
  // The C runtime locale switch of the Windows build is not needed here:
  // private-profile files are UTF-8 on POSIX whatever the locale says.
  const std::wstring setIni = Join(chosenFolder, L"set.ini");
  const std::wstring executable = Platform::ExecutablePath();
  const size_t cut = executable.find_last_of(Platform::kPathSeparator);
  const std::wstring fileName = cut == std::wstring::npos ? executable : executable.substr(cut + 1);
  Platform::WriteProfileString(L"Install", L"APPStore", fileName, setIni);
  Platform::WriteProfileString(L"Install", L"AppName", Settings().productEnglishName, setIni);
  Platform::WriteProfileString(L"Install", L"DeviceID", Utils::NewGuidHex(), setIni);

  const std::wstring analyticsIni = ProductAnalyticsIniPath();
  const std::wstring analyticsFolder = analyticsIni.substr(0, analyticsIni.find_last_of(Platform::kPathSeparator));
  if (!Utils::CreateDirectories(analyticsFolder)) return;
  Platform::WriteProfileString(L"Install", L"DODevuzorOduvaridaIni", analyticsIni, setIni);
  const Utils::LogTime now = Utils::CaptureLogTime();
  Platform::WriteProfileString(L"Init", L"UpdateTime",
                               Utils::FormatWide(L"%d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                                                 now.hour, now.minute, now.second),
                               analyticsIni);
}
