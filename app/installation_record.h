// The installation's persisted state: the per-user registry record
// ("Software\PelkoSoft\Velmora": "InstallPath", "UnInstallEp"), the "set.ini"
// shared with the installed product (with its "IsOverride" switch), the
// product's analytics INI stamp, and the rules that turn them into the
// default and custom installation folders. Errors are silent: an unreadable
// record means no existing installation, a failed write keeps the old value.
//
// Folders on Linux (through platform/known_folders.h):
//   %APPDATA%           -> $XDG_DATA_HOME or ~/.local/share
//   all-users documents -> $XDG_DOCUMENTS_DIR or ~/Documents (when no AppData)
//   program files (x86) -> /opt for root, else the AppData folder
// so the default folder is always one the running user can create:
// root (an elevated administrator) gets ~/.local/share/pelko/Velmora, any
// other user ~/.local/share/Velmora. Joins use the platform's separator.
#pragma once
#include <string>

class InstallationRecord {
 public:
  static constexpr const wchar_t* kRegistryKey = L"Software\\PelkoSoft\\Velmora";
  // Longest folder text accepted (a Windows path buffer holds 260 with its terminator).
  static constexpr size_t kMaxFolderChars = 259;

  // Fills the existing folder and the old uninstaller from the registry.
  void ReadInstallRecord();
  // After success: "InstallPath" and, when that file exists, "UnInstallEp".
  void WriteInstallRecord() const;
  // The existing folder when its uninstaller still exists, else the default
  // root + "Velmora"; also refreshes both account flags.
  std::wstring GetDefaultInstallPath();
  // The default when `typed` names the same folder, else typed + "Velmora".
  std::wstring GetCustomInstallPath(const std::wstring& typed);
  // True when the old version must not be removed before installing into
  // `targetFolder` ("IsOverride" is "false" in the existing folder's set.ini).
  bool KeepsOldVersion(const std::wstring& targetFolder) const;
  // "set.ini" of the chosen folder and the product's analytics INI stamp.
  void WriteProductSetIni() const;

  // True when `a` and `b` name the same folder (separators and "." steps aside).
  static bool SameFolder(const std::wstring& a, const std::wstring& b);
  // `folder` + separator + `name`, without doubling a trailing separator.
  static std::wstring Join(const std::wstring& folder, const std::wstring& name);
  // %APPDATA%, or the all-users documents folder when there is none.
  static std::wstring AppDataFolder();
  // "<AppData>/PelkoData/Velmora/DODevuzorOduvarida.ini"
  static std::wstring ProductAnalyticsIniPath();

  std::wstring existingFolder;
  std::wstring oldUninstaller;
  bool existingInstallation = false;
  bool administratorAccount = false;
  bool elevated = false;
  std::wstring chosenFolder;         // the attempt's folder, then the package's "InstPath="
  std::wstring uninstallRecordPath;  // the package's "UninstEp="
};
