#include "analytics/source/src/system_properties.h"

#include <memory>
#include <mutex>

#include "platform/user_locale.h"
#include "utils/text.h"

namespace pelko {
namespace analytics {

std::string WindowsOsVersionName(const Platform::OsVersionNumbers& v) {
  if (!v.available) return "XP-";
  const bool x64 = v.is64Bit;
  switch (v.major) {
    case 5:
      if (v.minor == 0) return "2K";
      if (v.minor == 1) return "XP";
      if (v.minor == 2) return x64 ? "XP64" : (v.server2003R2 ? "Server 2003 R2" : "Server 2003");
      return "XP+";
    case 6:
      if (v.minor == 0) return x64 ? "Vista64" : "Vista";
      if (v.minor == 1) return x64 ? "7" : "7-32";
      if (v.minor == 2) return x64 ? "8" : "8-32";
      if (v.minor == 3) return "8.1";
      return "8.1+";
    case 10:
      if (v.minor == 0) return (v.build & 0xFFFF) < 22000 ? "10" : "11";
      return "11+";
    default:
      if (v.major > 4)
        return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build & 0xFFFF);
      return "XP-";
  }
}

std::string WindowsUserAgent(const std::string& versionName, bool is64Bit) {
  return "Mozilla/5.0(Windows " + versionName + "; Win" + (is64Bit ? "64;)" : "32;)");
}

OsDescription DescribeRunningOs() {
  OsDescription d;
  if (Platform::IsWindows()) {
    const Platform::OsVersionNumbers numbers = Platform::QueryWindowsVersion();
    d.os = "Windows";
    d.osVersion = WindowsOsVersionName(numbers);
    d.appPlatform = "Windows";
    d.userAgent = WindowsUserAgent(d.osVersion, numbers.available && numbers.is64Bit);
    return d;
  }
  d.os = Utils::WideToUtf8(Platform::OsFamilyName());
  d.osVersion = Utils::WideToUtf8(Platform::KernelRelease());
  d.appPlatform = d.os;
  d.userAgent = "Mozilla/5.0(" + d.os + " " + d.osVersion + "; " + (sizeof(void*) == 8 ? "x86_64;)" : "i686;)");
  return d;
}

LocaleParts DeriveLocale(const std::string& localeText) {
  LocaleParts parts;
  const size_t underscore = localeText.find('_');
  if (!localeText.empty() && underscore != std::string::npos) {
    parts.locale = localeText;
    parts.language = localeText.substr(0, underscore);
    parts.country = localeText.substr(underscore + 1);
    return parts;
  }
  std::string language;
  std::string country;
  if (Platform::UserDefaultLocale(language, country)) {
    parts.language = language;
    parts.country = country;
    parts.locale = language + "_" + country;
  }
  return parts;
}

namespace {

std::mutex g_screenMutex;
std::shared_ptr<std::function<ScreenSize()>> g_screenProvider;

}  // namespace

void SetScreenSizeProvider(std::function<ScreenSize()> provider) {
  std::lock_guard<std::mutex> lock(g_screenMutex);
  g_screenProvider = provider ? std::make_shared<std::function<ScreenSize()>>(std::move(provider)) : nullptr;
}

ScreenSize QueryScreenSize() {
  std::shared_ptr<std::function<ScreenSize()>> provider;
  {
    std::lock_guard<std::mutex> lock(g_screenMutex);
    provider = g_screenProvider;
  }
  try {
    return provider ? (*provider)() : ScreenSize{};
  } catch (...) {
    return ScreenSize{};
  }
}

}  // namespace analytics
}  // namespace pelko
