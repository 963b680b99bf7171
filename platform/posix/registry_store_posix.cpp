// The per-user registry on POSIX: one INI file per key path.
//
//   key  "Software\PelkoSoft\Velmora"
//   file $XDG_CONFIG_HOME/velmora-registry/Software/PelkoSoft/Velmora.ini
//        (~/.config/velmora-registry/... when XDG_CONFIG_HOME is unset or relative)
//
// Values live in the section "values", one "name=value" line each; the
// unnamed (default) value is stored under the name "@". Every value is
// written inside double quotes so that the INI rules (trimming, quote
// stripping) give back exactly what was written. Limits: key path
// components are case-sensitive on disk; "." and ".." components, value
// names with '=' or a leading '[', and line breaks anywhere are refused.
#include "platform/registry_store.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/private_profile.h"

namespace Platform {
namespace {

constexpr const wchar_t* kSection = L"values";
constexpr size_t kValueBufferChars = 32768;  // the longest REG_SZ the store hands back

std::wstring ConfigHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return MultiByteToWide(xdg, kCodePageUtf8);
  const char* home = std::getenv("HOME");
  std::string base = home != nullptr && home[0] == '/' ? home : "";
  if (base.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid())) base = pw->pw_dir ? pw->pw_dir : "";
  }
  if (base.empty()) return std::wstring();
  return MultiByteToWide(base, kCodePageUtf8) + L"/.config";
}

// The key path's components, or empty when the path is unusable.
std::vector<std::wstring> KeyComponents(const std::wstring& keyPath) {
  std::vector<std::wstring> parts;
  std::wstring part;
  const auto flush = [&]() -> bool {
    if (part.empty()) return true;
    if (part == L"." || part == L"..") return false;
    parts.push_back(part);
    part.clear();
    return true;
  };
  for (wchar_t c : keyPath) {
    if (c == L'\\' || c == L'/') {
      if (!flush()) return {};
    } else if (c == L'\0' || c == L'\r' || c == L'\n') {
      return {};
    } else {
      part += c;
    }
  }
  if (!flush()) return {};
  return parts;
}

std::wstring StoreValueName(const std::wstring& valueName) { return valueName.empty() ? L"@" : valueName; }

bool UsableValueName(const std::wstring& name) {
  return name.find_first_of(L"=\r\n") == std::wstring::npos && name[0] != L'[' && name.front() != L' ' &&
         name.back() != L' ';
}

// Creates the store's folders with private permissions.
bool CreateFolders(const std::wstring& folder) {
  std::wstring prefix;
  size_t at = 0;
  while (at != std::wstring::npos) {
    at = folder.find(L'/', at + 1);
    prefix = folder.substr(0, at);
    if (prefix.empty()) continue;
    const std::string narrow = WideToMultiByte(prefix, kCodePageUtf8);
    if (::mkdir(narrow.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return DirectoryExists(folder);
}

}  // namespace

std::wstring UserRegistryStorePath(const std::wstring& keyPath) {
  const std::vector<std::wstring> parts = KeyComponents(keyPath);
  const std::wstring home = ConfigHome();
  if (parts.empty() || home.empty()) return std::wstring();
  std::wstring path = home + L"/velmora-registry";
  for (const std::wstring& part : parts) path += L"/" + part;
  return path + L".ini";
}

std::optional<std::wstring> ReadUserRegistryString(const std::wstring& keyPath, const std::wstring& valueName) {
  const std::wstring file = UserRegistryStorePath(keyPath);
  const std::wstring name = StoreValueName(valueName);
  if (file.empty() || !UsableValueName(name) || !FileExists(file)) return std::nullopt;
  // A sentinel default that no stored value can equal: stored values never
  // contain a line break.
  const std::wstring missing = L"\n";
  std::wstring value = GetProfileString(kSection, name, missing, file, kValueBufferChars);
  if (value == missing) return std::nullopt;
  return value;
}

bool WriteUserRegistryString(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& value) {
  const std::wstring file = UserRegistryStorePath(keyPath);
  const std::wstring name = StoreValueName(valueName);
  if (file.empty() || !UsableValueName(name) || value.find_first_of(L"\r\n") != std::wstring::npos) return false;
  if (!CreateFolders(file.substr(0, file.rfind(L'/')))) return false;
  return WriteProfileString(kSection, name, L"\"" + value + L"\"", file);
}

}  // namespace Platform
