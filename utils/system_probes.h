// The questions the installer asks the machine: network connectivity, free
// disk space, administrator rights and the console user, a new GUID, the
// installer's temporary folder, creating a folder tree, and the
// single-instance lock. Every probe reports failure by its result and never
// throws; only the network and disk probes log.
#pragma once
#include <cstdint>
#include <string>

#include "platform/connectivity.h"
#include "platform/guid.h"
#include "platform/instance_lock.h"

namespace Utils {

// Low 16 bits: the connectivity flags; high 16 bits: the verdict (0 Internet
// or no answer at all, 1 no connectivity, 2 connectivity without Internet).
uint32_t CheckNetwork();
// The same over an answer already obtained (the real probe calls it).
uint32_t CheckNetwork(const Platform::Connectivity& answer);

class HardDiskManager {
 public:
  virtual ~HardDiskManager() = default;
  // Fills the three counts for the volume holding `directory`; false (and a
  // log line with the system's error code) when the system cannot tell.
  bool CheckFreeSpace(const std::wstring& directory);

  uint64_t freeBytesForCaller = 0;  // what the current user may still use
  uint64_t totalBytes = 0;
  uint64_t totalFreeBytes = 0;
};

bool IsUserAdmin();
bool IsAccountAdmin(const std::wstring& userName);
bool ConsoleUserName(std::wstring& name);

// 32 hex digits: data1, data2 and data4 in uppercase, data3 in lowercase.
std::wstring NewGuidHex();
std::wstring NewGuidHex(const Platform::Guid& guid);

constexpr size_t kMaxPathChars = 260;
constexpr const wchar_t* kPelkoTempFolderName = L"~PelkoTemp.92482B06FB471E17";

// The temporary folder "<temp>/~PelkoTemp.92482B06FB471E17/" (with the
// trailing separator), created when missing. Returns 0 and fills `buffer`
// (kMaxPathChars wide characters) on success, 1 and leaves it alone on failure.
int PelkoTempDir(wchar_t* buffer);
// The same path, or empty on failure.
std::wstring PelkoTempDir();

// Creates every missing folder of `path` (split at the platform separator);
// paths longer than kMaxPathChars fail.
bool CreateDirectories(const std::wstring& path);

// The single-instance guard: a named lock "D1A547DB89C0BC61_<name>".
class InstanceLock {
 public:
  explicit InstanceLock(std::wstring name) : name_(std::move(name)) {}

  // Takes the lock when it is not held yet; true when this process holds it.
  bool Acquire();
  bool Held() const { return lock_.Held(); }
  void Release() { lock_.Release(); }
  const std::wstring& Name() const { return name_; }

 private:
  std::wstring name_;
  Platform::NamedLock lock_;
};

}  // namespace Utils
