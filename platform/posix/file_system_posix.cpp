// Files and folders on POSIX. Wide paths are UTF-8 on disk.
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/code_page.h"

namespace Platform {
namespace {

bool StatOf(const std::wstring& path, struct stat& info) { return ::stat(ToFileSystemPath(path).c_str(), &info) == 0; }

// Closes a descriptor when it leaves scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

std::string ToFileSystemPath(const std::wstring& path) { return WideToMultiByte(path, kCodePageUtf8); }

bool GetDiskSpace(const std::wstring& directory, DiskSpace& space, long& lastError) {
  struct statvfs info {};
  if (::statvfs(ToFileSystemPath(directory).c_str(), &info) != 0) {
    lastError = errno;
    return false;
  }
  const uint64_t unit = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
  space.freeBytesForCaller = static_cast<uint64_t>(info.f_bavail) * unit;
  space.totalBytes = static_cast<uint64_t>(info.f_blocks) * unit;
  space.totalFreeBytes = static_cast<uint64_t>(info.f_bfree) * unit;
  lastError = 0;
  return true;
}

bool FileExists(const std::wstring& path) {
  struct stat info {};
  return StatOf(path, info) && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::wstring& path) {
  struct stat info {};
  return StatOf(path, info) && S_ISDIR(info.st_mode);
}

bool PathExists(const std::wstring& path) {
  struct stat info {};
  return ::lstat(ToFileSystemPath(path).c_str(), &info) == 0;
}

bool CreateOneDirectory(const std::wstring& path) {
  if (path.empty()) return false;
  if (::mkdir(ToFileSystemPath(path).c_str(), 0755) == 0) return true;
  return errno == EEXIST && DirectoryExists(path);
}

bool CreatePrivateDirectory(const std::wstring& path) {
  if (path.empty()) return false;
  const std::string narrow = ToFileSystemPath(path);
  if (::mkdir(narrow.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (::lstat(narrow.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool DeleteOneFile(const std::wstring& path) { return ::unlink(ToFileSystemPath(path).c_str()) == 0; }

bool CopyOneFile(const std::wstring& from, const std::wstring& to) {
  FileDescriptor in(::open(ToFileSystemPath(from).c_str(), O_RDONLY | O_CLOEXEC));
  struct stat source {};
  if (in.get() < 0 || ::fstat(in.get(), &source) != 0 || !S_ISREG(source.st_mode)) return false;
  // Copying a file onto itself would truncate it before reading it.
  struct stat target {};
  if (StatOf(to, target) && target.st_dev == source.st_dev && target.st_ino == source.st_ino) return false;
  const mode_t mode = source.st_mode & 0777;
  FileDescriptor out(::open(ToFileSystemPath(to).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
  if (out.get() < 0 || ::fchmod(out.get(), mode) != 0) return false;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    if (!WriteAll(out.get(), buffer.data(), static_cast<size_t>(n))) return false;
  }
  return out.Close();
}

bool RenameFile(const std::wstring& from, const std::wstring& to) {
  return ::rename(ToFileSystemPath(from).c_str(), ToFileSystemPath(to).c_str()) == 0;
}

bool MakeExecutableForOwner(const std::wstring& path) {
  struct stat info {};
  if (!StatOf(path, info)) return false;
  return ::chmod(ToFileSystemPath(path).c_str(), (info.st_mode & 07777) | S_IXUSR) == 0;
}

int64_t FileSize(const std::wstring& path) {
  struct stat info {};
  if (!StatOf(path, info) || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

}  // namespace Platform
