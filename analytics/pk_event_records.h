// The typed event records the tracker's operations take, and their
// enumerations. An optional value is a shared pointer (null = absent); an
// optional text is absent when empty. Converting an enumeration value
// outside its list throws PkException (function "toString").
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace pelko {
namespace analytics {

enum class PkEventType {
  Activity = 0, Launch = 1, Login = 2, Click = 3, View = 4, Cashier = 5, Share = 6, Task = 7,
  File = 8, Order = 9, Payment = 10, Uninstall = 11, Update = 12, Crashed = 13, AppOpenNotification = 14
};
constexpr int kPkEventTypeCount = 15;

enum class PkUserType {
  Unknown = 0, MobilePhone = 1, Email = 2, Weixin = 3, QQ = 4, DeviceId = 5, Baidu = 6, Huawei = 7,
  Apple = 8, PelkoUserId = 9, Google = 10, Facebook = 11
};
enum class PkResult { Success = 0, Cancelled = 1, Fail = 2, Unknown = 3 };
enum class PkClickType { Button = 0, Banner = 1, Tutorial = 2, File = 3, Others = 4 };
enum class PkIoType { Input = 0, Output = 1 };
enum class PkCurrency { CNY = 0, USD, EUR, HKD, TWD, MOP, SGD, JPY, KRW, INR, GBP };
enum class PkPaidPlatform { Alipay = 0, WeChatPay, PayPal, Tenpay, CIECC, GooglePay, HuaweiPay, AppleIAP, Paddle, ChinaUnionPay };
enum class PkIapType { Consumable = 0, NonConsumable, AutoRenewable, NonRenewable };
enum class PkUpdateOp { UpdateCheck = 0, DownloadStart, DownloadEnd, UpgrateStart, UpgrateEnd };
enum class PkUpdateResult { Success = 0, Cancelled, Timeout, Fail, Latest, Updateable };
enum class Edition { China = 0, Overseas = 1 };

// Texts of the enumerations ("Click", "Button", "USD", ...); integers so
// that values from outside the list reach the check.
std::string toString(PkEventType value);
std::string userType(int value);
std::string toString(PkResult value);
std::string toString(PkClickType value);
std::string ioTypeToString(int value);
std::string currencyToString(int value);
std::string paidPlatformToString(int value);
std::string iapTypeToString(int value);
std::string updateOpToString(int value);
std::string updateResultToString(int value);
std::string toString(Edition value);

using OptionalInt = std::shared_ptr<int32_t>;
using OptionalFloat = std::shared_ptr<float>;
using OptionalResult = std::shared_ptr<PkResult>;

struct PkEventClick {
  std::string aname;
  std::string name;  // required
  PkClickType clickType = PkClickType::Button;
  std::string title;
  std::string module;
  std::string position;
  OptionalInt tabIndex;
  std::string tabName;
  OptionalInt bannerIndex;
  std::string bannerName;
};

struct PkEventView {
  std::string aname;
  std::string name;  // required
  std::string title;
  std::string position;
};

struct PkEventCashier {
  std::string pk_cashier_name;  // required
  std::string cashierTitle;
  std::string subitem;
};

struct PkEventShare {
  std::string aname;
  std::string channel;
  std::string position;
  std::string sharedName;
  OptionalResult result;
};

struct PkEventTask {
  std::string aname;
  std::string name;  // required
  std::string reason;
  OptionalFloat elapsed;
  OptionalResult result;  // only Success, Cancelled and Fail are written
};

struct PkEventFile {
  std::string aname;  // required
  std::string name;
  OptionalInt io;  // PkIoType
  std::string ext;
  OptionalFloat size;  // written only when above 0
  OptionalInt duration;
  OptionalFloat fps;
  OptionalFloat bps;
  OptionalInt width;
  OptionalInt height;
  OptionalInt depth;
  OptionalResult result;
};

struct PkEventOrder {
  std::string orderId;
  std::string subitem;
  std::string sku;
  std::string pkSuitId;  // required
  OptionalInt pkCurrency;  // required (PkCurrency)
  float originalAmount = 0.0f;  // must be above 0
  std::string voucherId;
  float paidAmount = 0.0f;  // must be above 0
  std::string cashierName;
  std::string cashierTitle;
  OptionalInt campaignCode;
  float curOriginalAmount = 0.0f;
  float curPaidAmount = 0.0f;
};

struct PkEventPayment {
  std::string pkOrderId;  // required
  std::string subitem;
  std::string sku;
  OptionalInt currency;  // PkCurrency
  float originalAmount = 0.0f;  // not below 0
  OptionalInt campaignCode;
  std::string voucherId;
  std::string usedVoucherId;
  float paidAmount = 0.0f;  // not below 0
  std::string suitId;
  std::string cashierName;
  std::string cashierTitle;
  OptionalInt paidPlatform;  // PkPaidPlatform
  OptionalResult result;     // Success or Fail
  OptionalInt iapType;       // PkIapType
  float curOriginalAmount = 0.0f;
  float curPaidAmount = 0.0f;
};

struct PkEventUpdate {
  int op = 0;  // PkUpdateOp
  OptionalInt result;  // PkUpdateResult
  OptionalFloat elapsed;
};

struct AppOpenNotification {
  std::string msgTitle;  // required
  std::string msgContent;
  std::string linkUrl;
  std::string planID;  // required
  std::string audienceId;
  std::string planStrategyId;
  std::string planType;  // required
  std::string strategyUnitId;
};

struct PkEventLogin {
  std::string userId;
  std::string userName;
  int userType = 0;  // PkUserType
  std::string nickname;
  std::string portrait;
  std::string mobilephone;
  std::string email;
  std::string weixin;
  std::string qq;
  std::string did;
  int64_t created = -1;    // milliseconds; negative = absent
  int64_t lastLogin = -1;  // likewise
  std::string lastIp;
  int32_t vipLevel = 0;
  int64_t vipEndDate = -1;  // likewise
};

}  // namespace analytics
}  // namespace pelko
