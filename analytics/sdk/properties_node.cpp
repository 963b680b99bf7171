#include "analytics/sdk/properties_node.h"

#include "analytics/sdk/sdk_console.h"
#include "analytics/sdk/validation.h"

namespace analytics_sdk {

bool PropertiesNode::SetString(const std::string& key, const std::string& value) {
  if (value.size() > kMaxStringValueBytes) {
    WriteError("String property '" + key + "' is too long, value: " + value);
    return false;
  }
  if (!IsValidUtf8(value)) {
    WriteError("String property '" + key + "' is not valid UTF-8 string, value: " + value);
    return false;
  }
  Set(key, PropertyValue::MakeString(value));
  return true;
}

}  // namespace analytics_sdk
