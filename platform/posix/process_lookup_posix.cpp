// Finding a running process by its executable's file name: a scan of /proc.
// The file name comes from /proc/<pid>/exe; processes of other users hide
// that link, so the first argument of /proc/<pid>/cmdline stands in (for a
// Windows program under Wine that is its "C:\...\Name.exe" path).
#include <dirent.h>
#include <unistd.h>

#include <cwctype>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "platform/code_page.h"
#include "platform/process_info.h"

namespace Platform {
namespace {

std::wstring FileNamePart(const std::string& path) {
  std::string name = path;
  const std::string deleted = " (deleted)";
  if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
    name.resize(name.size() - deleted.size());
  const size_t cut = name.find_last_of("/\\");
  if (cut != std::string::npos) name.erase(0, cut + 1);
  return MultiByteToWide(name, kCodePageUtf8);
}

bool SameFileName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return true;
}

bool IsAllDigits(const char* text) {
  if (*text == '\0') return false;
  for (; *text != '\0'; ++text)
    if (*text < '0' || *text > '9') return false;
  return true;
}

bool ProcessMatches(const std::string& pid, const std::wstring& exeName) {
  const std::string folder = "/proc/" + pid;
  char link[4096];
  const ssize_t n = ::readlink((folder + "/exe").c_str(), link, sizeof(link) - 1);
  if (n > 0 && SameFileName(FileNamePart(std::string(link, static_cast<size_t>(n))), exeName)) return true;
  std::ifstream in(folder + "/cmdline", std::ios::binary);
  std::string first;
  std::getline(in, first, '\0');
  return !first.empty() && SameFileName(FileNamePart(first), exeName);
}

}  // namespace

bool IsProcessRunning(const std::wstring& exeName) {
  if (exeName.empty()) return false;
  std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), &::closedir);
  if (!proc) return false;
  while (const dirent* entry = ::readdir(proc.get())) {
    if (IsAllDigits(entry->d_name) && ProcessMatches(entry->d_name, exeName)) return true;
  }
  return false;
}

}  // namespace Platform
