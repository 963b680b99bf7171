// What the tracker says about the machine: OS name and version, user agent,
// the user's locale and the primary screen's size. Probes never fail: an
// unknown value is empty (or "XP-" for an unknown Windows version, 0 for an
// unknown screen size). Windows naming is a pure function tested everywhere.
#pragma once
#include <functional>
#include <string>

#include "platform/os_version.h"

namespace pelko {
namespace analytics {

struct OsDescription {
  std::string os;           // "$os", "pk_os": "Windows" or "Linux"
  std::string osVersion;    // "$os_version": Windows name ("10", "7-32") or kernel release
  std::string appPlatform;  // "pk_app_platform"
  std::string userAgent;    // "$user_agent"
};

std::string WindowsOsVersionName(const Platform::OsVersionNumbers& version);
// "Mozilla/5.0(Windows 10; Win64;)"
std::string WindowsUserAgent(const std::string& versionName, bool is64Bit);
OsDescription DescribeRunningOs();

struct LocaleParts {
  std::string locale;    // "en_GB.UTF-8", or language + "_" + country from the system
  std::string language;
  std::string country;
};
// A text with "_" is split at its first "_"; otherwise the system's default.
LocaleParts DeriveLocale(const std::string& localeText);

struct ScreenSize {
  int width = 0;
  int height = 0;
};
// The window system registers a provider when it has one; without one the
// size is 0 x 0. An empty function removes the provider.
void SetScreenSizeProvider(std::function<ScreenSize()> provider);
ScreenSize QueryScreenSize();

}  // namespace analytics
}  // namespace pelko
