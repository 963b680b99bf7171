// Known folders on POSIX (the mapping is listed in known_folders.h). Only
// absolute environment values count, as the XDG rules say; nothing is created.
#include "platform/known_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/code_page.h"

namespace Platform {
namespace {

std::string AbsoluteEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = AbsoluteEnv("HOME");
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid())) {
      if (pw->pw_dir != nullptr && pw->pw_dir[0] == '/') home = pw->pw_dir;
    }
  }
  return home;
}

std::string EnvOrHome(const char* name, const char* homeRelative) {
  const std::string value = AbsoluteEnv(name);
  if (!value.empty()) return value;
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + homeRelative;
}

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::wstring KnownFolderPath(KnownFolder folder) {
  std::string path;
  switch (folder) {
    case KnownFolder::AppData:
      path = EnvOrHome("XDG_DATA_HOME", "/.local/share");
      break;
    case KnownFolder::LocalAppData:
      path = EnvOrHome("XDG_CACHE_HOME", "/.cache");
      break;
    case KnownFolder::ProgramFilesX86:
      path = ::geteuid() == 0 ? std::string("/opt") : EnvOrHome("XDG_DATA_HOME", "/.local/share");
      break;
    case KnownFolder::CommonDocuments:
      path = EnvOrHome("XDG_DOCUMENTS_DIR", "/Documents");
      break;
    case KnownFolder::Temp:
      path = AbsoluteEnv("TMPDIR");
      if (path.empty()) path = "/tmp";
      break;
  }
  return MultiByteToWide(WithoutTrailingSeparators(path), kCodePageUtf8);
}

}  // namespace Platform
