// Everything that can be tuned about one installer run: built-in defaults,
// then "PelkoInstallerConfig.ini" beside the executable, then the command
// line. Written only at startup; read from any thread afterwards (apart from
// the language index and the -insnew flag, which the window thread owns).
#pragma once
#include <string>
#include <vector>

namespace Utils {
class ArgumentMap;
}

// The maker's package endpoint; "${ROUTE}" templates are resolved per OS.
extern const wchar_t* const kBuiltInDownloadUrl;
// The settings file's name, looked for in the executable's folder.
extern const wchar_t* const kSettingsFileName;

struct InstallerSettings {
  // Defaults only; the process-wide record also reads the settings file.
  InstallerSettings();

  // Reads the settings file beside `executablePath` (the running
  // executable's path when empty) and records the installer file name.
  // A DownloadScale outside 0..1 is clamped; one beyond the floating-point
  // range keeps the built-in 0.7.
  void LoadSettingsFile(const std::wstring& executablePath = std::wstring());
  // Applies the options of the process's command line. A -downloadscale
  // that is not a finite number leaves DownloadScale as it is; a finite one
  // is clamped into 0..1.
  void ApplyCommandLine();
  // The same over already split tokens (program path first).
  void ApplyArguments(const std::vector<std::wstring>& tokens);
  void ApplyDownloadUrl(const std::wstring& url);

  std::wstring productEnglishName = L"Velmora";
  std::wstring installerVersion = L"1.7.9";
  std::wstring installerFileName = L"NULL";
  std::wstring DlAppNameSuffix = L".downloader";
  std::wstring m_DlAppVersion;
  std::wstring InstCmd;
  // Where analytics posts its batches; empty keeps records in the data file.
  std::wstring AnalyticsUrl;
  std::wstring DownloadUrl;
  int DownloadType = 1;
  bool IsCheckNet = false;
  bool IsEnableAppAnalytics = true;
  double DownloadScale = 0.7;
  bool libcurlAvailable = true;
  std::wstring AbGroup = L"IN";
  int installerLanguageIndex = -1;
  bool installNewOverRunning = false;  // -insnew
};

// The one record of the process (defaults plus the settings file on first use).
InstallerSettings& Settings();

// "${ROUTE}" -> "download_silent_xp" on XP-family systems, else "download_silent".
std::wstring ResolveDownloadUrl(const std::wstring& url);
// The same for a given version name (pure).
std::wstring ResolveDownloadUrlFor(const std::wstring& url, const std::wstring& versionName);
// Family ("Windows" on Windows, "Linux" here) and version name.
void OsVersionName(std::wstring& family, std::wstring& version);
// The Windows naming table over the NT version numbers (pure; every target).
std::wstring WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool server2003R2);
