// What callers fill and hand to the Sdk: an ObjectNode with typed setters.
// Only string values are checked (length and UTF-8); a rejected value leaves
// the node unchanged and writes its message to standard error.
#pragma once
#include <cstdint>
#include <string>

#include "analytics/sdk/object_node.h"

namespace analytics_sdk {

class PropertiesNode : public utils::ObjectNode {
 public:
  bool SetString(const std::string& key, const std::string& value);
  bool SetString(const std::string& key, const char* value) { return SetString(key, std::string(value ? value : "")); }
  void SetNumber(const std::string& key, double value) { Set(key, PropertyValue::MakeNumber(value)); }
  void SetInt(const std::string& key, int64_t value) { Set(key, PropertyValue::MakeInt(value)); }
  void SetInt(const std::string& key, int32_t value) { SetInt(key, static_cast<int64_t>(value)); }
  void SetBool(const std::string& key, bool value) { Set(key, PropertyValue::MakeBool(value)); }
  void SetDateTime(const std::string& key, int64_t seconds, int milliseconds) {
    Set(key, PropertyValue::MakeDateTime(seconds, milliseconds));
  }
};

}  // namespace analytics_sdk
