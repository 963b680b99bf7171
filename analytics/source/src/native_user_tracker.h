// Profile records about the user: each operation picks set, set-once or
// increment from a fixed table of keys and writes one profile record.
// Unsupported keys and impossible operations throw PkException.
#pragma once
#include <cstdint>
#include <string>

namespace pelko {
namespace analytics {

class NativeUserTracker {
 public:
  enum Operation { kUnsupported = 0, kSetOnce = 1, kIncrement = 2, kSet = 3 };

  static Operation OperationOf(const std::string& key);
  static void ProfileUserPropertyString(const std::string& key, const std::string& value);
  static void ProfileUserPropertyNumber(const std::string& key, int32_t value);
  static void ProfileUserPropertyNumber(const std::string& key, double value);
  // Milliseconds above 157789439999, seconds otherwise.
  static void ProfileUserPropertyDateTime(const std::string& key, int64_t time);
};

}  // namespace analytics
}  // namespace pelko
