#include "analytics/source/src/native_user_tracker.h"

#include <map>

#include "analytics/pk_exception.h"
#include "analytics/sdk/sdk.h"

namespace pelko {
namespace analytics {
namespace {

const std::map<std::string, NativeUserTracker::Operation>& KeyTable() {
  static const std::map<std::string, NativeUserTracker::Operation> table = [] {
    std::map<std::string, NativeUserTracker::Operation> t;
    for (const char* key : {"$first_visit_time", "pk_first_visit_date", "$ios_install_source", "pk_first_paid_date"})
      t[key] = NativeUserTracker::kSetOnce;
    for (const char* key : {"pk_visit_count", "pk_paid_count", "pk_consumption"}) t[key] = NativeUserTracker::kIncrement;
    for (const char* key :
         {"pk_label", "pk_os", "pk_os_version", "pk_manufacturer", "pk_model", "pk_app_store", "pk_app_platform",
          "pk_last_app_id", "pk_last_app_version", "pk_carrier", "pk_last_visit_date", "aurora_pushid", "pk_user_id",
          "pk_user_name", "pk_user_type", "pk_user_nickname", "pk_user_portrait", "pk_user_mobilephone",
          "pk_user_email", "pk_user_weixin", "pk_user_qq", "pk_user_did", "pk_user_created", "pk_user_last_login",
          "pk_user_last_ip", "pk_user_vip_level", "pk_user_vip_enddate", "idfa", "imei", "android_id", "oaid",
          "pk_ip", "pk_country_code", "pk_country", "pk_province", "pk_city", "pk_last_paid_date"})
      t[key] = NativeUserTracker::kSet;
    return t;
  }();
  return table;
}

NativeUserTracker::Operation Require(const std::string& key, const char* function) {
  const NativeUserTracker::Operation op = NativeUserTracker::OperationOf(key);
  if (op == NativeUserTracker::kUnsupported)
    throw PkException("NativeUserTracker", function, __LINE__, "Not supported user property [" + key + "]!");
  return op;
}

}  // namespace

NativeUserTracker::Operation NativeUserTracker::OperationOf(const std::string& key) {
  auto it = KeyTable().find(key);
  return it == KeyTable().end() ? kUnsupported : it->second;
}

void NativeUserTracker::ProfileUserPropertyString(const std::string& key, const std::string& value) {
  switch (Require(key, "ProfileUserPropertyString")) {
    case kSetOnce: analytics_sdk::Sdk::ProfileSetOnceString(key, value); break;
    case kIncrement:
      throw PkException("NativeUserTracker", "ProfileUserPropertyString", __LINE__,
                        "user property [" + key + "] is string type value, it cannot be accumulated!");
    default: analytics_sdk::Sdk::ProfileSetString(key, value); break;
  }
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& key, int32_t value) {
  switch (Require(key, "ProfileUserPropertyNumber")) {
    case kSetOnce: analytics_sdk::Sdk::ProfileSetOnceNumber(key, static_cast<int64_t>(value)); break;
    case kIncrement: analytics_sdk::Sdk::ProfileIncrement(key, static_cast<int64_t>(value)); break;
    default: analytics_sdk::Sdk::ProfileSetNumber(key, static_cast<int64_t>(value)); break;
  }
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& key, double value) {
  switch (Require(key, "ProfileUserPropertyNumber")) {
    case kSetOnce: analytics_sdk::Sdk::ProfileSetOnceNumber(key, value); break;
    case kIncrement: analytics_sdk::Sdk::ProfileIncrement(key, value); break;
    default: analytics_sdk::Sdk::ProfileSetNumber(key, value); break;
  }
}

void NativeUserTracker::ProfileUserPropertyDateTime(const std::string& key, int64_t time) {
  const Operation op = Require(key, "ProfileUserPropertyDateTime");
  if (op == kIncrement)
    throw PkException("NativeUserTracker", "ProfileUserPropertyDateTime", __LINE__,
                      "user property [" + key + "] is boolean value, it cannot be accumulative!");
  int64_t seconds = time;
  int milliseconds = 0;
  if (time > 157789439999LL) {
    seconds = time / 1000;
    milliseconds = static_cast<int>(time % 1000);
  }
  analytics_sdk::PropertiesNode node;
  node.SetDateTime(key, seconds, milliseconds);
  if (op == kSetOnce) {
    analytics_sdk::Sdk::ProfileSetOnce(node);
  } else {
    analytics_sdk::Sdk::ProfileSet(node);
  }
}

}  // namespace analytics
}  // namespace pelko
