// The fifteen event operations: check the record, build its properties,
// add the caller's context properties, record it, update the user profile
// where the event says so, and ask for a flush.
#include <cstdio>

#include "analytics/pk_exception.h"
#include "analytics/sdk/sdk.h"
#include "analytics/sdk/sdk_clock.h"
#include "analytics/source/src/analytics_tracker_impl.h"
#include "analytics/source/src/native_user_tracker.h"
#include "analytics/source/src/system_properties.h"
#include "analytics/source/src/tracker_storage.h"

namespace pelko {
namespace analytics {
namespace {

using analytics_sdk::PropertiesNode;
using analytics_sdk::Sdk;

constexpr const char* kInstallSource = "android_id=123##imei=1234##mac=123";

[[noreturn]] void Reject(const char* function, int line, const std::string& message) {
  throw PkException("AnalyticsTrackerImpl", function, line, message);
}

void AddContext(PropertiesNode& node, const PkContextProperties& context, PkEventType type) {
  for (const auto& entry : context.getEventProperties(static_cast<int>(type)))
    node.SetString(entry.first, entry.second ? *entry.second : std::string());
}

void SetText(PropertiesNode& node, const std::string& key, const std::string& text) {
  node.SetString(key, ToUtf8Text(text));
}
void SetOptionalText(PropertiesNode& node, const std::string& key, const std::string& text) {
  if (!text.empty()) SetText(node, key, text);
}
void SetOptionalRawText(PropertiesNode& node, const std::string& key, const std::string& text) {
  if (!text.empty()) node.SetString(key, text);
}
void SetOptionalInt(PropertiesNode& node, const std::string& key, const OptionalInt& value) {
  if (value) node.SetInt(key, static_cast<int64_t>(*value));
}
void SetOptionalNumber(PropertiesNode& node, const std::string& key, const OptionalFloat& value) {
  if (value) node.SetNumber(key, static_cast<double>(*value));
}
void SetPositiveNumber(PropertiesNode& node, const std::string& key, float value) {
  if (value > 0) node.SetNumber(key, static_cast<double>(value));
}
// Success, Cancelled and Fail are written; Unknown is left out.
void SetDecidedResult(PropertiesNode& node, const std::string& key, const OptionalResult& result) {
  if (result && (*result == PkResult::Success || *result == PkResult::Cancelled || *result == PkResult::Fail))
    node.SetString(key, toString(*result));
}

std::string FormatAmount(float amount) {
  char text[64];
  std::snprintf(text, sizeof(text), "%f", static_cast<double>(amount));
  return text;
}

}  // namespace

void AnalyticsTrackerImpl::trackActivity(const PkContextProperties& context) {
  PropertiesNode node;
  AddContext(node, context, PkEventType::Activity);
  const OsDescription os = DescribeRunningOs();
  if (!appStore_.empty()) node.SetString("pk_app_store", appStore_);
  if (!appName_.empty()) {
    node.SetString("pk_app_id", appName_);
    node.SetString("$app_id", appName_);
  }
  if (!appVersion_.empty()) node.SetString("$app_version", appVersion_);
  node.SetString("$ios_install_source", kInstallSource);
  if (!os.userAgent.empty()) node.SetString("$user_agent", os.userAgent);
  node.SetBool("$is_first_time", true);
  node.SetString("$os", os.os);
  node.SetString("$os_version", os.osVersion);
  Sdk::TrackWithInstallSource("PkEventActivity", node);

  const int64_t now = analytics_sdk::NowMilliseconds();
  NativeUserTracker::ProfileUserPropertyDateTime("$first_visit_time", now);
  NativeUserTracker::ProfileUserPropertyDateTime("pk_first_visit_date", now);
  NativeUserTracker::ProfileUserPropertyDateTime("pk_last_visit_date", now);
  NativeUserTracker::ProfileUserPropertyString("pk_os", os.os);
  NativeUserTracker::ProfileUserPropertyString("pk_os_version", os.osVersion);
  NativeUserTracker::ProfileUserPropertyString("pk_app_store", appStore_);
  NativeUserTracker::ProfileUserPropertyString("pk_app_platform", os.appPlatform);
  NativeUserTracker::ProfileUserPropertyString("pk_last_app_id", appName_);
  NativeUserTracker::ProfileUserPropertyString("pk_last_app_version", appVersion_);
  NativeUserTracker::ProfileUserPropertyString("$ios_install_source", kInstallSource);
  context_->pendingRecordCount.fetch_add(9);
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackLaunch(const PkContextProperties& context) {
  PropertiesNode node;
  AddContext(node, context, PkEventType::Launch);
  Sdk::Track("PkEventLaunch", node);
  if (!CurrentUserId().empty()) {
    const int64_t now = analytics_sdk::NowMilliseconds();
    NativeUserTracker::ProfileUserPropertyDateTime("$first_visit_time", now);
    NativeUserTracker::ProfileUserPropertyDateTime("pk_first_visit_date", now);
    NativeUserTracker::ProfileUserPropertyDateTime("pk_last_visit_date", now);
    context_->pendingRecordCount.fetch_add(4);
  }
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackLogin(const PkEventLogin& login, bool success, const std::string& reason,
                                      const PkContextProperties& context) {
  PropertiesNode node;
  if (!login.userId.empty()) {
    node.SetString("pk_user_id", login.userId);
    node.SetString("pk_login_id", login.userId);
  }
  node.SetString("pk_type", userType(login.userType));
  node.SetString("pk_result", success ? "Success" : "Fail");
  SetOptionalText(node, "pk_reason", reason);
  if (login.userId.empty()) {
    AddContext(node, context, PkEventType::Login);
    Sdk::Track("PkEventLogin", node);
  } else {
    node.SetBool("$is_first_time", true);
    AddContext(node, context, PkEventType::Login);
    Sdk::Track("PkEventLogin", node);
    std::lock_guard<std::mutex> lock(context_->identityMutex);
    TrackerContext& c = *context_;
    c.userVipLevel = login.vipLevel;
    if (!c.isLogined || c.userId.empty()) {
      Sdk::SignUp(login.userId);
      c.isLogined = true;
      c.userId = login.userId;
      c.distinctId = login.userId;
      PropertiesNode userProperty;
      userProperty.SetString("pk_user_id", login.userId);
      Sdk::RegisterSuperProperties(userProperty);
    }
    SaveIdentity(c);
  }
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackClick(const PkEventClick& e, const PkContextProperties& context) {
  if (e.name.empty()) Reject("trackClick", __LINE__, "pkEventClick.name is empty");
  PropertiesNode node;
  SetOptionalText(node, "pk_aname", e.aname);
  SetText(node, "pk_name", e.name);
  node.SetString("pk_click_type", toString(e.clickType));
  SetOptionalText(node, "pk_title", e.title);
  SetOptionalText(node, "pk_module", e.module);
  SetOptionalText(node, "pk_position", e.position);
  SetOptionalInt(node, "pk_tab_index", e.tabIndex);
  SetOptionalText(node, "pk_tab_name", e.tabName);
  SetOptionalInt(node, "pk_banner_index", e.bannerIndex);
  SetOptionalText(node, "pk_banner_name", e.bannerName);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Click);
  Sdk::Track("PkEventClick", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackView(const PkEventView& e, const PkContextProperties& context) {
  if (e.name.empty()) Reject("trackView", __LINE__, "pkEventView.name is empty");
  PropertiesNode node;
  SetOptionalText(node, "pk_aname", e.aname);
  SetText(node, "pk_name", e.name);
  SetOptionalText(node, "pk_title", e.title);
  SetOptionalText(node, "pk_position", e.position);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::View);
  Sdk::Track("PkEventView", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackCashier(const PkEventCashier& e, const PkContextProperties& context) {
  if (e.pk_cashier_name.empty()) Reject("trackCashier", __LINE__, "pkEventCashier.pk_cashier_name is empty");
  PropertiesNode node;
  SetText(node, "pk_cashier_name", e.pk_cashier_name);
  SetOptionalText(node, "pk_cashier_title", e.cashierTitle);
  SetOptionalText(node, "pk_subitem", e.subitem);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Cashier);
  Sdk::Track("PkEventCashier", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackShare(const PkEventShare& e, const PkContextProperties& context) {
  PropertiesNode node;
  SetOptionalText(node, "pk_aname", e.aname);
  SetOptionalText(node, "pk_channel", e.channel);
  SetOptionalText(node, "pk_position", e.position);
  SetOptionalText(node, "pk_shared_name", e.sharedName);
  if (e.result) node.SetString("pk_result", toString(*e.result));
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Share);
  Sdk::Track("PkEventShare", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackTask(const PkEventTask& e, const PkContextProperties& context) {
  if (e.name.empty()) Reject("trackTask", __LINE__, "pkEventTask.name is empty");
  PropertiesNode node;
  SetOptionalText(node, "pk_aname", e.aname);
  SetText(node, "pk_task_name", e.name);
  SetOptionalText(node, "pk_reason", e.reason);
  SetOptionalNumber(node, "pk_task_elapsed", e.elapsed);
  SetDecidedResult(node, "pk_task_result", e.result);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Task);
  Sdk::Track("PkEventTask", node);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackFile(const PkEventFile& e, const PkContextProperties& context) {
  if (e.aname.empty()) Reject("trackFile", __LINE__, "pkEventFile.aname is empty");
  PropertiesNode node;
  SetText(node, "pk_aname", e.aname);
  SetOptionalText(node, "pk_name", e.name);
  if (e.io) node.SetString("pk_io", ioTypeToString(*e.io));
  SetOptionalText(node, "pk_ext", e.ext);
  if (e.size) SetPositiveNumber(node, "pk_size", *e.size);
  SetOptionalInt(node, "pk_duration", e.duration);
  SetOptionalNumber(node, "pk_fps", e.fps);
  SetOptionalNumber(node, "pk_bps", e.bps);
  SetOptionalInt(node, "pk_width", e.width);
  SetOptionalInt(node, "pk_height", e.height);
  SetOptionalInt(node, "pk_depth", e.depth);
  SetDecidedResult(node, "pk_result", e.result);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::File);
  Sdk::Track("PkEventFile", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackOrder(const PkEventOrder& e, const PkContextProperties& context) {
  if (e.pkSuitId.empty()) Reject("trackOrder", __LINE__, "pkEventOrder.pkSuitId is empty");
  if (!e.pkCurrency) Reject("trackOrder", __LINE__, "pkEventOrder.pkCurrency is nullptr");
  if (!(e.originalAmount > 0)) Reject("trackOrder", __LINE__, "pkEventOrder.originalAmount is less than zero");
  if (!(e.paidAmount > 0)) Reject("trackOrder", __LINE__, "pkEventOrder.originalAmount is less than zero");
  PropertiesNode node;
  SetOptionalText(node, "pk_order_id", e.orderId);
  SetOptionalText(node, "pk_subitem", e.subitem);
  SetOptionalText(node, "pk_sku", e.sku);
  SetText(node, "pk_suit_id", e.pkSuitId);
  node.SetString("pk_currency", currencyToString(*e.pkCurrency));
  node.SetNumber("pk_original_amount", static_cast<double>(e.originalAmount));
  SetOptionalText(node, "pk_voucher_id", e.voucherId);
  node.SetNumber("pk_paid_amount", static_cast<double>(e.paidAmount));
  SetOptionalText(node, "pk_cashier_name", e.cashierName);
  SetOptionalText(node, "pk_cashier_title", e.cashierTitle);
  SetOptionalInt(node, "pk_campaign_code", e.campaignCode);
  SetPositiveNumber(node, "pk_cur_original_amount", e.curOriginalAmount);
  SetPositiveNumber(node, "pk_cur_paid_amount", e.curPaidAmount);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Order);
  Sdk::Track("PkEventOrder", node);
  context_->pendingRecordCount.fetch_add(1);
  RequestFlush(false);
}

void AnalyticsTrackerImpl::trackPayment(const PkEventPayment& e, const PkContextProperties& context) {
  if (e.pkOrderId.empty()) Reject("trackPayment", __LINE__, "pkEventPayment.pkOrderId is empty");
  if (e.paidAmount < 0) Reject("trackPayment", __LINE__, "paidAmount = " + FormatAmount(e.paidAmount) + " is invalid");
  if (e.originalAmount < 0)
    Reject("trackPayment", __LINE__, "originalAmount = " + FormatAmount(e.originalAmount) + " is invalid");
  if (!e.result || (*e.result != PkResult::Success && *e.result != PkResult::Fail))
    Reject("trackPayment", __LINE__, "pkEventPayment.result is invalid");
  PropertiesNode node;
  SetText(node, "pk_order_id", e.pkOrderId);
  SetOptionalText(node, "pk_subitem", e.subitem);
  SetOptionalText(node, "pk_sku", e.sku);
  // A missing currency or platform leaves its property out instead of reading through null.
  if (e.currency) node.SetString("pk_currency", currencyToString(*e.currency));
  node.SetNumber("pk_original_amount", static_cast<double>(e.originalAmount));
  SetOptionalInt(node, "pk_campaign_code", e.campaignCode);
  SetOptionalText(node, "pk_voucher_id", e.voucherId);
  SetOptionalText(node, "pk_used_voucher_id", e.usedVoucherId);
  node.SetNumber("pk_paid_amount", static_cast<double>(e.paidAmount));
  SetOptionalText(node, "pk_suit_id", e.suitId);
  SetOptionalText(node, "pk_cashier_name", e.cashierName);
  SetOptionalText(node, "pk_cashier_title", e.cashierTitle);
  if (e.paidPlatform) node.SetString("pk_paid_platform", paidPlatformToString(*e.paidPlatform));
  node.SetString("pk_result", toString(*e.result));
  if (e.iapType) node.SetString("pk_iap_type", iapTypeToString(*e.iapType));
  SetPositiveNumber(node, "pk_cur_original_amount", e.curOriginalAmount);
  SetPositiveNumber(node, "pk_cur_paid_amount", e.curPaidAmount);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::Payment);
  Sdk::Track("PkEventPayment", node);

  const int64_t now = analytics_sdk::NowMilliseconds();
  NativeUserTracker::ProfileUserPropertyNumber("pk_paid_count", static_cast<int32_t>(1));
  NativeUserTracker::ProfileUserPropertyNumber("pk_consumption", static_cast<double>(e.paidAmount));
  NativeUserTracker::ProfileUserPropertyDateTime("pk_first_paid_date", now);
  NativeUserTracker::ProfileUserPropertyDateTime("pk_last_paid_date", now);
  context_->pendingRecordCount.fetch_add(4);
  if (*e.result == PkResult::Success) {
    std::lock_guard<std::mutex> lock(context_->identityMutex);
    context_->userVipLevel = 1;
    SaveIdentity(*context_);
  }
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackUninstall(const std::string& reason, const PkContextProperties& context) {
  PropertiesNode node;
  SetOptionalText(node, "pk_uninstall_reason", reason);
  AddContext(node, context, PkEventType::Uninstall);
  Sdk::Track("PkEventUninstall", node);
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackCrash(const std::string& reason) {
  PropertiesNode node;
  SetOptionalText(node, "app_crashed_reason", reason);
  Sdk::Track("AppCrashed", node);
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackUpdate(const PkEventUpdate& e, const PkContextProperties& context) {
  PropertiesNode node;
  node.SetString("pk_update_op", updateOpToString(e.op));
  const std::string resultText = e.result ? updateResultToString(*e.result) : std::string();
  switch (static_cast<PkUpdateOp>(e.op)) {
    case PkUpdateOp::UpdateCheck: node.SetString("pk_update_result", resultText); break;
    case PkUpdateOp::DownloadStart:
    case PkUpdateOp::UpgrateStart: break;
    case PkUpdateOp::DownloadEnd:
    case PkUpdateOp::UpgrateEnd:
      if (resultText.empty()) Reject("trackUpdate", __LINE__, "Unknown updateResultInfo info");
      node.SetString("pk_update_result", resultText);
      if (!e.elapsed) Reject("trackUpdate", __LINE__, "invalid elapsed info");
      node.SetNumber("pk_elapsed", static_cast<double>(*e.elapsed));
      if (static_cast<PkUpdateOp>(e.op) == PkUpdateOp::UpgrateEnd) node.SetBool("$is_first_time", true);
      break;
  }
  AddContext(node, context, PkEventType::Update);
  Sdk::Track("PkEventUpdate", node);
  RequestFlush(true);
}

void AnalyticsTrackerImpl::trackAppOpenNotification(const AppOpenNotification* e, const PkContextProperties& context) {
  if (!e) Reject("trackAppOpenNotification", __LINE__, "&appOpenNotification is nullptr");
  if (e->planID.empty()) Reject("trackAppOpenNotification", __LINE__, "planID is emptry");
  if (e->planType.empty()) Reject("trackAppOpenNotification", __LINE__, "planType is emptry");
  if (e->msgTitle.empty()) Reject("trackAppOpenNotification", __LINE__, "msgTitle is emptry");
  PropertiesNode node;
  SetText(node, "$sf_msg_title", e->msgTitle);
  SetOptionalText(node, "$sf_msg_content", e->msgContent);
  SetOptionalRawText(node, "$sf_link_url", e->linkUrl);
  node.SetString("$sf_plan_id", e->planID);
  SetOptionalRawText(node, "$sf_audience_id", e->audienceId);
  SetOptionalRawText(node, "$sf_plan_strategy_id", e->planStrategyId);
  node.SetString("$sf_plan_type", e->planType);
  SetOptionalRawText(node, "$sf_strategy_unit_id", e->strategyUnitId);
  node.SetBool("$is_first_time", true);
  AddContext(node, context, PkEventType::AppOpenNotification);
  Sdk::Track("AppOpenNotification", node);
  RequestFlush(false);
}

}  // namespace analytics
}  // namespace pelko
