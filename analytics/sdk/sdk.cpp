#include "analytics/sdk/sdk.h"

#include <climits>
#include <cstdlib>

#include "analytics/sdk/record_store.h"
#include "analytics/sdk/sdk_clock.h"
#include "analytics/sdk/sdk_console.h"
#include "analytics/sdk/validation.h"

namespace analytics_sdk {

std::atomic<Sdk*> Sdk::instance_{nullptr};
std::mutex Sdk::lifecycleMutex_;

namespace {

constexpr const char* kLibName = "cpp";
constexpr const char* kLibVersion = "0.9";

std::string LastChars(const std::string& text, size_t count) {
  return text.size() <= count ? text : text.substr(text.size() - count);
}

}  // namespace

Sdk::Sdk(const std::string& distinctId, bool isLoginId, const std::string& serverUrl,
         const std::string& dataFilePath)
    : distinctId_(distinctId),
      isLoginId_(isLoginId),
      store_(std::make_unique<RecordStore>(serverUrl, dataFilePath)),
      random_(static_cast<uint32_t>(NowMilliseconds() / 1000)) {
  superProperties_.SetString("$lib", kLibName);
  superProperties_.SetString("$lib_version", kLibVersion);
}

Sdk::~Sdk() = default;

bool Sdk::Init(const std::string& dataFilePath, const std::string& serverUrl, const std::string& distinctId,
               bool isLoginId) {
  if (!CheckName(distinctId, "Distinct ID")) return false;
  std::lock_guard<std::mutex> lock(lifecycleMutex_);
  if (Instance()) return true;
  instance_.store(new Sdk(distinctId, isLoginId, serverUrl, dataFilePath), std::memory_order_release);
  return true;
}

bool Sdk::Exists() { return Instance() != nullptr; }

void Sdk::Shutdown() {
  std::lock_guard<std::mutex> lock(lifecycleMutex_);
  Sdk* sdk = instance_.exchange(nullptr, std::memory_order_acq_rel);
  if (!sdk) return;
  sdk->store_->Close();
  delete sdk;
}

int Sdk::NextRandom() {
  std::lock_guard<std::mutex> lock(randomMutex_);
  // The same range as the C library's rand().
  return std::uniform_int_distribution<int>(0, RAND_MAX)(random_);
}

int64_t Sdk::MakeTrackId(int random1, int random2, int64_t nowMilliseconds) {
  const std::string text = LastChars(std::to_string(random1 % 99 + 100), 2) +
                           LastChars(std::to_string(random2 % 999 + 1000), 3) +
                           LastChars(std::to_string(nowMilliseconds), 4);
  return std::strtoll(text.c_str(), nullptr, 10);
}

void Sdk::AddRecord(const std::string& type, const std::string& event, const PropertiesNode& properties,
                    const std::string& distinctId, const std::string& originalId) {
  for (const auto& entry : properties.Values()) {
    if (!CheckKey(entry.first, "Property Key")) return;
    if (entry.first == "$time" && entry.second.Type() != PropertyValueType::DateTime) {
      WriteError("The property '$time' should be DateTime type.");
      return;
    }
    if (entry.first == "$project" && entry.second.Type() != PropertyValueType::String) {
      WriteError("The property '$project' should be String type.");
      return;
    }
  }
  if (type == "track" && !CheckKey(event, "Event Name")) return;
  if (type == "track_signup" && !CheckName(originalId, "Original ID")) return;

  PropertiesNode node;
  bool loginFlag = false;
  {
    std::lock_guard<std::mutex> lock(identityMutex_);
    if (type.find("track") != std::string::npos) node.Merge(superProperties_);
    loginFlag = isLoginId_;
  }
  node.Merge(properties);

  int64_t time = 0;
  if (const PropertyValue* given = node.Find("$time")) {
    time = given->IntValue() * 1000 + given->Milliseconds();
    node.Remove("$time");
  } else {
    time = NowMilliseconds();
  }
  std::string project;
  if (const PropertyValue* given = node.Find("$project")) {
    project = given->StringValue();
    node.Remove("$project");
  }
  if (loginFlag) node.SetBool("$is_login_id", true);

  utils::ObjectNode lib;
  lib.Set("$lib", PropertyValue::MakeString(kLibName));
  lib.Set("$lib_version", PropertyValue::MakeString(kLibVersion));
  lib.Set("$lib_method", PropertyValue::MakeString("code"));

  utils::ObjectNode record;
  record.Set("type", PropertyValue::MakeString(type));
  record.Set("time", PropertyValue::MakeInt(time));
  record.Set("distinct_id", PropertyValue::MakeString(distinctId));
  record.Set("properties", PropertyValue::MakeObject(node));
  record.Set("lib", PropertyValue::MakeObject(lib));
  const int random1 = NextRandom();
  const int random2 = NextRandom();
  record.Set("_track_id", PropertyValue::MakeInt(MakeTrackId(random1, random2, NowMilliseconds())));
  if (!project.empty()) record.Set("project", PropertyValue::MakeString(project));
  if (type == "track" || type == "track_signup") record.Set("event", PropertyValue::MakeString(event));
  if (type == "track_signup") record.Set("original_id", PropertyValue::MakeString(originalId));

  store_->Add(ToJson(record));
}

void Sdk::Track(const std::string& event, const PropertiesNode& properties) {
  if (Sdk* sdk = Instance()) sdk->AddRecord("track", event, properties, sdk->CurrentDistinctId(), "");
}

void Sdk::TrackWithInstallSource(const std::string& event, const PropertiesNode& properties) {
  if (!Instance()) return;
  PropertiesNode node;
  node.SetString("$ios_install_source", "");
  node.Merge(properties);
  Track(event, node);
}

void Sdk::SignUp(const std::string& loginId) {
  Sdk* sdk = Instance();
  if (!sdk) return;
  sdk->AddRecord("track_signup", "$SignUp", PropertiesNode(), loginId, CurrentDistinctId());
  std::lock_guard<std::mutex> lock(sdk->identityMutex_);
  sdk->distinctId_ = loginId;
  sdk->isLoginId_ = true;
}

void Sdk::ProfileSet(const PropertiesNode& properties) {
  if (Sdk* sdk = Instance()) sdk->AddRecord("profile_set", "", properties, CurrentDistinctId(), "");
}
void Sdk::ProfileSetOnce(const PropertiesNode& properties) {
  if (Sdk* sdk = Instance()) sdk->AddRecord("profile_set_once", "", properties, CurrentDistinctId(), "");
}
void Sdk::ProfileIncrement(const PropertiesNode& properties) {
  if (Sdk* sdk = Instance()) sdk->AddRecord("profile_increment", "", properties, CurrentDistinctId(), "");
}

namespace {

// A node of one numeric property, for the one-key profile operations.
PropertiesNode NumberNode(const std::string& key, int64_t value) {
  PropertiesNode node;
  node.SetInt(key, value);
  return node;
}
PropertiesNode NumberNode(const std::string& key, double value) {
  PropertiesNode node;
  node.SetNumber(key, value);
  return node;
}

}  // namespace

void Sdk::ProfileSetString(const std::string& key, const std::string& value) {
  PropertiesNode node;
  if (node.SetString(key, value)) ProfileSet(node);
}
void Sdk::ProfileSetNumber(const std::string& key, int64_t value) { ProfileSet(NumberNode(key, value)); }
void Sdk::ProfileSetNumber(const std::string& key, double value) { ProfileSet(NumberNode(key, value)); }
void Sdk::ProfileSetOnceString(const std::string& key, const std::string& value) {
  PropertiesNode node;
  if (node.SetString(key, value)) ProfileSetOnce(node);
}
void Sdk::ProfileSetOnceNumber(const std::string& key, int64_t value) { ProfileSetOnce(NumberNode(key, value)); }
void Sdk::ProfileSetOnceNumber(const std::string& key, double value) { ProfileSetOnce(NumberNode(key, value)); }
void Sdk::ProfileIncrement(const std::string& key, int64_t value) { ProfileIncrement(NumberNode(key, value)); }
void Sdk::ProfileIncrement(const std::string& key, double value) { ProfileIncrement(NumberNode(key, value)); }

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
  Sdk* sdk = Instance();
  if (!sdk) return;
  std::lock_guard<std::mutex> lock(sdk->identityMutex_);
  sdk->superProperties_.Merge(properties);
}

bool Sdk::Flush() {
  Sdk* sdk = Instance();
  return sdk ? sdk->store_->FlushAll() : false;
}

std::string Sdk::CurrentDistinctId() {
  Sdk* sdk = Instance();
  if (!sdk) return std::string();
  std::lock_guard<std::mutex> lock(sdk->identityMutex_);
  return sdk->distinctId_;
}

std::deque<std::string> Sdk::QueuedRecords() {
  Sdk* sdk = Instance();
  return sdk ? sdk->store_->QueuedRecords() : std::deque<std::string>();
}

}  // namespace analytics_sdk
