#include "analytics/sdk/property_value.h"

#include "analytics/sdk/object_node.h"

namespace analytics_sdk {

PropertyValue::PropertyValue() = default;
PropertyValue::~PropertyValue() = default;
PropertyValue::PropertyValue(PropertyValue&&) noexcept = default;
PropertyValue& PropertyValue::operator=(PropertyValue&&) noexcept = default;

PropertyValue::PropertyValue(const PropertyValue& other)
    : type_(other.type_),
      number_(other.number_),
      integer_(other.integer_),
      milliseconds_(other.milliseconds_),
      boolean_(other.boolean_),
      text_(other.text_),
      object_(other.object_ ? std::make_unique<utils::ObjectNode>(*other.object_) : nullptr) {}

PropertyValue& PropertyValue::operator=(const PropertyValue& other) {
  if (this != &other) {
    PropertyValue copy(other);
    *this = std::move(copy);
  }
  return *this;
}

PropertyValue PropertyValue::MakeNumber(double value) {
  PropertyValue v;
  v.type_ = PropertyValueType::Number;
  v.number_ = value;
  return v;
}
PropertyValue PropertyValue::MakeInt(int64_t value) {
  PropertyValue v;
  v.type_ = PropertyValueType::Int;
  v.integer_ = value;
  return v;
}
PropertyValue PropertyValue::MakeString(std::string value) {
  PropertyValue v;
  v.type_ = PropertyValueType::String;
  v.text_ = std::move(value);
  return v;
}
PropertyValue PropertyValue::MakeDateTime(int64_t seconds, int milliseconds) {
  PropertyValue v;
  v.type_ = PropertyValueType::DateTime;
  v.integer_ = seconds;
  v.milliseconds_ = milliseconds;
  return v;
}
PropertyValue PropertyValue::MakeBool(bool value) {
  PropertyValue v;
  v.type_ = PropertyValueType::Bool;
  v.boolean_ = value;
  return v;
}
PropertyValue PropertyValue::MakeObject(const utils::ObjectNode& value) {
  PropertyValue v;
  v.type_ = PropertyValueType::Object;
  v.object_ = std::make_unique<utils::ObjectNode>(value);
  return v;
}

const utils::ObjectNode& PropertyValue::ObjectValue() const {
  static const utils::ObjectNode empty;
  return object_ ? *object_ : empty;
}

}  // namespace analytics_sdk
