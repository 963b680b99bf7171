#include "analytics/sdk/object_node.h"

#include <cstdio>
#include <ctime>
#include <locale>
#include <mutex>
#include <sstream>

namespace analytics_sdk {
namespace utils {

void ObjectNode::Merge(const ObjectNode& other) {
  for (const auto& entry : other.values_) values_[entry.first] = entry.second;
}

const PropertyValue* ObjectNode::Find(const std::string& key) const {
  auto it = values_.find(key);
  return it == values_.end() ? nullptr : &it->second;
}

}  // namespace utils

std::string EscapeJsonString(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    switch (c) {
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      default: out += c;
    }
  }
  return out;
}

std::string FormatJsonNumber(double value) {
  // The classic locale keeps the decimal point a point whatever the process locale is.
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << value;
  return stream.str();
}

std::string FormatLocalDateTime(int64_t seconds, int milliseconds) {
  // std::localtime shares one buffer per process; the lock keeps our callers apart.
  static std::mutex localTimeMutex;
  std::tm local{};
  {
    std::lock_guard<std::mutex> lock(localTimeMutex);
    const std::time_t t = static_cast<std::time_t>(seconds);
    const std::tm* converted = std::localtime(&t);
    if (converted) local = *converted;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof(buffer), "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
  return buffer;
}

namespace {

void AppendValue(std::string& out, const PropertyValue& value) {
  switch (value.Type()) {
    case PropertyValueType::Number: out += FormatJsonNumber(value.NumberValue()); break;
    case PropertyValueType::Int: out += std::to_string(value.IntValue()); break;
    case PropertyValueType::String:
      out += '"';
      out += EscapeJsonString(value.StringValue());
      out += '"';
      break;
    case PropertyValueType::DateTime:
      out += '"';
      out += FormatLocalDateTime(value.IntValue(), value.Milliseconds());
      out += '"';
      break;
    case PropertyValueType::Bool: out += value.BoolValue() ? "true" : "false"; break;
    case PropertyValueType::Object: out += ToJson(value.ObjectValue()); break;
  }
}

}  // namespace

std::string ToJson(const utils::ObjectNode& node) {
  std::string out = "{";
  bool first = true;
  for (const auto& entry : node.Values()) {
    if (!first) out += ',';
    first = false;
    out += '"';
    out += entry.first;  // key rules make escaping unnecessary
    out += "\":";
    AppendValue(out, entry.second);
  }
  out += '}';
  return out;
}

}  // namespace analytics_sdk
