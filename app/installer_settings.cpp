#include "app/installer_settings.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <system_error>

#include "platform/file_system.h"
#include "platform/os_version.h"
#include "platform/private_profile.h"
#include "platform/process_info.h"
#include "utils/argument_map.h"
#include "utils/text.h"
#include "utils/wide_format.h"

const wchar_t* const kBuiltInDownloadUrl = L"http://download.velmora.com/software/458";
const wchar_t* const kSettingsFileName = L"PelkoInstallerConfig.ini";

namespace {

constexpr const wchar_t* kSection = L"Install";
constexpr size_t kValueBufferChars = 260;
constexpr double kDefaultDownloadScale = 0.7;

double ClampScale(double scale) { return scale < 0.0 ? 0.0 : (scale > 1.0 ? 1.0 : scale); }

enum class NumberParse { Number, NotANumber, OutOfRange };

// The settings file's reading of a decimal number: leading white space
// skipped, the longest valid prefix used. Only digits may start the number,
// so "inf" and "nan" are not numbers here.
NumberParse ParseLeadingDecimal(const std::wstring& text, double& value) {
  size_t i = 0;
  while (i < text.size() && std::wstring(L" \t\n\v\f\r").find(text[i]) != std::wstring::npos) ++i;
  std::string ascii;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') ascii += '-';
    ++i;
  }
  const size_t digitsFrom = i;
  for (; i < text.size() && text[i] < 0x80; ++i) ascii += static_cast<char>(text[i]);
  if (digitsFrom >= text.size()) return NumberParse::NotANumber;
  const wchar_t first = text[digitsFrom];
  const bool startsLikeNumber = (first >= L'0' && first <= L'9') ||
                                (first == L'.' && digitsFrom + 1 < text.size() && text[digitsFrom + 1] >= L'0' &&
                                 text[digitsFrom + 1] <= L'9');
  if (!startsLikeNumber) return NumberParse::NotANumber;
  const char* begin = ascii.data();
  const auto result = std::from_chars(begin, begin + ascii.size(), value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) return NumberParse::OutOfRange;
  if (result.ec != std::errc() || result.ptr == begin) return NumberParse::NotANumber;
  return NumberParse::Number;
}

std::wstring ReadText(const std::wstring& key, const std::wstring& defaultValue, const std::wstring& file) {
  return Platform::GetProfileString(kSection, key, defaultValue, file, kValueBufferChars);
}

}  // namespace

InstallerSettings::InstallerSettings() : DownloadUrl(ResolveDownloadUrl(kBuiltInDownloadUrl)) {}

void InstallerSettings::LoadSettingsFile(const std::wstring& executablePath) {
  const std::wstring exe = executablePath.empty() ? Platform::ExecutablePath() : executablePath;
  // Without the executable's path there is no folder to look in (and no
  // file name to record): the defaults stay.
  if (!exe.empty()) {
    const size_t cut = exe.rfind(Platform::kPathSeparator);
    installerFileName = cut == std::wstring::npos ? exe : exe.substr(cut + 1);
    const std::wstring folder = cut == std::wstring::npos ? std::wstring() : exe.substr(0, cut + 1);
    const std::wstring file = folder + kSettingsFileName;
    if (Platform::FileExists(file)) {
      ApplyDownloadUrl(ReadText(L"DownloadUrl", kBuiltInDownloadUrl, file));
      DownloadType = Platform::GetProfileInt(kSection, L"DownloadType", 1, file);
      IsCheckNet = ReadText(L"IsCheckNet", L"true", file) == L"true";
      IsEnableAppAnalytics = ReadText(L"IsEnableAppAnalytics", L"true", file) == L"true";
      DlAppNameSuffix = ReadText(L"DlAppNameSuffix", L".downloader", file);
      m_DlAppVersion = ReadText(L"m_DlAppVersion", L"", file);
      double scale = 0.0;
      switch (ParseLeadingDecimal(ReadText(L"DownloadScale", L"0.7", file), scale)) {
        case NumberParse::Number: DownloadScale = ClampScale(scale); break;
        case NumberParse::NotANumber: DownloadScale = 0.0; break;
        case NumberParse::OutOfRange: DownloadScale = kDefaultDownloadScale; break;
      }
      InstCmd = ReadText(L"InstCmd", L"", file);
      AnalyticsUrl = ReadText(L"AnalyticsUrl", L"", file);
    }
  }
  productEnglishName = L"Velmora";
  installerVersion = L"1.7.9";
}

void InstallerSettings::ApplyCommandLine() { ApplyArguments(Platform::ProcessArguments()); }

void InstallerSettings::ApplyArguments(const std::vector<std::wstring>& tokens) {
  Utils::ArgumentMap args;
  args.ParseTokens(tokens);
  if (args.Has(L"-downloadurl")) ApplyDownloadUrl(args.GetString(L"-downloadurl"));
  if (args.Has(L"-downloadtype")) DownloadType = args.GetInt(L"-downloadtype");
  if (args.Has(L"-downloadscale")) {
    // Text that is no number gives back the current value; infinities and
    // NaN would make the progress meaningless, so they change nothing either.
    const double scale = args.GetDouble(L"-downloadscale", DownloadScale);
    if (std::isfinite(scale)) DownloadScale = ClampScale(scale);
  }
  if (args.Has(L"-ischecknet")) IsCheckNet = args.GetBool(L"-ischecknet");
  if (args.Has(L"-isenableappanalytics")) IsEnableAppAnalytics = args.GetBool(L"-isenableappanalytics");
  if (args.Has(L"-dlappnamesuffix")) DlAppNameSuffix = args.GetString(L"-dlappnamesuffix");
  if (args.Has(L"-dlappversion")) m_DlAppVersion = args.GetString(L"-dlappversion");
  if (args.Has(L"-instcmd")) InstCmd = args.GetString(L"-instcmd");
  if (args.Has(L"-analyticsurl")) AnalyticsUrl = args.GetString(L"-analyticsurl");
  if (args.Has(L"-language")) installerLanguageIndex = args.GetInt(L"-language");
  if (args.Has(L"-insnew")) installNewOverRunning = args.GetBool(L"-insnew");
}

void InstallerSettings::ApplyDownloadUrl(const std::wstring& url) { DownloadUrl = ResolveDownloadUrl(url); }

InstallerSettings& Settings() {
  static InstallerSettings settings = [] {
    InstallerSettings initial;
    initial.LoadSettingsFile();
    return initial;
  }();
  return settings;
}

std::wstring ResolveDownloadUrlFor(const std::wstring& url, const std::wstring& versionName) {
  const std::wstring marker = L"${ROUTE}";
  if (url.find(marker) == std::wstring::npos) return url;
  const bool xpFamily = versionName.find(L"XP") != std::wstring::npos;
  return Utils::ReplaceAll(url, marker, xpFamily ? L"download_silent_xp" : L"download_silent");
}

std::wstring ResolveDownloadUrl(const std::wstring& url) {
  if (url.find(L"${ROUTE}") == std::wstring::npos) return url;
  std::wstring family;
  std::wstring version;
  OsVersionName(family, version);
  return ResolveDownloadUrlFor(url, version);
}

void OsVersionName(std::wstring& family, std::wstring& version) {
  if (!Platform::IsWindows()) {
    family = Platform::OsFamilyName();
    version = Platform::KernelRelease();
    return;
  }
  family = L"Windows";
  const Platform::OsVersionNumbers numbers = Platform::QueryWindowsVersion();
  version = numbers.available
                ? WindowsVersionName(numbers.major, numbers.minor, numbers.build & 0xFFFFu, numbers.server2003R2)
                : L"XP-";
}

std::wstring WindowsVersionName(unsigned major, unsigned minor, unsigned build, bool server2003R2) {
  if (major < 5) return L"XP-";
  if (major == 5) {
    if (minor == 0) return L"2K";
    if (minor == 1) return L"XP";
    if (minor == 2) return server2003R2 ? L"Server 2003 R2" : L"Server 2003";
    return L"XP+";
  }
  if (major == 6) {
    switch (minor) {
      case 0: return L"Vista";
      case 1: return L"7";
      case 2: return L"8";
      case 3: return L"8.1";
      default: return L"8.1+";
    }
  }
  if (major == 10) return minor == 0 ? L"10" : L"10+";
  return Utils::FormatWide(L"%u.%u.%u", major, minor, build);
}
