#include "app/installer_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os_version.h"
#include "tests/support/scratch_folder.h"

namespace {

// An installer "beside" a settings file with `ini` as its content (no file
// when `ini` is null).
InstallerSettings LoadBeside(const ScratchFolder& folder, const char* ini) {
  if (ini != nullptr) folder.Write("PelkoInstallerConfig.ini", ini);
  InstallerSettings settings;
  settings.LoadSettingsFile((folder / "velmora-setup.exe").wstring());
  return settings;
}

TEST(InstallerSettings, NoSettingsFileKeepsTheDefaults) {
  ScratchFolder folder;
  const InstallerSettings s = LoadBeside(folder, nullptr);
  EXPECT_EQ(s.DownloadType, 1);
  EXPECT_FALSE(s.IsCheckNet);
  EXPECT_TRUE(s.IsEnableAppAnalytics);
  EXPECT_DOUBLE_EQ(s.DownloadScale, 0.7);
  EXPECT_EQ(s.DlAppNameSuffix, L".downloader");
  EXPECT_EQ(s.m_DlAppVersion, L"");
  EXPECT_EQ(s.InstCmd, L"");
  EXPECT_EQ(s.DownloadUrl, L"http://download.velmora.com/software/458");
  EXPECT_EQ(s.installerFileName, L"velmora-setup.exe");
  EXPECT_EQ(s.productEnglishName, L"Velmora");
  EXPECT_EQ(s.installerVersion, L"1.7.9");
  EXPECT_EQ(s.AbGroup, L"IN");
  EXPECT_EQ(s.installerLanguageIndex, -1);
  EXPECT_FALSE(s.installNewOverRunning);
  EXPECT_TRUE(s.libcurlAvailable);
}

TEST(InstallerSettings, EmptyInstallSectionTurnsTheNetworkCheckOn) {
  ScratchFolder folder;
  const InstallerSettings s = LoadBeside(folder, "[Install]\r\n");
  EXPECT_TRUE(s.IsCheckNet);
  EXPECT_TRUE(s.IsEnableAppAnalytics);
  EXPECT_EQ(s.DownloadType, 1);
  EXPECT_DOUBLE_EQ(s.DownloadScale, 0.7);
  EXPECT_EQ(s.DlAppNameSuffix, L".downloader");
  EXPECT_EQ(s.DownloadUrl, kBuiltInDownloadUrl);
}

InstallerSettings LoadLine(const std::string& line) {
  ScratchFolder folder;
  return LoadBeside(folder, ("[Install]\n" + line + "\n").c_str());
}

TEST(InstallerSettings, SettingsFileValues) {
  const struct {
    const char* line;
    bool InstallerSettings::*field;
    bool expected;
  } flags[] = {
      {"IsCheckNet=True", &InstallerSettings::IsCheckNet, false},  // case-sensitive
      {"IsCheckNet=true", &InstallerSettings::IsCheckNet, true},
      {"IsCheckNet=1", &InstallerSettings::IsCheckNet, false},
      {"IsEnableAppAnalytics=false", &InstallerSettings::IsEnableAppAnalytics, false},
  };
  for (const auto& c : flags) EXPECT_EQ(LoadLine(c.line).*c.field, c.expected) << c.line;

  const struct {
    const char* line;
    double expected;
  } scales[] = {
      {"DownloadScale=abc", 0.0},  {"DownloadScale=0.5x", 0.5}, {"DownloadScale= 0.25", 0.25},
      {"DownloadScale=inf", 0.0},  {"DownloadScale=nan", 0.0},  {"DownloadScale=2.5", 1.0},
      {"DownloadScale=-0.3", 0.0}, {"DownloadScale=1e999", 0.7},  // beyond the range: the default
  };
  for (const auto& c : scales) EXPECT_DOUBLE_EQ(LoadLine(c.line).DownloadScale, c.expected) << c.line;

  EXPECT_EQ(LoadLine("DownloadType=3x").DownloadType, 3);
  EXPECT_EQ(LoadLine("DownloadType=abc").DownloadType, 0);

  const std::string longUrl = "http://h/" + std::string(300, 'x');
  const struct {
    std::string line;
    std::wstring InstallerSettings::*field;
    std::wstring expected;
  } texts[] = {
      {"DownloadUrl=http://h/pkg/${ROUTE}/setup", &InstallerSettings::DownloadUrl,
       L"http://h/pkg/download_silent/setup"},
      {"DownloadUrl=" + longUrl, &InstallerSettings::DownloadUrl,
       std::wstring(longUrl.begin(), longUrl.begin() + 259)},  // the 260-character buffer
      {"DlAppNameSuffix=.beta", &InstallerSettings::DlAppNameSuffix, L".beta"},
      {"m_DlAppVersion=2.0", &InstallerSettings::m_DlAppVersion, L"2.0"},
      {"InstCmd=/quiet /x", &InstallerSettings::InstCmd, L"/quiet /x"},
      {"AnalyticsUrl=http://127.0.0.1:9/collect", &InstallerSettings::AnalyticsUrl, L"http://127.0.0.1:9/collect"},
  };
  for (const auto& c : texts) EXPECT_EQ(LoadLine(c.line).*c.field, c.expected) << c.line;
}

InstallerSettings WithArguments(const std::vector<std::wstring>& options) {
  InstallerSettings s;
  s.IsCheckNet = true;
  s.DownloadScale = 0.6;
  std::vector<std::wstring> tokens = {L"/opt/velmora/velmora-setup"};
  tokens.insert(tokens.end(), options.begin(), options.end());
  s.ApplyArguments(tokens);
  return s;
}

TEST(InstallerSettings, CommandLineOptions) {
  EXPECT_EQ(WithArguments({L"-downloadtype=3", L"-downloadtype=2"}).DownloadType, 3);
  EXPECT_EQ(WithArguments({L"-DownloadType=3"}).DownloadType, 1);
  EXPECT_EQ(WithArguments({L"-downloadtype"}).DownloadType, 0);
  EXPECT_EQ(WithArguments({L"-downloadtype=x"}).DownloadType, 0);
  EXPECT_FALSE(WithArguments({L"-ischecknet"}).IsCheckNet);
  EXPECT_TRUE(WithArguments({L"-ischecknet=true"}).IsCheckNet);
  EXPECT_FALSE(WithArguments({L"-isenableappanalytics=TRUE"}).IsEnableAppAnalytics);
  EXPECT_EQ(WithArguments({L"-downloadurl"}).DownloadUrl, L"");
  EXPECT_EQ(WithArguments({L"-downloadurl=http://h/a/${ROUTE}.exe"}).DownloadUrl, L"http://h/a/download_silent.exe");
  EXPECT_EQ(WithArguments({L"-dlappnamesuffix=.x", L"-dlappversion=3.1"}).DlAppNameSuffix, L".x");
  EXPECT_EQ(WithArguments({L"-dlappversion=3.1"}).m_DlAppVersion, L"3.1");
  EXPECT_EQ(WithArguments({L"-instcmd=/S /D=C:\\x"}).InstCmd, L"/S /D=C:\\x");
  EXPECT_EQ(WithArguments({L"-analyticsurl=http://127.0.0.1:9/c"}).AnalyticsUrl, L"http://127.0.0.1:9/c");
  EXPECT_EQ(WithArguments({L"-language=2"}).installerLanguageIndex, 2);
  EXPECT_EQ(WithArguments({L"-language=zh"}).installerLanguageIndex, 0);
  EXPECT_TRUE(WithArguments({L"-insnew=true"}).installNewOverRunning);
  EXPECT_FALSE(WithArguments({L"-insnew"}).installNewOverRunning);
  EXPECT_EQ(WithArguments({L"downloadtype=3", L"-downloadtype3"}).DownloadType, 1);
}

TEST(InstallerSettings, DownloadScaleOptionIsNeverNaNAndStaysInRange) {
  const struct {
    const wchar_t* option;
    double expected;
  } cases[] = {
      {L"-downloadscale=0.4", 0.4}, {L"-downloadscale=abc", 0.6}, {L"-downloadscale", 0.6},
      {L"-downloadscale=nan", 0.6}, {L"-downloadscale=inf", 0.6}, {L"-downloadscale=1e999", 0.6},
      {L"-downloadscale=2", 1.0},   {L"-downloadscale=-1", 0.0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(WithArguments({c.option}).DownloadScale, c.expected) << c.option;
}

TEST(InstallerSettings, RouteResolution) {
  const struct {
    const wchar_t* url;
    const wchar_t* version;
    const wchar_t* expected;
  } cases[] = {
      {L"http://h/pkg/${ROUTE}/setup", L"10", L"http://h/pkg/download_silent/setup"},
      {L"http://h/a/${ROUTE}.exe", L"7", L"http://h/a/download_silent.exe"},
      {L"http://h/pkg/${ROUTE}/setup", L"XP", L"http://h/pkg/download_silent_xp/setup"},
      {L"http://h/${ROUTE}/${ROUTE}", L"XP-", L"http://h/download_silent_xp/download_silent_xp"},
      {L"http://h/${ROUTE}", L"XP+", L"http://h/download_silent_xp"},
      {L"http://h/${ROUTE}", L"Server 2003", L"http://h/download_silent"},
      {L"http://h/plain", L"XP", L"http://h/plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveDownloadUrlFor(c.url, c.version), c.expected) << c.url << c.version;
  EXPECT_EQ(ResolveDownloadUrl(kBuiltInDownloadUrl), kBuiltInDownloadUrl);
}

TEST(InstallerSettings, WindowsVersionNames) {
  const struct {
    unsigned major, minor, build;
    bool r2;
    const wchar_t* expected;
  } cases[] = {
      {0, 0, 0, false, L"XP-"},     {4, 10, 1998, false, L"XP-"}, {5, 0, 2195, false, L"2K"},
      {5, 1, 2600, false, L"XP"},   {5, 2, 3790, false, L"Server 2003"},
      {5, 2, 3790, true, L"Server 2003 R2"},                       {5, 3, 0, false, L"XP+"},
      {6, 0, 6002, false, L"Vista"}, {6, 1, 7601, false, L"7"},   {6, 2, 9200, false, L"8"},
      {6, 3, 9600, false, L"8.1"},  {6, 4, 0, false, L"8.1+"},    {10, 0, 19045, false, L"10"},
      {10, 0, 22631, false, L"10"}, {10, 1, 0, false, L"10+"},    {11, 0, 22631, false, L"11.0.22631"},
      {7, 2, 5, false, L"7.2.5"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowsVersionName(c.major, c.minor, c.build, c.r2), c.expected) << c.major << "." << c.minor;
}

TEST(InstallerSettings, ProcessRecordAndOsName) {
  InstallerSettings& settings = Settings();
  EXPECT_EQ(&settings, &Settings());
  EXPECT_EQ(settings.installerFileName, L"settings_test");  // the running executable's name
  std::wstring family;
  std::wstring version;
  OsVersionName(family, version);
  EXPECT_EQ(family, L"Linux");
  EXPECT_EQ(version, Platform::KernelRelease());
}

}  // namespace
