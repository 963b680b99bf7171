// One typed property value of an analytics record: number, integer, string,
// local date-time, boolean or a nested object (copied deeply).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace analytics_sdk {

namespace utils {
class ObjectNode;
}

enum class PropertyValueType { Number, Int, String, DateTime, Bool, Object };

class PropertyValue {
 public:
  PropertyValue();  // Int 0
  static PropertyValue MakeNumber(double value);
  static PropertyValue MakeInt(int64_t value);
  static PropertyValue MakeString(std::string value);
  static PropertyValue MakeDateTime(int64_t seconds, int milliseconds);
  static PropertyValue MakeBool(bool value);
  static PropertyValue MakeObject(const utils::ObjectNode& value);

  PropertyValue(const PropertyValue& other);
  PropertyValue& operator=(const PropertyValue& other);
  PropertyValue(PropertyValue&&) noexcept;
  PropertyValue& operator=(PropertyValue&&) noexcept;
  ~PropertyValue();

  PropertyValueType Type() const { return type_; }
  double NumberValue() const { return number_; }
  int64_t IntValue() const { return integer_; }  // also the seconds of a DateTime
  const std::string& StringValue() const { return text_; }
  int Milliseconds() const { return milliseconds_; }
  bool BoolValue() const { return boolean_; }
  const utils::ObjectNode& ObjectValue() const;  // only for Object

 private:
  PropertyValueType type_ = PropertyValueType::Int;
  double number_ = 0.0;
  int64_t integer_ = 0;
  int milliseconds_ = 0;
  bool boolean_ = false;
  std::string text_;
  std::unique_ptr<utils::ObjectNode> object_;
};

}  // namespace analytics_sdk
