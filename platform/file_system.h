// Files and folders. Paths are wide; on POSIX they are UTF-8 on disk.
#pragma once
#include <cstdint>
#include <string>

namespace Platform {

#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
constexpr wchar_t kOtherSeparator = L'/';
#else
constexpr wchar_t kPathSeparator = L'/';
constexpr wchar_t kOtherSeparator = L'\\';
#endif

struct DiskSpace {
  uint64_t freeBytesForCaller = 0;
  uint64_t totalBytes = 0;
  uint64_t totalFreeBytes = 0;
};
// False with `lastError` set (errno on POSIX) when the volume cannot be asked.
bool GetDiskSpace(const std::wstring& directory, DiskSpace& space, long& lastError);

bool FileExists(const std::wstring& path);       // a regular file
bool DirectoryExists(const std::wstring& path);
bool PathExists(const std::wstring& path);       // anything
// Creates one level; true when the directory exists afterwards.
bool CreateOneDirectory(const std::wstring& path);
// Creates one level that only the current user may use; true when such a
// directory exists afterwards. An existing one must be a real directory (not
// a link) owned by the user and closed to others, so that a folder planted
// by someone else in a shared temp folder is never used (POSIX).
bool CreatePrivateDirectory(const std::wstring& path);
bool DeleteOneFile(const std::wstring& path);
bool CopyOneFile(const std::wstring& from, const std::wstring& to);  // overwrites
bool RenameFile(const std::wstring& from, const std::wstring& to);   // replaces
bool MakeExecutableForOwner(const std::wstring& path);
int64_t FileSize(const std::wstring& path);  // -1 when missing

std::string ToFileSystemPath(const std::wstring& path);  // narrow path for fopen and friends

}  // namespace Platform
