// A map from property key to typed value, kept in plain byte order of the
// keys (the order the JSON text is written in), and its JSON serialisation:
// compact, seven escapes only, numbers as a stream prints them, date-times in
// local time.
#pragma once
#include <map>
#include <string>

#include "analytics/sdk/property_value.h"

namespace analytics_sdk {
namespace utils {

class ObjectNode {
 public:
  virtual ~ObjectNode() = default;

  // Replaces the value of a key that is present.
  void Set(const std::string& key, PropertyValue value) { values_[key] = std::move(value); }
  // Copies every entry of `other` in, replacing values of present keys.
  void Merge(const ObjectNode& other);
  bool Has(const std::string& key) const { return values_.count(key) != 0; }
  const PropertyValue* Find(const std::string& key) const;
  void Remove(const std::string& key) { values_.erase(key); }
  const std::map<std::string, PropertyValue>& Values() const { return values_; }
  bool Empty() const { return values_.empty(); }

 private:
  // std::string compares as unsigned bytes, which is the key order we need.
  std::map<std::string, PropertyValue> values_;
};

}  // namespace utils

std::string ToJson(const utils::ObjectNode& node);
// The escaped string body (no quotes): \b \t \n \f \r \" \\ and nothing else.
std::string EscapeJsonString(const std::string& text);
std::string FormatJsonNumber(double value);        // "%g"-style, 6 significant digits
std::string FormatLocalDateTime(int64_t seconds, int milliseconds);  // no quotes

}  // namespace analytics_sdk
