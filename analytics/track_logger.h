// The tracker's local log: reads entries back from a tab-separated file and
// clears it. The installer writes no entries into it.
#pragma once
#include <string>
#include <tuple>
#include <vector>

namespace pelko {
namespace analytics {

// (time, event, properties)
using TrackLogEntry = std::tuple<std::string, std::string, std::string>;

class TrackLogger {
 public:
  virtual ~TrackLogger() = default;
  virtual bool readEntries(int firstLine, int maxCount, std::vector<TrackLogEntry>& entries) = 0;
  virtual bool clear() = 0;
};

}  // namespace analytics
}  // namespace pelko
