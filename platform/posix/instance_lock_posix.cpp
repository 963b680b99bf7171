// Named lock on POSIX: an exclusive flock on "<name>.lock" in the user's
// runtime folder ($XDG_RUNTIME_DIR, or /tmp/velmora-<uid> made private to the
// user). The kernel drops the lock with the last descriptor, so a holder that
// crashes or is killed releases it; the descriptor is close-on-exec, so child
// processes never inherit it. The file itself stays behind (removing it would
// race with the next holder).
#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/code_page.h"

namespace Platform {
namespace {

bool IsPrivateFolder(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string LockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/') {
    struct stat info {};
    if (::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) return runtime;
  }
  const std::string folder = "/tmp/velmora-" + std::to_string(::geteuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return std::string();
  // A folder planted by another user must not decide who holds the lock.
  return IsPrivateFolder(folder) ? folder : std::string();
}

// Keeps the file name to one harmless path component.
std::string LockFileName(const std::wstring& name) {
  std::string out;
  for (char c : WideToMultiByte(name, kCodePageUtf8)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                       c == '-' || c == '.';
    out += plain ? c : '_';
  }
  return out + ".lock";
}

}  // namespace

NamedLock::~NamedLock() { Release(); }

bool NamedLock::TryAcquire(const std::wstring& name) {
  if (fd_ >= 0) return true;
  const std::string folder = LockFolder();
  if (folder.empty() || name.empty()) return false;
  const std::string path = folder + "/" + LockFileName(name);
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return false;
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void NamedLock::Release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

}  // namespace Platform
