#include "utils/system_probes.h"

#include <cwchar>

#include "platform/accounts.h"
#include "platform/file_system.h"
#include "platform/known_folders.h"
#include "utils/log.h"
#include "utils/wide_format.h"

namespace Utils {

uint32_t CheckNetwork() { return CheckNetwork(Platform::QueryConnectivity()); }

uint32_t CheckNetwork(const Platform::Connectivity& answer) {
  if (!answer.managerAvailable) return 0;
  const uint32_t flags = answer.flags & 0xFFFFu;
  uint32_t verdict = 0;
  if (flags == 0) {
    LOG_TEXT(L"GetConnectivity %d", static_cast<int>(flags));
    verdict = 1;
  } else if (!answer.internet) {
    LOG_TEXT(L"get_IsConnectedToInternet:%d", 0);
    verdict = 2;
  }
  return flags | (verdict << 16);
}

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory) {
  Platform::DiskSpace space;
  long lastError = 0;
  if (!Platform::GetDiskSpace(directory, space, lastError)) {
    LOG_TEXT(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", lastError);
    return false;
  }
  freeBytesForCaller = space.freeBytesForCaller;
  totalBytes = space.totalBytes;
  totalFreeBytes = space.totalFreeBytes;
  return true;
}

bool IsUserAdmin() { return Platform::IsProcessUserAdmin(); }

bool IsAccountAdmin(const std::wstring& userName) { return Platform::IsAccountAdmin(userName); }

bool ConsoleUserName(std::wstring& name) { return Platform::ConsoleUserName(name); }

std::wstring NewGuidHex() { return NewGuidHex(Platform::NewGuid()); }

std::wstring NewGuidHex(const Platform::Guid& g) {
  return FormatWide(L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(g.data1),
                    static_cast<unsigned>(g.data2), static_cast<unsigned>(g.data3), unsigned{g.data4[0]},
                    unsigned{g.data4[1]}, unsigned{g.data4[2]}, unsigned{g.data4[3]}, unsigned{g.data4[4]},
                    unsigned{g.data4[5]}, unsigned{g.data4[6]}, unsigned{g.data4[7]});
}

std::wstring PelkoTempDir() {
  std::wstring temp = Platform::KnownFolderPath(Platform::KnownFolder::Temp);
  if (temp.empty()) return std::wstring();
  if (temp.back() != Platform::kPathSeparator) temp += Platform::kPathSeparator;
  const std::wstring folder = temp + kPelkoTempFolderName;
  if (folder.size() + 1 >= kMaxPathChars) return std::wstring();
  // The folder will hold programs that the installer runs, so it must be
  // the user's own even when the temp folder is shared.
  if (!Platform::CreatePrivateDirectory(folder)) return std::wstring();
  return folder + Platform::kPathSeparator;
}

int PelkoTempDir(wchar_t* buffer) {
  if (buffer == nullptr) return 1;
  const std::wstring path = PelkoTempDir();
  if (path.empty()) return 1;
  std::wmemcpy(buffer, path.c_str(), path.size() + 1);
  return 0;
}

bool CreateDirectories(const std::wstring& path) {
  if (path.empty() || path.size() > kMaxPathChars) return false;
  for (size_t at = path.find(Platform::kPathSeparator); at != std::wstring::npos;
       at = path.find(Platform::kPathSeparator, at + 1)) {
    const std::wstring prefix = path.substr(0, at + 1);
    // The root ("/") always exists; creating it would fail.
    if (prefix.size() > 1 && !Platform::DirectoryExists(prefix) && !Platform::CreateOneDirectory(prefix))
      return false;
  }
  if (path.back() != Platform::kPathSeparator && !Platform::DirectoryExists(path) &&
      !Platform::CreateOneDirectory(path))
    return false;
  return true;
}

bool InstanceLock::Acquire() {
  if (lock_.Held()) return true;
  return lock_.TryAcquire(L"D1A547DB89C0BC61_" + name_);
}

}  // namespace Utils
