// The tracker's log over a file of "time<TAB>event<TAB>properties" lines.
// Open creates the file empty when it is missing.
#pragma once
#include <fstream>
#include <mutex>
#include <string>

#include "analytics/track_logger.h"

namespace pelko {
namespace analytics {

class NativeTrackLogger : public TrackLogger {
 public:
  explicit NativeTrackLogger(std::wstring filePath) : filePath_(std::move(filePath)) {}
  ~NativeTrackLogger() override { close(); }

  bool open();
  void close();
  bool readEntries(int firstLine, int maxCount, std::vector<TrackLogEntry>& entries) override;
  bool clear() override;

 private:
  std::wstring filePath_;
  std::fstream file_;
  std::mutex mutex_;
  long lineCursor_ = -1;  // -1 while unknown
};

}  // namespace analytics
}  // namespace pelko
