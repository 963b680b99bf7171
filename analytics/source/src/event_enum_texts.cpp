// The enumerations' texts; a value outside a list throws PkException.
#include <iterator>

#include "analytics/pk_event_records.h"
#include "analytics/pk_exception.h"

namespace pelko {
namespace analytics {
namespace {

template <size_t N>
std::string Lookup(const char* const (&texts)[N], int value, const char* function, const std::string& prefix,
                   bool appendValue = true) {
  if (value >= 0 && value < static_cast<int>(N)) return texts[value];
  throw PkException("AnalyticsTrackerImpl", function, __LINE__,
                    appendValue ? prefix + std::to_string(value) + "]!" : prefix);
}

}  // namespace

std::string toString(PkEventType value) {
  static const char* const kTexts[] = {"Activity", "PaLaunchPal", "Login", "Click", "View", "Cashier", "Share",
                                       "Task", "File", "Order", "Payment", "Uninstall", "Update", "Crashed",
                                       "AppOpenNotification"};
  return Lookup(kTexts, static_cast<int>(value), "toString", "Unknown Event [");
}

std::string userType(int value) {
  static const char* const kTexts[] = {"unknown", "mobilephone", "email", "weixin", "qq", "deviceid",
                                       "baidu", "huawei", "apple", "pelkouserid", "google", "facebook"};
  return Lookup(kTexts, value, "userType", "Unknown user type [");
}

std::string toString(PkResult value) {
  static const char* const kTexts[] = {"Success", "Cancelled", "Fail", "Unknown"};
  return Lookup(kTexts, static_cast<int>(value), "toString", "Unknown task result [");
}

std::string toString(PkClickType value) {
  static const char* const kTexts[] = {"Button", "Banner", "Tutorial", "File", "Others"};
  return Lookup(kTexts, static_cast<int>(value), "toString", "Unknown ClickType [");
}

std::string ioTypeToString(int value) {
  static const char* const kTexts[] = {"Input", "Output"};
  return Lookup(kTexts, value, "toString", "the io type is invalid", false);
}

std::string currencyToString(int value) {
  static const char* const kTexts[] = {"CNY", "USD", "EUR", "HKD", "TWD", "MOP", "SGD", "JPY", "KRW", "INR", "GBP"};
  return Lookup(kTexts, value, "toString", "Unknown currency [");
}

std::string paidPlatformToString(int value) {
  static const char* const kTexts[] = {"Alipay", "WeChatPay", "PayPal", "Tenpay", "CIECC",
                                       "GooglePay", "HuaweiPay", "AppleIAP", "Paddle", "ChinaUnionPay"};
  return Lookup(kTexts, value, "toString", "Unknown paid platform [");
}

std::string iapTypeToString(int value) {
  static const char* const kTexts[] = {"Consumable", "NonConsumable", "AutoRenewable", "NonRenewable"};
  return Lookup(kTexts, value, "toString", "Unknown pkIapType [");
}

std::string updateOpToString(int value) {
  static const char* const kTexts[] = {"UpdateCheck", "DownloadStart", "DownloadEnd", "UpgrateStart", "UpgrateEnd"};
  return Lookup(kTexts, value, "toString", "Unknown PkUpdateOp [");
}

std::string updateResultToString(int value) {
  static const char* const kTexts[] = {"Success", "Cancelled", "Timeout", "Fail", "Latest", "Updateable"};
  return Lookup(kTexts, value, "toString", "Unknown PkUpdateResult [");
}

std::string toString(Edition value) {
  static const char* const kTexts[] = {"china", "overseas"};
  return Lookup(kTexts, static_cast<int>(value), "toString", "Unknown edition [");
}

}  // namespace analytics
}  // namespace pelko
