// The bounded queue of finished record texts (1024 at most, the oldest
// dropped first) and its batch flushes of up to 30 records. Unsent records
// are written to the data file at close and put back in front of the queue
// at the first flush of the next run. A failed batch returns to the front as
// far as there is room. One batch is in flight at a time; additions go on
// while it is posted.
#pragma once
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace analytics_sdk {

class BatchSender;

class RecordStore {
 public:
  // `dataPath` is the analytics folder (ending in a separator or naming an
  // existing folder, then kDataFileName is used inside it) or a file path.
  RecordStore(const std::string& serverUrl, const std::string& dataPath);
  ~RecordStore();
  RecordStore(const RecordStore&) = delete;
  RecordStore& operator=(const RecordStore&) = delete;

  void Add(const std::string& recordText);
  bool FlushPart();
  bool FlushAll();
  // Persists the queue to the data file and releases the sender; nothing is sent.
  void Close();

  std::deque<std::string> QueuedRecords() const;
  const std::string& DataFilePath() const { return dataFilePath_; }

  static constexpr size_t kCapacity = 1024;
  static constexpr size_t kBatchSize = 30;
  static constexpr const char* kDataFileName = "PKSRecords.txt";

 private:
  void Load();           // takes the records lock
  void LoadLocked();     // records lock held
  bool SendBatch(const std::string& batchText);

  mutable std::mutex recordsMutex_;
  std::mutex flushMutex_;  // taken before recordsMutex_, held across one post
  std::deque<std::string> queue_;
  std::string dataFilePath_;
  bool loadPending_ = true;
  std::unique_ptr<BatchSender> sender_;
};

}  // namespace analytics_sdk
