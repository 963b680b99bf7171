// Tracker lifecycle: init, shutdown, locale and identity accessors.
#include "analytics/source/src/analytics_tracker_impl.h"

#include "analytics/pk_exception.h"
#include "analytics/sdk/sdk.h"
#include "analytics/sdk/validation.h"
#include "analytics/source/src/common_properties.h"
#include "analytics/source/src/distinct_id.h"
#include "analytics/source/src/native_track_logger.h"
#include "analytics/source/src/tracker_storage.h"
#include "platform/process_info.h"
#include "utils/text.h"

namespace pelko {
namespace analytics {
namespace {

// No built-in collector: without a configured URL records wait in the data file.
constexpr const char* kDefaultServerUrl = "";

}  // namespace

std::string ToUtf8Text(const std::string& text) {
  if (analytics_sdk::IsValidUtf8(text)) return text;
  return Utils::WideToUtf8(Utils::ToWide(text, 0));
}

AnalyticsTrackerImpl::AnalyticsTrackerImpl(const TrackerConfig& config)
    : serverUrl_(ToUtf8Text(config.serverUrl)),
      appName_(ToUtf8Text(config.appName)),
      appVersion_(ToUtf8Text(config.appVersion)),
      appStore_(ToUtf8Text(config.appStore)),
      dlAppId_(ToUtf8Text(config.dlAppId)),
      dlAppVersion_(ToUtf8Text(config.dlAppVersion)),
      edition_(config.edition),
      context_(std::make_unique<TrackerContext>()),
      baseFolder_(ToUtf8Text(config.baseFolder)),
      executablePath_(ToUtf8Text(config.executablePath)),
      scheduler_(std::make_unique<FlushScheduler>(context_->pendingRecordCount)) {
  context_->logFilePath = Utils::Utf8ToWide(ToUtf8Text(config.logFilePath));
}

void AnalyticsTrackerImpl::init() {
  auto fail = [](int line, const char* message) { throw PkException("AnalyticsTrackerImpl", "init", line, message); };
  if (appName_.empty()) fail(__LINE__, "appName is empty");
  if (appVersion_.empty()) fail(__LINE__, "appVersion is empty");
  if (appStore_.empty()) fail(__LINE__, "appStore is empty");
  TrackerContext& c = *context_;
  c.pendingRecordCount.store(0);

  const std::wstring executable =
      executablePath_.empty() ? Platform::ExecutablePath() : Utils::Utf8ToWide(executablePath_);
  const std::wstring base = baseFolder_.empty() ? DefaultBaseFolder() : Utils::Utf8ToWide(baseFolder_);
  const AnalyticsPaths paths = ResolveAnalyticsPaths(executable, base, Utils::Utf8ToWide(appName_));
  c.analyticsFolder = paths.folder;
  c.configIniPath = paths.configIni;

  if (serverUrl_.empty()) serverUrl_ = kDefaultServerUrl;

  bool logined = false;
  std::string sdkId;
  std::string userId;
  {
    std::lock_guard<std::mutex> lock(c.identityMutex);
    LoadIdentity(c);
    if (c.storedUrl != serverUrl_ || c.distinctId.empty()) {
      // An identity belongs to one collector: a new collector starts anonymous.
      c.userId.clear();
      c.isLogined = false;
      if (!c.primaryDistinctId.empty()) {
        c.distinctId = c.primaryDistinctId;
      } else {
        c.distinctId = GenerateDistinctId();
        c.primaryDistinctId = c.distinctId;
      }
      c.storedUrl = serverUrl_;
      SaveIdentity(c);
    }
    if (c.userId.empty()) c.isLogined = false;
    logined = c.isLogined;
    sdkId = logined ? c.userId : c.distinctId;
    userId = c.userId;
  }

  if (c.logFilePath.empty()) c.logFilePath = c.analyticsFolder + Utils::Utf8ToWide(appName_) + L"_PKSLog.txt";
  logger_ = std::make_unique<NativeTrackLogger>(c.logFilePath);
  logger_->open();

  if (!analytics_sdk::Sdk::Init(Utils::WideToUtf8(c.analyticsFolder), serverUrl_, sdkId, logined))
    fail(__LINE__, "analytics_sdk::Sdk::Init is failed");

  CommonPropertyInputs inputs;
  inputs.appName = appName_;
  inputs.appVersion = appVersion_;
  inputs.appStore = appStore_;
  inputs.dlAppId = dlAppId_;
  inputs.dlAppVersion = dlAppVersion_;
  inputs.userId = userId;
  inputs.edition = edition_;
  inputs.os = DescribeRunningOs();
  inputs.locale = DeriveLocale(c.locale);
  inputs.screen = QueryScreenSize();
  analytics_sdk::Sdk::RegisterSuperProperties(BuildCommonProperties(inputs));

  SaveApplicationInfo(c, appStore_, appName_, appVersion_);
}

AnalyticsTrackerImpl::~AnalyticsTrackerImpl() {
  try {
    {
      std::lock_guard<std::mutex> lock(context_->identityMutex);
      if (!context_->configIniPath.empty()) SaveIdentity(*context_);
    }
    // No flush worker may run into the Sdk once it is shut down.
    scheduler_->StopAndJoin();
    if (context_->pendingRecordCount.load() > 0) {
      for (int attempt = 0; attempt < 3; ++attempt) {
        if (analytics_sdk::Sdk::Flush()) {
          context_->pendingRecordCount.store(0);
          break;
        }
      }
    }
    if (analytics_sdk::Sdk::Exists()) analytics_sdk::Sdk::Shutdown();
  } catch (...) {
    // Releasing analytics must never take the installer down.
  }
  scheduler_.reset();
  context_.reset();
  if (logger_) logger_->close();
  logger_.reset();
}

void AnalyticsTrackerImpl::setLocale(const std::string& locale) {
  {
    std::lock_guard<std::mutex> lock(context_->identityMutex);
    context_->locale = locale;
  }
  const LocaleParts parts = DeriveLocale(locale);
  analytics_sdk::PropertiesNode node;
  node.SetString("pk_l10n_locale", parts.locale);
  node.SetString("pk_l10n_language", parts.language);
  node.SetString("pk_l10n_country", parts.country);
  analytics_sdk::Sdk::RegisterSuperProperties(node);
}

std::string AnalyticsTrackerImpl::getPrimaryDistinctId() {
  std::lock_guard<std::mutex> lock(context_->identityMutex);
  return context_->primaryDistinctId;
}

TrackLogger* AnalyticsTrackerImpl::getLogger() { return logger_.get(); }

std::string AnalyticsTrackerImpl::CurrentUserId() {
  std::lock_guard<std::mutex> lock(context_->identityMutex);
  return context_->userId;
}

}  // namespace analytics
}  // namespace pelko
