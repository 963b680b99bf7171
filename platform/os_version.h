// The running system's version numbers. On Windows: the NT version numbers
// (build cut to 16 bits) and the Server 2003 R2 metric; elsewhere the family
// name and the kernel release.
#pragma once
#include <cstdint>
#include <string>

namespace Platform {

struct OsVersionNumbers {
  bool available = false;  // false when the version library cannot be loaded
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  bool is64Bit = false;
  bool server2003R2 = false;
};

bool IsWindows();
OsVersionNumbers QueryWindowsVersion();  // meaningful on Windows only
std::wstring OsFamilyName();             // "Linux" here
std::wstring KernelRelease();            // uname -r on POSIX

}  // namespace Platform
