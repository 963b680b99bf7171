// A real analytics collector on 127.0.0.1: accepts posts on one path,
// decodes them, answers 200 and keeps the records, or answers a configured
// failure status and keeps nothing. Used by the `collector` program and
// in-process by tests. Binds to the loopback address only.
#pragma once
#include <condition_variable>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace collector {

class CollectorServer {
 public:
  // Called for every accepted record, in arrival order, under the server's lock.
  using RecordSink = std::function<void(const std::string& record)>;

  explicit CollectorServer(std::string path = "/collect");
  ~CollectorServer();  // stops and joins
  CollectorServer(const CollectorServer&) = delete;
  CollectorServer& operator=(const CollectorServer&) = delete;

  // Port 0 picks a free port. False when the port cannot be bound.
  bool Start(int port = 0);
  void Stop();
  int Port() const { return port_; }
  std::string Url() const;  // "http://127.0.0.1:PORT/collect"

  // 200 accepts; anything else is answered as given and the post is dropped.
  void SetResponseStatus(int status);
  // Post k is answered with pattern[k % size] (a flapping collector); an
  // empty pattern returns to the single status.
  void SetResponsePattern(std::vector<int> pattern);
  void SetRecordSink(RecordSink sink);
  // Runs on the server's thread for every post before it is answered
  // (lets a test act while a post is in flight).
  void SetPostHook(std::function<void()> hook);

  std::vector<std::string> Records() const;
  std::vector<std::vector<std::string>> AcceptedBatches() const;
  std::vector<std::string> Bodies() const;  // every post body, accepted or not
  size_t PostCount() const;
  // Waits until `count` records were accepted; false when `timeout` passed first.
  bool WaitForRecords(size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForPosts(size_t count, std::chrono::milliseconds timeout) const;

 private:
  struct Impl;
  void HandlePost(const std::string& body, int& status, std::string& reply);

  std::string path_;
  int port_ = 0;
  std::unique_ptr<Impl> impl_;
  std::thread thread_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  int status_ = 200;
  std::vector<int> pattern_;
  size_t patternPosts_ = 0;
  RecordSink sink_;
  std::function<void()> postHook_;
  std::vector<std::string> records_;
  std::vector<std::vector<std::string>> batches_;
  std::vector<std::string> bodies_;
};

}  // namespace collector
