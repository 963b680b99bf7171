// The tracker's identity and working state. The identity fields are read
// and changed under `identityMutex` (logins may race with tracking threads).
#pragma once
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace pelko {
namespace analytics {

struct TrackerContext {
  std::mutex identityMutex;
  bool isLogined = false;
  std::string userId;
  std::string distinctId;
  std::string primaryDistinctId;
  int32_t userVipLevel = 0;
  std::string storedUrl;  // the collector URL the identity belongs to

  std::wstring logFilePath;
  std::string locale;
  std::wstring analyticsFolder;  // ends with a separator
  std::wstring configIniPath;

  // Records queued since the last successful flush that asked for one.
  std::atomic<int32_t> pendingRecordCount{0};
};

}  // namespace analytics
}  // namespace pelko
