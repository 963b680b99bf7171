#include "analytics/source/src/tracker_storage.h"

#include "analytics/source/src/distinct_id.h"
#include "platform/file_system.h"
#include "platform/known_folders.h"
#include "platform/os_version.h"
#include "platform/private_profile.h"
#include "utils/text.h"

namespace pelko {
namespace analytics {
namespace {

constexpr wchar_t kSep = Platform::kPathSeparator;
constexpr size_t kValueBufferChars = 128;  // longer stored values come back cut to 127

std::wstring ReadBase(const std::wstring& key, const std::wstring& ini) {
  return Platform::GetProfileString(L"Base", key, L"", ini, kValueBufferChars);
}

std::wstring Wide(const std::string& utf8) { return Utils::Utf8ToWide(utf8); }
std::string Narrow(const std::wstring& wide) { return Utils::WideToUtf8(wide); }

std::wstring WithTrailingSeparator(std::wstring path) {
  if (path.empty() || path.back() != kSep) path += kSep;
  return path;
}

}  // namespace

std::wstring NormalizeSeparators(std::wstring path) {
  for (wchar_t& c : path)
    if (c == Platform::kOtherSeparator) c = kSep;
  return path;
}

std::wstring DefaultBaseFolder() {
  if (Platform::IsWindows()) {
    const Platform::OsVersionNumbers v = Platform::QueryWindowsVersion();
    const bool win7OrLater = v.major > 6 || (v.major == 6 && v.minor != 0);
    return Platform::KnownFolderPath(win7OrLater ? Platform::KnownFolder::LocalAppData
                                                 : Platform::KnownFolder::CommonDocuments);
  }
  return Platform::KnownFolderPath(Platform::KnownFolder::LocalAppData);
}

bool CreateFoldersAlong(std::wstring path) {
  path = WithTrailingSeparator(NormalizeSeparators(path));
  if (Platform::DirectoryExists(path)) return true;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != kSep) continue;
    const std::wstring prefix = path.substr(0, i + 1);
    if (prefix.size() == 1) continue;  // the root
    if (!Platform::DirectoryExists(prefix) && !Platform::CreateOneDirectory(prefix)) return false;
  }
  return true;
}

AnalyticsPaths ResolveAnalyticsPaths(const std::wstring& executablePath, const std::wstring& baseFolder,
                                     const std::wstring& appName) {
  const std::wstring exe = NormalizeSeparators(executablePath);
  const size_t cut = exe.rfind(kSep);
  const std::wstring setIni = WithTrailingSeparator(cut == std::wstring::npos ? std::wstring() : exe.substr(0, cut)) +
                              L"Set.ini";
  std::wstring configured;
  if (Platform::FileExists(setIni)) {
    configured = NormalizeSeparators(Platform::GetProfileString(L"Install", L"DODevuzorOduvaridaIni", L"", setIni));
  }
  AnalyticsPaths paths;
  const size_t lastSep = configured.rfind(kSep);
  if (configured.empty() || lastSep == std::wstring::npos) {
    const std::wstring local = baseFolder + kSep + L"PKLocal" + kSep;
    if (!Platform::DirectoryExists(local)) Platform::CreateOneDirectory(local);
    paths.folder = local + appName + kSep;
    if (!Platform::DirectoryExists(paths.folder)) Platform::CreateOneDirectory(paths.folder);
    paths.configIni = paths.folder + appName + L"_PKSConfigure.ini";
    return paths;
  }
  paths.configIni = configured;
  paths.folder = configured.substr(0, lastSep);
  if (!Platform::DirectoryExists(paths.folder)) Platform::CreateOneDirectory(paths.folder);
  CreateFoldersAlong(paths.folder);
  paths.folder = WithTrailingSeparator(paths.folder);
  return paths;
}

void LoadIdentity(TrackerContext& c) {
  const std::wstring& ini = c.configIniPath;
  if (Platform::FileExists(ini)) {
    c.distinctId = Narrow(ReadBase(L"DistinctId", ini));
    c.primaryDistinctId = Narrow(ReadBase(L"PrimaryDistinctId", ini));
    c.userId = Narrow(ReadBase(L"UserId", ini));
    c.userVipLevel = Platform::GetProfileInt(L"Base", L"UserVipLevel", 0, ini);
    c.isLogined = ReadBase(L"isLogined", ini) == L"OK";
    c.storedUrl = Narrow(ReadBase(L"URL", ini));
    if (c.primaryDistinctId.empty()) c.primaryDistinctId = c.distinctId;
  } else {
    c.distinctId.clear();
    c.primaryDistinctId.clear();
    c.userId.clear();
    c.userVipLevel = 0;
    c.isLogined = false;
    c.storedUrl.clear();
  }
  if (c.distinctId.empty()) {
    c.distinctId = GenerateDistinctId();
    SaveIdentity(c);
  }
}

void SaveIdentity(TrackerContext& c) {
  const std::wstring& ini = c.configIniPath;
  Platform::WriteProfileString(L"Base", L"DistinctId", Wide(c.distinctId), ini);
  Platform::WriteProfileString(L"Base", L"PrimaryDistinctId", Wide(c.primaryDistinctId), ini);
  Platform::WriteProfileString(L"Base", L"UserId", Wide(c.userId), ini);
  Platform::WriteProfileString(L"Base", L"UserVipLevel", std::to_wstring(c.userVipLevel), ini);
  Platform::WriteProfileString(L"Base", L"URL", Wide(c.storedUrl), ini);
  Platform::WriteProfileString(L"Base", L"isLogined", c.isLogined ? L"OK" : L"NG", ini);
}

void SaveApplicationInfo(const TrackerContext& c, const std::string& appStore, const std::string& appName,
                         const std::string& appVersion) {
  Platform::WriteProfileString(L"UninstallInfo", L"AppStore", Wide(appStore), c.configIniPath);
  Platform::WriteProfileString(L"UninstallInfo", L"AppName", Wide(appName), c.configIniPath);
  Platform::WriteProfileString(L"UninstallInfo", L"AppVersion", Wide(appVersion), c.configIniPath);
}

}  // namespace analytics
}  // namespace pelko
