#include "analytics/sdk/record_store.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <vector>

#include "analytics/sdk/batch_sender.h"
#include "analytics/sdk/sdk_console.h"
#include "platform/file_system.h"
#include "utils/text.h"

namespace analytics_sdk {
namespace {

std::string ResolveDataFile(const std::string& dataPath) {
  if (dataPath.empty()) return dataPath;
  const char last = dataPath.back();
  if (last == '/' || last == '\\') return dataPath + RecordStore::kDataFileName;
  if (Platform::DirectoryExists(Utils::Utf8ToWide(dataPath))) {
    return dataPath + static_cast<char>(Platform::kPathSeparator) + RecordStore::kDataFileName;
  }
  return dataPath;
}

std::string FileSystemPath(const std::string& utf8Path) {
  return Platform::ToFileSystemPath(Utils::Utf8ToWide(utf8Path));
}

bool LooksLikeRecord(const std::string& line) {
  return !line.empty() && line.front() == '{' && line.back() == '}';
}

}  // namespace

RecordStore::RecordStore(const std::string& serverUrl, const std::string& dataPath)
    : dataFilePath_(ResolveDataFile(dataPath)), sender_(std::make_unique<BatchSender>(serverUrl)) {}

RecordStore::~RecordStore() = default;

void RecordStore::Add(const std::string& recordText) {
  std::lock_guard<std::mutex> lock(recordsMutex_);
  queue_.push_back(recordText);
  if (queue_.size() > kCapacity) queue_.pop_front();
}

std::deque<std::string> RecordStore::QueuedRecords() const {
  std::lock_guard<std::mutex> lock(recordsMutex_);
  return queue_;
}

void RecordStore::Load() {
  std::lock_guard<std::mutex> lock(recordsMutex_);
  LoadLocked();
}

void RecordStore::LoadLocked() {
  if (!loadPending_) return;
  loadPending_ = false;
  if (dataFilePath_.empty()) return;
  const size_t room = kCapacity - std::min(kCapacity, queue_.size());
  if (room != 0) {
    std::ifstream in(FileSystemPath(dataFilePath_), std::ios::binary);
    std::vector<std::string> kept;
    std::string line;
    while (in && std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (LooksLikeRecord(line)) kept.push_back(line);
    }
    const size_t skip = kept.size() > room ? kept.size() - room : 0;
    queue_.insert(queue_.begin(), kept.begin() + static_cast<std::ptrdiff_t>(skip), kept.end());
  }
  std::ofstream truncate(FileSystemPath(dataFilePath_), std::ios::binary | std::ios::trunc);
}

bool RecordStore::SendBatch(const std::string& batchText) {
  try {
    return sender_ && sender_->Send(batchText, {});
  } catch (const std::exception& e) {
    WriteError(std::string("Exception when flush failed: (") + e.what() + ") ");
  } catch (...) {
    WriteError("Exception when flush failed: (unknown) ");
  }
  return false;
}

bool RecordStore::FlushPart() {
  Load();
  std::lock_guard<std::mutex> flushLock(flushMutex_);
  std::vector<std::string> batch;
  {
    std::lock_guard<std::mutex> lock(recordsMutex_);
    const size_t n = std::min(queue_.size(), kBatchSize);
    if (n == 0) return true;
    batch.assign(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
    queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
  }
  std::string batchText = "[";
  for (size_t i = 0; i < batch.size(); ++i) {
    if (i) batchText += ',';
    batchText += batch[i];
  }
  batchText += ']';
  const bool sent = SendBatch(batchText);
  if (!sent) {
    std::lock_guard<std::mutex> lock(recordsMutex_);
    const size_t room = kCapacity - std::min(kCapacity, queue_.size());
    const size_t back = std::min(batch.size(), room);
    // The newest records of the batch are the ones kept when room is short.
    queue_.insert(queue_.begin(), batch.end() - static_cast<std::ptrdiff_t>(back), batch.end());
  }
  return sent;
}

bool RecordStore::FlushAll() {
  Load();
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(recordsMutex_);
      if (queue_.empty()) return true;
    }
    if (!FlushPart()) return false;
  }
}

void RecordStore::Close() {
  std::lock_guard<std::mutex> flushLock(flushMutex_);
  std::lock_guard<std::mutex> lock(recordsMutex_);
  LoadLocked();
  if (!dataFilePath_.empty()) {
    std::ofstream out(FileSystemPath(dataFilePath_), std::ios::binary | std::ios::trunc);
    for (const auto& record : queue_) out << record << '\n';
  }
  sender_.reset();
}

}  // namespace analytics_sdk
