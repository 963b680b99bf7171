// Extra properties a caller attaches to particular event types for one
// call (the installer's A/B group under "pkc_ab"), and the A/B value check.
// Each key may be registered once; event types are 0 to 14.
#pragma once
#include <array>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace pelko {
namespace analytics {

class PkContextProperties {
 public:
  using Entry = std::pair<std::string, std::shared_ptr<const std::string>>;

  static constexpr const char* kAbKey = "pkc_ab";

  // Throws "Property[KEY] already exist!" or "PkEvent[N] overflow!".
  void setProperty(const std::string& key, const std::string& value, const std::vector<int>& eventTypes);
  // Throws "PkEvent[N] overflow!" outside 0 to 14.
  const std::vector<Entry>& getEventProperties(int eventType) const;
  // False for "", true for 1 to 3 of [A-Z][A-Z0-9][A-Z0-9]; throws otherwise.
  static bool isValidABValue(const std::string& value);

 private:
  std::unordered_set<std::string> keys_;
  std::array<std::vector<Entry>, 15> lists_;
};

}  // namespace analytics
}  // namespace pelko
