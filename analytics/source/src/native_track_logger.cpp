#include "analytics/source/src/native_track_logger.h"

#include "platform/file_system.h"

namespace pelko {
namespace analytics {

bool NativeTrackLogger::open() {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string path = Platform::ToFileSystemPath(filePath_);
  if (!Platform::FileExists(filePath_)) std::ofstream create(path, std::ios::binary);
  file_.open(path, std::ios::in | std::ios::out | std::ios::binary);
  lineCursor_ = -1;
  return file_.is_open();
}

void NativeTrackLogger::close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_.is_open()) file_.close();
}

bool NativeTrackLogger::readEntries(int firstLine, int maxCount, std::vector<TrackLogEntry>& entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries.clear();
  if (!file_.is_open()) return false;
  file_.clear();
  file_.seekg(0);
  std::string line;
  int index = 0;
  while (static_cast<int>(entries.size()) < maxCount && std::getline(file_, line)) {
    if (index++ < firstLine) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab1 = line.find('\t');
    const size_t tab2 = tab1 == std::string::npos ? std::string::npos : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) continue;
    entries.emplace_back(line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1));
  }
  lineCursor_ = index;
  file_.clear();
  return true;
}

bool NativeTrackLogger::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_.is_open()) file_.close();
  const std::string path = Platform::ToFileSystemPath(filePath_);
  { std::ofstream truncate(path, std::ios::binary | std::ios::trunc); }
  file_.open(path, std::ios::in | std::ios::out | std::ios::binary);
  lineCursor_ = 0;
  return file_.is_open();
}

}  // namespace analytics
}  // namespace pelko
