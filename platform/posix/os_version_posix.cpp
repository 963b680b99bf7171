// System version on POSIX: the kernel's name and release from uname.
#include "platform/os_version.h"

#include <sys/utsname.h>

#include "platform/code_page.h"

namespace Platform {

bool IsWindows() { return false; }

OsVersionNumbers QueryWindowsVersion() { return OsVersionNumbers{}; }

std::wstring OsFamilyName() {
  utsname name{};
  if (::uname(&name) != 0 || name.sysname[0] == '\0') return L"Linux";
  return MultiByteToWide(name.sysname, kCodePageUtf8);
}

std::wstring KernelRelease() {
  utsname name{};
  if (::uname(&name) != 0) return std::wstring();
  return MultiByteToWide(name.release, kCodePageUtf8);
}

}  // namespace Platform
