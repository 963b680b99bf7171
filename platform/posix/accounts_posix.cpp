// Administrator probes and the session's user on POSIX.
#include "platform/accounts.h"

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/code_page.h"

namespace Platform {
namespace {

bool IsAdminGroupName(const char* name) {
  return std::strcmp(name, "sudo") == 0 || std::strcmp(name, "wheel") == 0 || std::strcmp(name, "admin") == 0;
}

bool UserNameOf(uid_t uid, std::string& name) {
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* result = nullptr;
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &result) != 0 || result == nullptr) return false;
  name = result->pw_name;
  return !name.empty();
}

// The uid the kernel recorded at login for this process's session, if any.
bool LoginUid(uid_t& uid) {
  std::ifstream in("/proc/self/loginuid");
  long long value = -1;
  if (!(in >> value) || value < 0 || value >= 4294967295LL) return false;
  uid = static_cast<uid_t>(value);
  return true;
}

}  // namespace

bool IsProcessUserAdmin() { return ::geteuid() == 0; }

bool IsAccountAdmin(const std::wstring& userName) {
  const std::string name = WideToMultiByte(userName, kCodePageUtf8);
  if (name.empty()) return false;
  std::vector<char> buffer(16384);
  passwd entry{};
  passwd* user = nullptr;
  if (::getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &user) != 0 || user == nullptr) return false;
  if (user->pw_uid == 0) return true;
  int count = 64;
  std::vector<gid_t> groups(static_cast<size_t>(count));
  if (::getgrouplist(name.c_str(), user->pw_gid, groups.data(), &count) < 0) {
    groups.resize(static_cast<size_t>(count));
    if (::getgrouplist(name.c_str(), user->pw_gid, groups.data(), &count) < 0) return false;
  }
  groups.resize(static_cast<size_t>(count));
  std::vector<char> groupBuffer(16384);
  for (gid_t gid : groups) {
    group g{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &g, groupBuffer.data(), groupBuffer.size(), &found) == 0 && found != nullptr &&
        IsAdminGroupName(found->gr_name))
      return true;
  }
  return false;
}

bool ConsoleUserName(std::wstring& name) {
  // The session's login user (also under sudo), else the process's own user.
  uid_t uid = 0;
  std::string narrow;
  if (!(LoginUid(uid) && UserNameOf(uid, narrow)) && !UserNameOf(::getuid(), narrow)) return false;
  name = MultiByteToWide(narrow, kCodePageUtf8);
  return !name.empty();
}

}  // namespace Platform
