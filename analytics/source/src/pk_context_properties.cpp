#include "analytics/source/src/pk_context_properties.h"

#include "analytics/pk_exception.h"

namespace pelko {
namespace analytics {
namespace {

[[noreturn]] void Fail(const char* function, int line, const std::string& message) {
  throw PkException("PkContextProperties", function, line, message);
}

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsUpperOrDigit(char c) { return IsUpper(c) || (c >= '0' && c <= '9'); }

}  // namespace

void PkContextProperties::setProperty(const std::string& key, const std::string& value,
                                      const std::vector<int>& eventTypes) {
  if (!keys_.insert(key).second) Fail("setProperty", __LINE__, "Property[" + key + "] already exist!");
  auto shared = std::make_shared<const std::string>(value);
  for (int type : eventTypes) {
    if (type < 0 || type >= static_cast<int>(lists_.size()))
      Fail("setProperty", __LINE__, "PkEvent[" + std::to_string(type) + "] overflow!");
    lists_[type].emplace_back(key, shared);
  }
}

const std::vector<PkContextProperties::Entry>& PkContextProperties::getEventProperties(int eventType) const {
  if (eventType < 0 || eventType >= static_cast<int>(lists_.size()))
    Fail("getEventProperties", __LINE__, "PkEvent[" + std::to_string(eventType) + "] overflow!");
  return lists_[eventType];
}

bool PkContextProperties::isValidABValue(const std::string& value) {
  if (value.empty()) return false;
  if (value.size() >= 4) Fail("isValidABValue", __LINE__, "value's length is great than 3.");
  if (!IsUpper(value[0])) Fail("isValidABValue", __LINE__, "First char is not in A to Z");
  if (value.size() > 1 && !IsUpperOrDigit(value[1]))
    Fail("isValidABValue", __LINE__, "second char is not in A to Z and 0 to 9");
  if (value.size() > 2 && !IsUpperOrDigit(value[2]))
    Fail("isValidABValue", __LINE__, "third char is not in A to Z and 0 to 9");
  return true;
}

}  // namespace analytics
}  // namespace pelko
